#include "imagepreview/PreviewWindow.h"

#include "base/WinHandles.h"
#include "history/HistoryView.h"

PreviewWindow gPreview;

void AttachPreview(HWND window, HWND messageOwner, HFONT* paneFont) {
    gPreview.window = window;
    gPreview.messageOwner = messageOwner;
    gPreview.paneFont = paneFont;
}

void ReloadPreview() {
    if (gPreview.window)
        InvalidateRect(gPreview.window, NULL, TRUE);
}

void UpdatePreviewScrollBars() {}

static void PaintContent(HDC dc, const RECT& client) {
    BitBlt(dc, 0, 0, client.right, client.bottom, NULL, 0, 0, WHITENESS);
}

static void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintContent(dc, client);
    EndPaint(hwnd, &ps);
}

static void OnKeyDown(HWND hwnd, WPARAM key) {
    if (key == VK_TAB)
        SetFocus(gHistoryView.list);
    else
        InvalidateRect(hwnd, NULL, TRUE);
}

LRESULT PreviewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_ACTIVATE:
    case WM_LBUTTONDOWN:
        SetFocus(hwnd);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, wParam);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
