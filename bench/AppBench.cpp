// Benchmarks of the program a user starts (not tests), each against a floor
// measured in the same run under the same Wine:
//   start-up: from process start to the main window shown and painted,
//             against a minimal Win32 window program started the same way;
//   hotkey:   from WM_HOTKEY to the new row painted, against the capture
//             engine's CaptureImage alone (whole screen, JPEG, BMP and
//             PNG); and on to the preview loaded and painted after it.
//
//   app_bench <Gyrolens.exe> <minimal.exe> <work folder> [rounds]
//
// Last, the recovery copy of a 1000-record history (the list and its note)
// against the history save of the same list.  The hotkey rounds keep
// recovery copies as the program does: the change's copy is due from a
// timer, which fires outside the timed stretch.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/MainLayout.h"
#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "capture/CaptureContext.h"
#include "capture/ScreenCapture.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecovery.h"
#include "history/HistoryView.h"
#include "settings/Settings.h"
#include "tests/support/GuiTestSupport.h"
#include "bench/BenchClock.h"
#include "bench/BenchHistory.h"

struct Search {
    DWORD process;
    HWND found;
};

static BOOL CALLBACK FindShown(HWND hwnd, LPARAM data) {
    Search* s = (Search*)data;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->process && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds from CreateProcess to a visible top-level window of the
// process with nothing left to paint; the program is then closed.
static double TimeStart(const std::string& exe, const std::string& folder) {
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double t0 = NowMs();
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &si, &pi))
        return -1;
    Search s = { pi.dwProcessId, NULL };
    double t1 = -1;
    for (int spins = 0; spins < 200000; spins++) {
        if (!s.found)
            EnumWindows(FindShown, (LPARAM)&s);
        if (s.found && !GetUpdateRect(s.found, NULL, FALSE)) {
            t1 = NowMs();
            break;
        }
        Sleep(0);
    }
    if (s.found)
        PostMessageA(s.found, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return t1 < 0 ? -1 : t1 - t0;
}

static void BenchStartup(const std::string& gyrolens, const std::string& minimal, const std::string& folder,
                         int rounds) {
    std::vector<double> app, floor;
    TimeStart(minimal, folder); // Wine's caches warm for both
    TimeStart(gyrolens, folder);
    for (int i = 0; i < rounds; i++) {
        floor.push_back(TimeStart(minimal, folder));
        app.push_back(TimeStart(gyrolens, folder));
    }
    double a = Median(app), f = Median(floor);
    printf("start-up: Gyrolens %.1f ms, minimal window %.1f ms, ratio %.2f (target <= 1.5)\n", a, f, a / f);
}

static void ResetHistory() {
    ClearAll();
    gHistory.modified = 0;
}

static void TimeHotkey(int format, int rounds);

static void BenchHotkey(const std::string& folder, int rounds) {
    CopyText(gSettings.imageFolder, countof(gSettings.imageFolder), folder.c_str());
    CopyText(gSettings.imagePrefix, countof(gSettings.imagePrefix), "bench");
    gSettings.jpegMode = 1;
    gSettings.jpegQuality = 75;
    gSettings.imageFolderMode = 0;
    gSettings.confirmOverwrite = 0;
    gSettings.autoSaveHistory = 0;
    gSettings.nextImageNumber = 1;
    gSettings.maxImageNumber = 999999;
    if (!StartShell(GetModuleHandleA(NULL), SW_SHOW)) {
        printf("hotkey: no main window\n");
        return;
    }
    StartRecovery(folder.c_str());
    PumpFor(200);
    for (int format : { ImageJpeg, ImageBmp, ImagePng })
        TimeHotkey(format, rounds);
    gHistory.modified = 0;
    DestroyWindow(gShell.hwndMain);
}

// Every message waiting is handled (the posted preview reload among them),
// then the preview paints.
static void DrainAndPaintPreview() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UpdateWindow(gLayout.historyPane.preview);
}

static void TimeHotkey(int format, int rounds) {
    static const char* const names[] = { "BMP", "JPEG", "PNG" };
    gSettings.jpegMode = format;
    gCapture.imageFormat = (ImageFormat)format;
    std::vector<double> toRow, toPreview, capture;
    // Captures in a row, as a user presses the key again and again: each
    // adds its row below the last.
    ResetHistory();
    for (int i = 0; i < rounds + 1; i++) {
        PumpFor(50);
        double t0 = NowMs();
        CaptureImage(gCapture, gLayout.historyPane.listHost, 103);
        double t1 = NowMs();
        PumpFor(50);
        double t2 = NowMs();
        // The handler paints the new row before it returns.
        SendMessageA(gShell.hwndMain, WM_HOTKEY, 103, 0);
        double tr = NowMs();
        DrainAndPaintPreview();
        double tp = NowMs();
        if (getenv("BENCH_DETAIL"))
            printf("  row %.1f preview %.1f\n", tr - t2, tp - tr);
        if (i == 0)
            continue; // warm-up
        capture.push_back(t1 - t0);
        toRow.push_back(tr - t2);
        toPreview.push_back(tp - t2);
    }
    double r = Median(toRow), p = Median(toPreview), c = Median(capture);
    printf("hotkey to row (%s): %.1f ms, CaptureImage %.1f ms, ratio %.2f (target <= 1.1); "
           "with the preview shown %.1f ms, ratio %.2f\n",
           names[format], r, c, r / c, p, p / c);
}

static void BenchRecovery(const std::string& folder, int rounds) {
    static HistoryList list;
    InitHistoryList(list, folder.c_str());
    FillLongestHistory(list);
    std::string path = folder + "\\bench.csv";
    BindHistoryFile(list, path.c_str(), "bench.csv");
    std::vector<double> copies, saves;
    for (int i = 0; i < rounds + 1; i++) {
        double t0 = NowMs();
        bool saved = WriteHistoryFile(list, NULL) == 1;
        double t1 = NowMs();
        bool copied = WriteRecoveryCopy(list, folder.c_str());
        double t2 = NowMs();
        if (!saved || !copied) {
            printf("recovery: a write failed\n");
            return;
        }
        if (i == 0)
            continue; // warm-up
        saves.push_back(t1 - t0);
        copies.push_back(t2 - t1);
    }
    RemoveRecoveryCopy(folder.c_str());
    DeleteFileA(path.c_str());
    double c = Median(copies), s = Median(saves);
    printf("recovery copy (1000 records): %.2f ms, history save %.2f ms, ratio %.2f (target <= 1.2)\n", c, s, c / s);
}

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: app_bench <Gyrolens.exe> <minimal.exe> <work folder> [rounds]\n");
        return 2;
    }
    int rounds = argc > 4 ? atoi(argv[4]) : 9;
    printf("screen %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    BenchStartup(argv[1], argv[2], argv[3], rounds);
    BenchHotkey(argv[3], rounds);
    BenchRecovery(argv[3], rounds * 3);
    return 0;
}
