// Benchmark of one capture (not a test).  Whole-screen captures to JPEG at
// quality 75 and to BMP, timed from the hotkey function to the closed file,
// side by side in this process with their floors:
//   JPEG floor: grab the screen into a 24-bit DIB section, then compress
//       those pixels with the same libjpeg settings into a file;
//   BMP floor: the same grab, then one header and one pixel write.
// Rounds interleave capture and floor, so that the machine's noise falls on
// both alike; the ratio of the medians is what counts.  Each round also
// checks that the capture's file equals the floor's byte for byte.
//
//   capture_bench [rounds] [folder]   timing; copies the last files to folder
//   capture_bench soak [captures]     GDI objects, handles and private memory
//                                     before and after captures in a row in
//                                     every mode, with the cursor on the screen
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/WinHandles.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "capture/JpegErrorManager.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

static const int Quality = 75;

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

// --- the floors ----------------------------------------------------------------

// The screen in a 24-bit bottom-up DIB section.
struct FloorGrab {
    int width, height;
    size_t stride;
    BITMAPINFO info;
    HBITMAP dib = NULL;
    unsigned char* bits = NULL;

    FloorGrab(int w, int h) : width(w), height(h), stride(((size_t)w * 3 + 3) & ~(size_t)3) {
        memset(&info, 0, sizeof(info));
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biSizeImage = (DWORD)(stride * h);
        HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
        HDC memory = CreateCompatibleDC(display);
        void* p = NULL;
        dib = CreateDIBSection(display, &info, DIB_RGB_COLORS, &p, NULL, 0);
        bits = (unsigned char*)p;
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, display, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteDC(display);
        GdiFlush();
    }
    ~FloorGrab() { DeleteObject(dib); }
};

static void FloorBmp(int width, int height, const char* path) {
    FloorGrab grab(width, height);
    BITMAPFILEHEADER file;
    memset(&file, 0, sizeof(file));
    file.bfType = 0x4D42;
    file.bfSize = (DWORD)(sizeof(file) + sizeof(BITMAPINFOHEADER) + grab.stride * height);
    file.bfOffBits = sizeof(file) + sizeof(BITMAPINFOHEADER);
    unsigned char header[54];
    memcpy(header, &file, 14);
    memcpy(header + 14, &grab.info.bmiHeader, 40);
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    WriteFile(h, header, sizeof(header), &written, NULL);
    WriteFile(h, grab.bits, (DWORD)(grab.stride * height), &written, NULL);
    CloseHandle(h);
}

static void FloorJpeg(int width, int height, const char* path) {
    FloorGrab grab(width, height);
    FILE* fp = fopen(path, "wb");
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = InitJpegErrorManager(&err);
    jpeg_create_compress(&cinfo);
    cinfo.image_width = (JDIMENSION)width;
    cinfo.image_height = (JDIMENSION)height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_stdio_dest(&cinfo, fp);
    jpeg_set_quality(&cinfo, Quality, TRUE);
    cinfo.dct_method = JDCT_IFAST;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row((size_t)width * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const unsigned char* src = grab.bits + (size_t)(height - 1 - (int)cinfo.next_scanline) * grab.stride;
        for (int x = 0; x < width; x++) {
            row[3 * x] = src[3 * x + 2];
            row[3 * x + 1] = src[3 * x + 1];
            row[3 * x + 2] = src[3 * x];
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(fp);
}

// --- the captures --------------------------------------------------------------

static void Capture(int useJpeg, int number, int mode = WholeScreen) {
    gCapture.useJpeg = useJpeg;
    gHistory.count = 0;
    gSettings.nextImageNumber = 0;
    gCapture.nextNumber = number;
    if (HandleCaptureHotkey(NULL, NULL, mode) != HotkeyCaptured) {
        fprintf(stderr, "capture failed\n");
        exit(1);
    }
}

struct Series {
    std::vector<double> capture, floor;
    int mismatches = 0;
};

static void Round(Series& s, int useJpeg, int i, int width, int height, const std::string& floorPath) {
    double t0 = Now();
    Capture(useJpeg, i % 2);
    double t1 = Now();
    if (useJpeg)
        FloorJpeg(width, height, floorPath.c_str());
    else
        FloorBmp(width, height, floorPath.c_str());
    double t2 = Now();
    s.capture.push_back(t1 - t0);
    s.floor.push_back(t2 - t1);
    if (ReadFileBytes(gCapture.imageFilePath) != ReadFileBytes(floorPath))
        s.mismatches++;
}

static void Report(const char* name, const Series& s, const std::string& file) {
    printf("  %-5s capture %8.2f ms  floor %8.2f ms  ratio %.2f  (%lu bytes%s)\n", name, Median(s.capture),
           Median(s.floor), Median(s.capture) / Median(s.floor), (unsigned long)ReadFileBytes(file).size(),
           s.mismatches ? ", DIFFERS FROM THE FLOOR'S FILE" : ", same bytes as the floor's");
}

static void PrepareScreen(const TempDir& dir, int width, int height, HWND* screen) {
    *screen = CreateTestWindow("GyrolensBenchScreen", BusyProc, WS_POPUP | WS_VISIBLE, 0, 0, width, height, "bench");
    SetForegroundWindow(*screen);
    PumpMessages(500);
    ResetCaptureState(dir.Path(), "bench");
    gSettings.jpegQuality = Quality;
    gCapture.jpegQuality = Quality;
    gSettings.maxImageNumber = 1; // every capture reuses bench0 / bench1
}

static int RunTiming(int rounds, const char* keep) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    TempDir dir("gyrolens-capture-bench");
    HWND screen;
    PrepareScreen(dir, width, height, &screen);
    std::string floorJpeg = dir.File("floor.jpg"), floorBmp = dir.File("floor.bmp");
    Series jpeg, bmp, warm;
    // Warm up (page cache, first-use costs), then measure.
    for (int i = 0; i < 2; i++) {
        Round(warm, 1, i, width, height, floorJpeg);
        Round(warm, 0, i, width, height, floorBmp);
    }
    std::string jpegFile, bmpFile;
    for (int i = 0; i < rounds; i++) {
        Round(jpeg, 1, i, width, height, floorJpeg);
        jpegFile = gCapture.imageFilePath;
        Round(bmp, 0, i, width, height, floorBmp);
        bmpFile = gCapture.imageFilePath;
    }
    printf("screen %d x %d, %d rounds, medians:\n", width, height, rounds);
    Report("JPEG", jpeg, jpegFile);
    Report("BMP", bmp, bmpFile);
    if (keep) {
        CopyFileA(jpegFile.c_str(), (std::string(keep) + "\\capture.jpg").c_str(), FALSE);
        CopyFileA(bmpFile.c_str(), (std::string(keep) + "\\capture.bmp").c_str(), FALSE);
    }
    DestroyWindow(screen);
    return jpeg.mismatches || bmp.mismatches ? 1 : 0;
}

// --- the soak ------------------------------------------------------------------

struct ProcessUse {
    DWORD gdiObjects, userObjects, handles;
    size_t privateBytes;
};

// Kernel handles of this process.  Wine's GetProcessHandleCount answers 0:
// then the handle values are probed one by one.
static DWORD HandleCount() {
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0)
        return n;
    for (UINT_PTR h = 4; h < 0x10000; h += 4) {
        DWORD flags;
        if (GetHandleInformation((HANDLE)h, &flags))
            n++;
    }
    return n;
}

