// Benchmark of one capture (not a test).  Whole-screen captures to JPEG at
// quality 75, to BMP and to PNG, timed from the hotkey function to the
// closed file, side by side in this process with their floors:
//   JPEG floor: grab the screen into a 24-bit DIB section, then compress
//       those pixels with the same libjpeg settings into a file;
//   BMP floor: the same grab, then one header and one pixel write;
//   PNG floor: the same grab, then the same libpng encoding and one write.
// The screen shows a desktop drawn here: windows with title bars, lines of
// text, toolbars, flat panels and a photo-like area.
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
#include "bench/BenchClock.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "capture/JpegErrorManager.h"
#include "capture/PngEncoder.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

static const int Quality = 75;

// Screen content like a desktop: windows with title bars, lines of text,
// toolbars and flat panels, and one photo-like area with gradients.
static COLORREF Photo(int x, int y) {
    return RGB((x * 7 + y * 3) % 256, (x * y / 64) % 256, 128 + (x - y) % 100);
}

static void PaintWindowLike(HDC dc, RECT r, int seed) {
    HBRUSH client = CreateSolidBrush(RGB(255, 255, 255)), title = CreateSolidBrush(RGB(0, 84, 166 + seed % 40));
    FillRect(dc, &r, client);
    RECT bar = { r.left, r.top, r.right, r.top + 24 };
    FillRect(dc, &bar, title);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, r.left + 8, r.top + 4, "Document - Editor", 17);
    for (int i = 0; i < 12; i++) {
        RECT tool = { r.left + 6 + i * 26, r.top + 30, r.left + 28 + i * 26, r.top + 52 };
        HBRUSH b = CreateSolidBrush(RGB((i * 40 + seed) % 256, (i * 90) % 256, (i * 150 + seed) % 256));
        FillRect(dc, &tool, b);
        DeleteObject(b);
    }
    SetTextColor(dc, RGB(20, 20, 20));
    static const char* const lines[] = {
        "int CaptureImage(CaptureContext& ctx, HWND owner, int mode) {",
        "    if (!CheckImageNumberLeft(owner)) return 0; // refused",
        "The quick brown fox jumps over the lazy dog 0123456789",
        "    const char* path = NextImageFilePath(ctx);",
        "Lorem ipsum dolor sit amet, consectetur adipiscing elit.",
    };
    for (int y = r.top + 60, i = seed; y + 16 < r.bottom; y += 17, i++)
        TextOutA(dc, r.left + 10, y, lines[i % 5], (int)strlen(lines[i % 5]) - (i * 7) % 20);
    DeleteObject(client);
    DeleteObject(title);
}

static void PaintDesktop(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT all;
    GetClientRect(hwnd, &all);
    HBRUSH back = CreateSolidBrush(RGB(0, 110, 120));
    FillRect(dc, &all, back);
    DeleteObject(back);
    int w = all.right, h = all.bottom;
    RECT windows[] = {
        { w / 20, h / 20, w * 11 / 20, h * 13 / 20 },
        { w * 9 / 20, h / 8, w * 19 / 20, h * 7 / 10 },
        { w / 10, h * 11 / 20, w * 3 / 5, h * 19 / 20 },
    };
    for (int i = 0; i < 3; i++)
        PaintWindowLike(dc, windows[i], i * 3);
    int px = w * 13 / 20, py = h * 3 / 4, pw = w * 3 / 10, ph = h / 5;
    BITMAPINFO bi = TopDown32(pw, ph);
    std::vector<uint32_t> photo = Pixels(pw, ph, Photo);
    SetDIBitsToDevice(dc, px, py, pw, ph, 0, 0, 0, ph, photo.data(), &bi, DIB_RGB_COLORS);
    RECT taskbar = { 0, h - 30, w, h };
    FillRect(dc, &taskbar, (HBRUSH)GetStockObject(LTGRAY_BRUSH));
    EndPaint(hwnd, &ps);
}

static LRESULT CALLBACK DesktopProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_PAINT)
        return DefWindowProcA(hwnd, msg, wp, lp);
    PaintDesktop(hwnd);
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

