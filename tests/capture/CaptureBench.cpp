// Benchmark of one capture (not a test): whole-screen captures to JPEG at
// quality 75 and to BMP, timed from the hotkey function to the closed file,
// against libjpeg-turbo's own cjpeg compressing a BMP of the same screen
// (-quality 75 -dct fast -baseline), run under the same Wine.  Also reports
// the peak memory a capture adds.
//
//   capture_bench <path of cjpeg.exe> [rounds]
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

static double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart * 1000.0 / (double)f.QuadPart;
}

static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Screen content with edges and gradients, closer to real windows than a
// flat colour and harder than the desktop's black.
static COLORREF Busy(int x, int y) {
    int cell = ((x / 40) + (y / 24)) % 5;
    switch (cell) {
    case 0:
        return RGB(240, 240, 240);
    case 1:
        return RGB(x % 256, y % 256, 128);
    case 2:
        return (x % 8 < 4) == (y % 8 < 4) ? RGB(20, 20, 20) : RGB(250, 250, 250);
    case 3:
        return RGB(30, 90 + (x + y) % 120, 200);
    default:
        return PatternColor(x, y);
    }
}

static LRESULT CALLBACK BusyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT)
        return DefWindowProcA(hwnd, msg, wp, lp);
    PaintPicture(hwnd, Busy);
    return 0;
}

static double RunProcess(const std::string& commandLine) {
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!CreateProcessA(NULL, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double elapsed = Now() - start;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return elapsed;
}

static size_t PeakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS pmc;
    memset(&pmc, 0, sizeof(pmc));
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc.PeakPagefileUsage;
}

static std::vector<double> TimeCaptures(int rounds, int useJpeg) {
    gCapture.useJpeg = useJpeg;
    std::vector<double> times;
    for (int i = 0; i < rounds; i++) {
        gHistory.count = 0;
        gSettings.nextImageNumber = 0;
        gCapture.nextNumber = i % 2;
        double start = Now();
        if (HandleCaptureHotkey(NULL, NULL, WholeScreen) != HotkeyCaptured) {
            fprintf(stderr, "capture failed\n");
            exit(1);
        }
        times.push_back(Now() - start);
    }
    return times;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: capture_bench <cjpeg.exe> [rounds]\n");
        return 2;
    }
    std::string cjpeg = argv[1];
    int rounds = argc > 2 ? atoi(argv[2]) : 15;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);

    HWND screen = CreateTestWindow("GyrolensBenchScreen", BusyProc, WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                   "bench");
    SetForegroundWindow(screen);
    PumpMessages(500);

    TempDir dir("gyrolens-capture-bench");
    ResetCaptureState(dir.Path(), "bench");
    gSettings.jpegQuality = 75;
    gCapture.jpegQuality = 75;
    gSettings.maxImageNumber = 1; // every capture reuses bench0 / bench1

    // Warm up (page cache, first-use costs), then measure.
    TimeCaptures(2, 1);
    size_t before = PeakPrivateBytes();
    std::vector<double> jpeg = TimeCaptures(rounds, 1);
    size_t peakJpeg = PeakPrivateBytes();
    std::string jpegPath = gCapture.imageFilePath;
    std::vector<double> bmp = TimeCaptures(rounds, 0);
    std::string bmpPath = gCapture.imageFilePath;

    std::string out = dir.File("cjpeg.jpg");
    std::string command = "\"" + cjpeg + "\" -quality 75 -dct fast -baseline -outfile \"" + out + "\" \"" + bmpPath + "\"";
    std::string empty = "\"" + cjpeg + "\" -version";
    RunProcess(command);
    std::vector<double> cjpegTimes, startTimes;
    for (int i = 0; i < rounds; i++) {
        cjpegTimes.push_back(RunProcess(command));
        startTimes.push_back(RunProcess(empty));
    }
    size_t imageSize = (size_t)((width * 3 + 3) & ~3) * height;

    printf("screen %d x %d, %d rounds, medians:\n", width, height, rounds);
    printf("  capture to JPEG q75: %8.2f ms  (%lu bytes)\n", Median(jpeg), (unsigned long)ReadFileBytes(jpegPath).size());
    printf("  capture to BMP:      %8.2f ms\n", Median(bmp));
    printf("  cjpeg on the BMP:    %8.2f ms  (%lu bytes), of which starting a process: %.2f ms\n",
           Median(cjpegTimes), (unsigned long)ReadFileBytes(out).size(), Median(startTimes));
    double cjpegWork = Median(cjpegTimes) - Median(startTimes);
    printf("  JPEG capture / cjpeg: %.2f (with cjpeg's process start), %.2f (without)\n",
           Median(jpeg) / Median(cjpegTimes), cjpegWork > 0 ? Median(jpeg) / cjpegWork : 0.0);
    printf("  peak memory added by JPEG captures: %.1f MB (image buffer %.1f MB + bitmap %.1f MB)\n",
           (double)(peakJpeg > before ? peakJpeg - before : 0) / 1048576.0, imageSize / 1048576.0,
           (double)width * height * 4 / 1048576.0);
    DestroyWindow(screen);
    return 0;
}
