#include "base/Dpi.h"

#include "base/SystemFunction.h"
#include "base/WinHandles.h"

int WindowDpi(HWND hwnd) {
    typedef UINT(WINAPI * GetDpiForWindowFn)(HWND);
    static GetDpiForWindowFn getDpi = (GetDpiForWindowFn)(void*)SystemFunction("user32.dll", "GetDpiForWindow");
    int dpi = getDpi && hwnd ? (int)getDpi(hwnd) : 0;
    return dpi > 0 ? dpi : ScreenDpi();
}

int ScreenDpi() {
    ScopedWindowDC screen(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    return dpi > 0 ? dpi : BaseDpi;
}

int ScaleForDpi(int size, int dpi) {
    return MulDiv(size, dpi, BaseDpi);
}

int UnscaleForDpi(int size, int dpi) {
    return dpi > 0 ? MulDiv(size, BaseDpi, dpi) : size;
}

int MetricForDpi(int index, int dpi) {
    typedef int(WINAPI * GetMetricsForDpiFn)(int, UINT);
    static GetMetricsForDpiFn getMetric =
        (GetMetricsForDpiFn)(void*)SystemFunction("user32.dll", "GetSystemMetricsForDpi");
    return getMetric ? getMetric(index, (UINT)dpi) : GetSystemMetrics(index);
}

const int SmallPictureSizes[SmallPictureSizeCount] = { 16, 24, 32 };

int SmallPictureSize(int dpi) {
    int wanted = ScaleForDpi(SmallPictureSizes[0], dpi);
    for (int size : SmallPictureSizes)
        if (size >= wanted)
            return size;
    return SmallPictureSizes[SmallPictureSizeCount - 1];
}