static ProcessUse MeasureUse() {
    ProcessUse u;
    u.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    u.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    u.handles = HandleCount();
    PROCESS_MEMORY_COUNTERS_EX pmc;
    memset(&pmc, 0, sizeof(pmc));
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&pmc, sizeof(pmc));
    // Wine leaves PrivateUsage 0; its PagefileUsage is the private commit.
    u.privateBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return u;
}

// GDI handles of this process that are alive.  Wine's GetGuiResources
// answers 0, so the process's GDI handle table (the PEB's
// GdiSharedHandleTable, 24-byte entries whose bytes 12-13 are the upper half
// of the handle) is walked and each handle asked for its type.
static int LiveGdiHandles() {
    typedef LONG(WINAPI * QueryProcess)(HANDLE, int, void*, ULONG, ULONG*);
    QueryProcess query = (QueryProcess)(void*)GetProcAddress(GetModuleHandleA("ntdll.dll"),
                                                              "NtQueryInformationProcess");
    void* basic[6] = {}; // PROCESS_BASIC_INFORMATION: the PEB's address is its second member
    if (!query || query(GetCurrentProcess(), 0, basic, sizeof(basic), NULL) != 0 || !basic[1])
        return -1;
    const unsigned char* table = *(const unsigned char* const*)((const char*)basic[1] + 0xF8);
    if (!table)
        return -1;
    int n = 0;
    for (UINT_PTR index = 1; index < 0x10000; index++) {
        USHORT upper;
        memcpy(&upper, table + index * 24 + 12, sizeof(upper));
        if (upper && GetObjectType((HGDIOBJ)(index | (UINT_PTR)upper << 16)))
            n++;
    }
    return n;
}

static void PrintUse(const char* when, const ProcessUse& u, int live) {
    printf("  %-6s GDI objects %lu (live GDI handles %d), USER objects %lu, handles %lu, private %.1f MB\n", when,
           (unsigned long)u.gdiObjects, live, (unsigned long)u.userObjects, (unsigned long)u.handles,
           u.privateBytes / 1048576.0);
}

static int RunSoak(int captures) {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    TempDir dir("gyrolens-capture-soak");
    HWND screen;
    PrepareScreen(dir, width, height, &screen);
    SetCursorPos(width / 2, height / 2);
    // One capture of each mode and format first, so that what lives for the
    // whole run (the last bitmap, the first allocations) is there.
    for (int i = 0; i < 2 * CaptureModeCount; i++)
        Capture(i % 2, i % 2, FirstCaptureMode + i / 2);
    ProcessUse before = MeasureUse();
    int liveBefore = LiveGdiHandles();
    double start = Now();
    // Every mode in turn, each marking drawn, JPEG and BMP alternating.
    for (int i = 0; i < captures; i++)
        Capture(i / CaptureModeCount % 2 == 0, i % 2, FirstCaptureMode + i % CaptureModeCount);
    double elapsed = Now() - start;
    ProcessUse after = MeasureUse();
    int liveAfter = LiveGdiHandles();
    printf("screen %d x %d, %d captures in a row (all eight modes, JPEG and BMP), %.1f ms each:\n", width, height,
           captures, elapsed / captures);
    PrintUse("before", before, liveBefore);
    PrintUse("after", after, liveAfter);
    DestroyWindow(screen);
    bool grew = after.gdiObjects > before.gdiObjects || liveAfter > liveBefore || after.handles > before.handles ||
                after.privateBytes > before.privateBytes + 1048576;
    printf("  %s\n", grew ? "GROWTH" : "no growth");
    return grew ? 1 : 0;
}

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "soak") == 0)
        return RunSoak(argc > 2 ? atoi(argv[2]) : 1000);
    int rounds = argc > 1 ? atoi(argv[1]) : 15;
    return RunTiming(rounds > 0 ? rounds : 15, argc > 2 ? argv[2] : NULL);
}
