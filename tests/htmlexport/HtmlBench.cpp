// Benchmark of the HTML export (not a test; run by tools/bench-html.sh):
// exports a full history of 1000 records, images img0000.jpg .. img0999.jpg
// and texts text0000.txt .. text0999.txt in <source folder>, as 20 records per
// page and 4 per row into <output folder>, and prints the time it took.
// With "nocopy" the images are not copied, which shows what the pages and
// the included texts cost on their own.
//
//   html_bench.exe <source folder> <output folder> [nocopy]
#include <windows.h>

#include <stdio.h>
#include <string.h>

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

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        fprintf(stderr, "usage: html_bench <source folder> <output folder> [nocopy]\n");
        return 2;
    }
    SetMessageBoxHook(NoBoxes);
    FillHistory(argv[1]);
    gSettings.htmlPerRow = 4;
    gSettings.htmlNoImageCopy = argc == 4 && strcmp(argv[3], "nocopy") == 0;
    gSettings.htmlBackColor = 0x00FFFFFF;
    gSettings.htmlFrameColor = 0x00E0E0E0;
    SetJob(0, 20, 120, -1, argv[2], "page");

    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    bool done = GeneratePages(NULL);
    QueryPerformanceCounter(&t1);
    if (!done)
        return 1;
    printf("export_ms=%.1f\n", (double)(t1.QuadPart - t0.QuadPart) * 1000.0 / (double)freq.QuadPart);
    return 0;
}
