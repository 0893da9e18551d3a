#include "tests/capture/CaptureTestSupport.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "base/ByteString.h"
#include "capture/CaptureContext.h"
#include "capture/JpegErrorManager.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

COLORREF PatternColor(int x, int y) {
    return RGB(64 + (x * 7) % 191, 64 + (y * 5) % 191, 64 + ((x + y) * 3) % 191);
}

uint32_t Rgb(COLORREF c) {
    return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}

std::vector<uint32_t> Pixels(int width, int height, COLORREF (*colour)(int, int)) {
    std::vector<uint32_t> px((size_t)width * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            px[(size_t)y * width + x] = Rgb(colour(x, y));
    return px;
}

void PaintPicture(HWND hwnd, COLORREF (*colour)(int, int)) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    if (r.right > 0 && r.bottom > 0) {
        BITMAPINFO bi = TopDown32(r.right, r.bottom);
        std::vector<uint32_t> px = Pixels(r.right, r.bottom, colour);
        SetDIBitsToDevice(dc, 0, 0, r.right, r.bottom, 0, 0, 0, r.bottom, px.data(), &bi, DIB_RGB_COLORS);
    }
    EndPaint(hwnd, &ps);
}

static LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintPicture(hwnd, PatternColor);
        return 0;
    }
    if (msg == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND CreateTestWindow(const char* className, WNDPROC proc, DWORD style, int x, int y, int width, int height,
                      const char* title) {
    WNDCLASSA wc;
    if (!GetClassInfoA(GetModuleHandleA(NULL), className, &wc)) {
        memset(&wc, 0, sizeof(wc));
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, className, title, style, x, y, width, height, NULL, NULL, GetModuleHandleA(NULL),
                           NULL);
}

void ResetCaptureState(const std::string& folder, const char* prefix) {
    SetDefaultSettings(gSettings, folder.c_str());
    CopyText(gSettings.imageFolder, countof(gSettings.imageFolder), folder.c_str());
    CopyText(gSettings.imagePrefix, countof(gSettings.imagePrefix), prefix);
    InitHistoryList(gHistory, folder.c_str());
    ResetCaptureContext(gCapture);
    CopyFileSettingsToCapture(gCapture, gSettings, gHistory.historyFolder);
}

PatternWindow::PatternWindow(int x, int y, int width, int height, DWORD style, const char* title) {
    hwnd = CreateTestWindow("GyrolensTestPattern", PatternProc, style | WS_VISIBLE, x, y, width, height, title);
    PumpMessages(30);
}

PatternWindow::~PatternWindow() {
    DestroyWindow(hwnd);
    PumpMessages(30);
}

HWND PatternWindow::AddButton(int x, int y, int width, int height) {
    HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, height,
                                  hwnd, NULL, GetModuleHandleA(NULL), NULL);
    PumpMessages(30);
    return button;
}

RECT PatternWindow::WindowRect() const {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

void PatternWindow::BringToFront() {
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Wait until the display shows the client area's first visible pixel.
    POINT origin = { 0, 0 };
    ClientToScreen(hwnd, &origin);
    int cx = origin.x < 0 ? -origin.x : 0, cy = origin.y < 0 ? -origin.y : 0;
    HDC screen = GetDC(NULL);
    for (int i = 0; i < 200; i++) {
        PumpMessages(10);
        if (GetPixel(screen, origin.x + cx, origin.y + cy) == PatternColor(cx, cy) &&
            GetForegroundWindow() == hwnd)
            break;
    }
    ReleaseDC(NULL, screen);
    PumpMessages(20);
}

Image ReadBmpFile(const std::string& path) {
    Image img;
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return img;
    const unsigned char* p = (const unsigned char*)bytes.data();
    auto u32 = [&](int off) { return (uint32_t)p[off] | (uint32_t)p[off + 1] << 8 | (uint32_t)p[off + 2] << 16 |
                                     (uint32_t)p[off + 3] << 24; };
    int w = (int)u32(18), h = (int)u32(22);
    if (w <= 0 || h <= 0 || p[28] != 24)
        return img;
    uint32_t stride = ((uint32_t)w * 3 + 3) & ~3u;
    if (bytes.size() < 54 + (size_t)stride * h)
        return img;
    img.width = w;
    img.height = h;
    img.pixels.resize((size_t)w * h);
    for (int y = 0; y < h; y++) {
        const unsigned char* row = p + 54 + (size_t)(h - 1 - y) * stride;
        for (int x = 0; x < w; x++)
            img.pixels[(size_t)y * w + x] = (uint32_t)row[x * 3 + 2] << 16 | (uint32_t)row[x * 3 + 1] << 8 | row[x * 3];
    }
    return img;
}

// Decoding with the program's error manager: a damaged file must fail the
// test, not end the test program.
static bool DecodeJpeg(FILE* fp, Image& img) {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    std::vector<unsigned char> row; // before setjmp: the jump must not skip its destructor
    cinfo.err = InitJpegErrorManager(&err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, fp);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    img.width = (int)cinfo.output_width;
    img.height = (int)cinfo.output_height;
    img.pixels.resize((size_t)img.width * img.height);
    row.resize((size_t)img.width * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = (int)cinfo.output_scanline;
        JSAMPROW rows[1] = { row.data() };
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < img.width; x++)
            img.pixels[(size_t)y * img.width + x] =
                (uint32_t)row[x * 3] << 16 | (uint32_t)row[x * 3 + 1] << 8 | row[x * 3 + 2];
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

Image ReadJpegFile(const std::string& path) {
    Image img;
    FILE* fp = fopen(path.c_str(), "rb");
    if (!fp)
        return img;
    if (!DecodeJpeg(fp, img))
        img = Image();
    fclose(fp);
    return img;
}

Image ScreenImage(int x, int y, int width, int height) {
    return GrabScreenRect({ x, y, x + width, y + height });
}

double Psnr(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty())
        return 0;
    double sum = 0;
    for (size_t i = 0; i < a.pixels.size(); i++) {
        for (int shift = 0; shift < 24; shift += 8) {
            int d = (int)((a.pixels[i] >> shift) & 255) - (int)((b.pixels[i] >> shift) & 255);
            sum += d * d;
        }
    }
    if (sum == 0)
        return 1e9;
    double mse = sum / (a.pixels.size() * 3.0);
    return 10.0 * log10(255.0 * 255.0 / mse);
}

int PatternMismatches(const Image& img, int dx, int dy, RECT area) {
    int bad = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (img.At(x, y) != Rgb(PatternColor(x - dx, y - dy)))
                bad++;
    return bad;
}

bool IsPureRed(uint32_t px) {
    return px == 0xFF0000;
}

int CountColour(const Image& img, uint32_t rgb, RECT area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (img.At(x, y) == rgb)
                n++;
    return n;
}

bool XdotoolOnDisplay(const std::string& arguments) {
    // Wine starts Unix programs as well; xdotool sends real X input events.
    std::string command = "Z:\\usr\\bin\\xdotool " + arguments;
    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return true;
}

bool PressKeysOnDisplay(const char* keys) {
    return XdotoolOnDisplay(std::string("key --clearmodifiers ") + keys);
}
