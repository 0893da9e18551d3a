// Benchmark of the HTML export (not a test; run by tools/bench-html.sh):
// exports a full history of 1000 records, images img0000.jpg .. img0999.jpg
// and texts text0000.txt .. text0999.txt in <source folder>, as 20 records per
// page and 4 per row into <output folder>, and prints the time it took.
// With "nocopy" the images are not copied, which shows what the pages and
// the included texts cost on their own.
//
// With "floor", the export is measured beside its floor in the same process:
// the same 1000 CopyFileA calls and the same page bytes written with one
// CreateFileA and one WriteFile per page, which is the least any exporter
// must do under this Wine.  The page bytes come from an untimed export
// without copies first (it also brings the texts into the cache for both).
// Each side runs twice, in the order E F F E ("export-first") or F E E F
// ("floor-first"); the script alternates them.  Both wall-clock and
// processor times are printed, as the mean of the two runs of each side.
//
//   html_bench.exe <source folder> <output folder> [nocopy]
//   html_bench.exe <source folder> <output folder> floor export-first|floor-first
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "history/HistoryFile.h"
#include "htmlexport/HtmlExport.h"
#include "settings/Settings.h"

static int NoBoxes(HWND, const char* text, const char* caption, UINT) {
    fprintf(stderr, "unexpected message box: [%s] %s\n", caption, text);
    return IDCANCEL;
}

static void FillHistory(const char* source) {
    InitHistoryList(gHistory, source);
    for (int i = 0; i < MaxHistoryRecords; i++) {
        HistoryRecord& r = gHistory.records[i];
        FormatText(r.dateTime, countof(r.dateTime), "2024/01/02 03:04:%02d", i % 60);
        FormatText(r.comment, countof(r.comment), "記録 %04d", i);
        FormatText(r.imagePath, countof(r.imagePath), "%s\\img%04d.jpg", source, i);
        FormatText(r.textPath, countof(r.textPath), "text%04d.txt", i);
        r.inHistoryFolder = 0;
    }
    gHistory.count = MaxHistoryRecords;
}

// Wall-clock time, and the processor time of this process (user and
// kernel), which other programs on a busy machine do not add to.
struct Clock {
    double wallMs;
    double cpuMs;
};

static Clock Now() {
    LARGE_INTEGER freq, t;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = { { kernel.dwLowDateTime, kernel.dwHighDateTime } };
    ULARGE_INTEGER u = { { user.dwLowDateTime, user.dwHighDateTime } };
    return { (double)t.QuadPart * 1000.0 / (double)freq.QuadPart, (double)(k.QuadPart + u.QuadPart) / 10000.0 };
}

static Clock Since(const Clock& start) {
    Clock now = Now();
    return { now.wallMs - start.wallMs, now.cpuMs - start.cpuMs };
}

const Clock Failed = { -1.0, -1.0 };

// One export into `folder`; its times, or negative ones on failure.
static Clock TimeExport(const std::string& folder, bool copyImages) {
    CreateDirectoryA(folder.c_str(), NULL);
    gSettings.htmlNoImageCopy = copyImages ? 0 : 1;
    SetJob(0, 20, 120, -1, folder.c_str(), "page");
    Clock start = Now();
    bool done = GeneratePages(NULL);
    Clock took = Since(start);
    return done ? took : Failed;
}

static std::vector<std::string> ReadPages(const std::string& folder) {
    std::vector<std::string> pages;
    for (int n = 1;; n++) {
        std::string path = folder + "\\page" + std::to_string(n) + ".htm";
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return pages;
        std::string bytes(GetFileSize(h, NULL), '\0');
        DWORD got = 0;
        ReadFile(h, &bytes[0], (DWORD)bytes.size(), &got, NULL);
        CloseHandle(h);
        pages.push_back(bytes);
    }
}

// The floor: every image copied once and every page written in one piece.
static Clock TimeFloor(const char* source, const std::string& folder, const std::vector<std::string>& pages) {
    CreateDirectoryA(folder.c_str(), NULL);
    Clock start = Now();
    for (int i = 0; i < MaxHistoryRecords; i++) {
        char from[MAX_PATH], to[MAX_PATH];
        FormatText(from, countof(from), "%s\\img%04d.jpg", source, i);
        FormatText(to, countof(to), "%s\\img%04d.jpg", folder.c_str(), i);
        CopyFileA(from, to, FALSE);
    }
    for (size_t n = 0; n < pages.size(); n++) {
        std::string path = folder + "\\page" + std::to_string(n + 1) + ".htm";
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return Failed;
        DWORD written = 0;
        WriteFile(h, pages[n].data(), (DWORD)pages[n].size(), &written, NULL);
        CloseHandle(h);
    }
    return Since(start);
}

// Writes what the last side left in the page cache to the disk before the
// next side starts, untimed, so that neither pays for the other's 200 MB.
// Wine starts the host's sync program like any other.
static void SettleDisk() {
    char command[] = "Z:\\bin\\sync";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        fprintf(stderr, "html_bench: cannot run sync (%lu)\n", GetLastError());
        return;
    }
    WaitForSingleObject(process.hProcess, 120000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Export (E) and floor (F) twice each, as E F F E or F E E F, so that a
// machine that slows down or speeds up during the run weighs on both alike.
static int RunBesideFloor(const char* source, const std::string& output, bool exportFirst) {
    std::string prep = output + "\\prep";
    Clock pages = TimeExport(prep, false);
    std::vector<std::string> pageBytes = ReadPages(prep);
    if (pages.wallMs < 0 || pageBytes.empty())
        return 1;
    const char* order = exportFirst ? "EFFE" : "FEEF";
    Clock exportSum = { 0, 0 }, floorSum = { 0, 0 };
    for (int i = 0; i < 4; i++) {
        SettleDisk();
        bool isExport = order[i] == 'E';
        std::string folder = output + (isExport ? "\\export" : "\\floor") + std::to_string(i);
        Clock took = isExport ? TimeExport(folder, true) : TimeFloor(source, folder, pageBytes);
        if (took.wallMs < 0)
            return 1;
        Clock& sum = isExport ? exportSum : floorSum;
        sum.wallMs += took.wallMs / 2;
        sum.cpuMs += took.cpuMs / 2;
    }
    printf("export_ms=%.1f floor_ms=%.1f export_cpu_ms=%.1f floor_cpu_ms=%.1f pages_ms=%.1f\n", exportSum.wallMs,
           floorSum.wallMs, exportSum.cpuMs, floorSum.cpuMs, pages.wallMs);
    return 0;
}

int main(int argc, char** argv) {
    bool floor = argc == 5 && strcmp(argv[3], "floor") == 0;
    if (!floor && (argc < 3 || argc > 4)) {
        fprintf(stderr, "usage: html_bench <source folder> <output folder> [nocopy | floor export-first|floor-first]\n");
        return 2;
    }
    SetMessageBoxHook(NoBoxes);
    FillHistory(argv[1]);
    gSettings.htmlPerRow = 4;
    gSettings.htmlBackColor = 0x00FFFFFF;
    gSettings.htmlFrameColor = 0x00E0E0E0;
    if (floor)
        return RunBesideFloor(argv[1], argv[2], strcmp(argv[4], "export-first") == 0);
    Clock took = TimeExport(argv[2], !(argc == 4 && strcmp(argv[3], "nocopy") == 0));
    if (took.wallMs < 0)
        return 1;
    printf("export_ms=%.1f\n", took.wallMs);
    return 0;
}
