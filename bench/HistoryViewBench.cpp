// Benchmark: opening a history file of 100 and of 1000 typical records in
// the real main window (the open command without its dialog: read the file,
// fill the list view) and painting the list.  Prints median times.  Not a
// test.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"
#include "bench/BenchClock.h"

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)freq.QuadPart;
}

static std::string gOpenPath;

static bool AnswerOpen(OPENFILENAMEA* ofn) {
    CopyText(ofn->lpstrFile, ofn->nMaxFile, gOpenPath.c_str());
    CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, FileNamePart(gOpenPath.c_str()));
    return true;
}

// Records as captures leave them: a stamp, a comment, a history-folder
// image and now and then a text file.
static std::string HistoryFileBytes(int records) {
    std::string csv = HistoryHeaderLine;
    for (int i = 0; i < records; i++) {
        char line[256];
        FormatText(line, countof(line), "2024/01/02 03:%02d:%02d,キャプチャ %d 会議資料の画面,\\cap%d.jpg,%s\r\n",
                   i / 60 % 60, i % 60, i, i, i % 10 == 0 ? "memo.txt" : "");
        csv += line;
    }
    return csv;
}

struct Timing {
    double open;
    double openAndPaint;
};

static Timing TimeOpen(const TempDir& dir, int records, int rounds) {
    gOpenPath = dir.File("bench" + std::to_string(records) + ".csv");
    WriteFileBytes(gOpenPath, HistoryFileBytes(records));
    std::vector<double> open, painted;
    OpenHistory(); // warm-up, not counted
    for (int i = 0; i < rounds; i++) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (!OpenHistory() || gHistory.count != records || ListRowCount() != records)
            exit(1);
        QueryPerformanceCounter(&t1);
        RedrawWindow(gHistoryView.list, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        QueryPerformanceCounter(&t2);
        open.push_back(Milliseconds(t0, t1));
        painted.push_back(Milliseconds(t0, t2));
        PumpFor(20);
    }
    return { Median(open), Median(painted) };
}

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 11;
    TestMainWindow();
    SetFileDialogHooks(AnswerOpen, NULL);
    TempDir dir("gyrolens-bench");
    Timing hundred = TimeOpen(dir, 100, rounds);
    Timing thousand = TimeOpen(dir, 1000, rounds);
    printf("open a history and fill the list view, median of %d rounds:\n", rounds);
    printf("  100 records:  %7.2f ms (painted: %7.2f ms)\n", hundred.open, hundred.openAndPaint);
    printf("  1000 records: %7.2f ms (painted: %7.2f ms)\n", thousand.open, thousand.openAndPaint);
    printf("  growth 100 -> 1000: x%.1f\n", thousand.open / hundred.open);
    return 0;
}
