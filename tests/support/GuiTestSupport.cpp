#include "tests/support/GuiTestSupport.h"

#include <stdint.h>
#include <string.h>

#include <vector>

#include "tests/support/TestSupport.h"

void PumpFor(int ms) {
    DWORD end = GetTickCount() + (DWORD)ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    } while ((int)(end - GetTickCount()) > 0);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
    DWORD end = GetTickCount() + (DWORD)ms;
    while (!done()) {
        if ((int)(end - GetTickCount()) <= 0)
            return false;
        PumpFor(5);
    }
    return true;
}

// --- dialogs -----------------------------------------------------------------

static DialogDriver* gDriver;
enum { DriverTimer = 0x6A71 };

DialogDriver::DialogDriver() {
    gDriver = this;
    hook = SetWindowsHookExA(WH_CBT, CbtHook, NULL, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    UnhookWindowsHookEx(hook);
    gDriver = NULL;
}

static bool IsTopLevelDialog(HWND hwnd) {
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    return strcmp(cls, "#32770") == 0 && !(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
}

LRESULT CALLBACK DialogDriver::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && gDriver) {
        HWND hwnd = (HWND)wParam;
        if (IsTopLevelDialog(hwnd) && gDriver->handled.insert(hwnd).second) {
            gDriver->seen.push_back(hwnd);
            // The dialog is still initialising: act once its loop runs.
            SetTimer(hwnd, DriverTimer, 10, RunAction);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void CALLBACK DialogDriver::RunAction(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    // A modal dialog is activated while it is created but shown only once
    // its loop first finds the queue empty: act when a person could.
    if (!IsWindowVisible(hwnd))
        return;
    KillTimer(hwnd, id);
    if (!gDriver)
        return;
    gDriver->captions.push_back(WindowText(hwnd));
    if (gDriver->actions.empty())
        return;
    Action action = std::move(gDriver->actions.front());
    gDriver->actions.pop_front();
    action(hwnd);
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string WindowText(HWND hwnd) {
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

std::string DialogItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

// --- screenshots -------------------------------------------------------------

ScreenPicture GrabScreenRect(const RECT& r) {
    ScreenPicture p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    if (p.width <= 0 || p.height <= 0)
        return p;
    p.pixels.resize((size_t)p.width * p.height);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const uint32_t* src = (const uint32_t*)bits;
    for (size_t i = 0; i < p.pixels.size(); i++)
        p.pixels[i] = src[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return p;
}

static uint32_t Crc32(const unsigned char* data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

static void PutBig32(std::string& out, uint32_t v) {
    out += (char)(v >> 24);
    out += (char)(v >> 16);
    out += (char)(v >> 8);
    out += (char)v;
}

static void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBig32(out, (uint32_t)data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBig32(out, Crc32((const unsigned char*)body.data(), body.size()));
}

// A PNG whose image data is zlib with stored (uncompressed) blocks: no
// compressor needed, and any viewer reads it.
bool WritePngFile(const std::string& path, const ScreenPicture& p) {
    std::string raw;
    raw.reserve((size_t)p.height * (p.width * 3 + 1));
    for (int y = 0; y < p.height; y++) {
        raw += '\0';
        for (int x = 0; x < p.width; x++) {
            unsigned px = p.At(x, y);
            raw += (char)(px >> 16);
            raw += (char)(px >> 8);
            raw += (char)px;
        }
    }
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        z += (char)(pos + n == raw.size() ? 1 : 0);
        z += (char)(n & 0xFF);
        z += (char)(n >> 8);
        z += (char)(~n & 0xFF);
        z += (char)((~n >> 8) & 0xFF);
        z.append(raw, pos, n);
        pos += n;
        if (n == 0)
            break;
    }
    PutBig32(z, (b << 16) | a);
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBig32(header, (uint32_t)p.width);
    PutBig32(header, (uint32_t)p.height);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    return WriteFileBytes(path, png);
}

bool SaveWindowPng(HWND hwnd, const std::string& name) {
    RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpFor(100);
    RECT r;
    GetWindowRect(hwnd, &r);
    // The tests' working folder is <build>/test-work; pictures go beside it,
    // those of a display at another DPI named for it.
    CreateDirectoryA("..\\screenshots", NULL);
    int dpi = ScreenDpi();
    std::string suffix = dpi == 96 ? "" : "-dpi" + std::to_string(dpi);
    return WritePngFile("..\\screenshots\\" + name + suffix + ".png", GrabScreenRect(r));
}