static void FloorPng(int width, int height, const char* path) {
    FloorGrab grab(width, height);
    PngBytes png = EncodePng(grab.bits, width, height, grab.stride);
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    WriteFile(h, png.data, (DWORD)png.size, &written, NULL);
    SetEndOfFile(h);
    CloseHandle(h);
    free(png.data);
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

static void Capture(ImageFormat format, int number, int mode = WholeScreen) {
    gCapture.imageFormat = format;
    gHistory.count = 0;
    gSettings.nextImageNumber = 0;
    gCapture.nextNumber = number;
    if (HandleCaptureHotkey(NULL, NULL, mode) != HotkeyCaptured) {
        fprintf(stderr, "capture failed\n");
        exit(1);
    }
}

typedef void (*FloorCapture)(int width, int height, const char* path);

struct Series {
    Series(const char* n, ImageFormat f, FloorCapture fl, const std::string& path)
        : name(n), format(f), floor(fl), floorPath(path) {}
    const char* name;
    ImageFormat format;
    FloorCapture floor;
    std::string floorPath;
    std::vector<double> capture, floorTimes;
    int mismatches = 0;
    std::string file;
};

static void Round(Series& s, int i, int width, int height) {
    double t0 = NowMs();
    Capture(s.format, i % 2);
    double t1 = NowMs();
    s.floor(width, height, s.floorPath.c_str());
    double t2 = NowMs();
    s.capture.push_back(t1 - t0);
    s.floorTimes.push_back(t2 - t1);
    s.file = gCapture.imageFilePath;
    if (ReadFileBytes(s.file) != ReadFileBytes(s.floorPath))
        s.mismatches++;
}

static void Report(const Series& s, size_t bmpSize) {
    size_t size = ReadFileBytes(s.file).size();
    printf("  %-5s capture %8.2f ms  floor %8.2f ms  ratio %.2f  (%lu bytes, %.1f%% of the BMP%s)\n", s.name,
           Median(s.capture), Median(s.floorTimes), Median(s.capture) / Median(s.floorTimes), (unsigned long)size,
           100.0 * size / bmpSize, s.mismatches ? ", DIFFERS FROM THE FLOOR'S FILE" : ", same bytes as the floor's");
}

static void PrepareScreen(const TempDir& dir, int width, int height, HWND* screen) {
    *screen = CreateTestWindow("GyrolensBenchScreen", DesktopProc, WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                               "bench");
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
    Series series[] = {
        { "JPEG", ImageJpeg, FloorJpeg, dir.File("floor.jpg") },
        { "BMP", ImageBmp, FloorBmp, dir.File("floor.bmp") },
        { "PNG", ImagePng, FloorPng, dir.File("floor.png") },
    };
    // Warm up (page cache, first-use costs), then measure.
    for (int i = 0; i < 2; i++)
        for (Series& s : series)
            Round(s, i, width, height);
    int mismatches = 0;
    for (Series& s : series) {
        s.capture.clear();
        s.floorTimes.clear();
        s.mismatches = 0;
    }
    for (int i = 0; i < rounds; i++)
        for (Series& s : series)
            Round(s, i, width, height);
    printf("screen %d x %d, %d rounds, medians:\n", width, height, rounds);
    size_t bmpSize = ReadFileBytes(series[1].file).size();
    for (Series& s : series) {
        Report(s, bmpSize);
        mismatches += s.mismatches;
        if (keep)
            CopyFileA(s.file.c_str(), (std::string(keep) + "\\capture" + strrchr(s.file.c_str(), '.')).c_str(),
                      FALSE);
    }
    DestroyWindow(screen);
    return mismatches ? 1 : 0;
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
    for (int i = 0; i < 3 * CaptureModeCount; i++)
        Capture((ImageFormat)(i % 3), i % 2, FirstCaptureMode + i / 3);
    ProcessUse before = MeasureUse();
    int liveBefore = LiveGdiHandles();
    double start = NowMs();
    // Every mode in turn, each marking drawn, JPEG, BMP and PNG in turn.
    for (int i = 0; i < captures; i++)
        Capture((ImageFormat)(i / CaptureModeCount % 3), i % 2, FirstCaptureMode + i % CaptureModeCount);
    double elapsed = NowMs() - start;
    ProcessUse after = MeasureUse();
    int liveAfter = LiveGdiHandles();
    printf("screen %d x %d, %d captures in a row (all eight modes, JPEG, BMP and PNG), %.1f ms each:\n", width, height,
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
