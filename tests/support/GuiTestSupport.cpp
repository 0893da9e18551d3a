#include "tests/support/GuiTestSupport.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "capture/PngEncoder.h"
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

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return bi;
}

ScreenPicture GrabScreenRect(const RECT& r) {
    ScreenPicture p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    if (p.width <= 0 || p.height <= 0)
        return p;
    p.pixels.resize((size_t)p.width * p.height);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = TopDown32(p.width, p.height);
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

// Through the program's own PNG writer, which takes bottom-up BGR rows.
bool WritePngFile(const std::string& path, const ScreenPicture& p) {
    size_t stride = ((size_t)p.width * 3 + 3) & ~(size_t)3;
    std::string rows(stride * p.height, '\0');
    for (int y = 0; y < p.height; y++)
        for (int x = 0; x < p.width; x++)
            memcpy(&rows[(p.height - 1 - y) * stride + x * 3], &p.pixels[(size_t)y * p.width + x], 3);
    PngBytes png = EncodePng((const unsigned char*)rows.data(), p.width, p.height, stride);
    bool ok = png.data && WriteFileBytes(path, std::string((const char*)png.data, png.size));
    free(png.data);
    return ok;
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
