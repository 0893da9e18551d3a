// Page "ファイル形式": JPEG or BMP, and the JPEG quality.
#include <windows.h>

#include <commctrl.h>
#include "capture/CaptureContext.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"

enum { LowestQuality = 10, HighestQuality = 99, QualityTickStep = 10 };

// The quality means something for JPEG only.
static void ShowQualitySlider(HWND page) {
    EnableWindow(GetDlgItem(page, IDC_FILEFORMAT_QUALITY), IsChecked(page, IDC_FILEFORMAT_JPEG));
}

static BOOL OnInitDialog(HWND page, HWND, LPARAM) {
    PageFilling filling(page);
    HWND slider = GetDlgItem(page, IDC_FILEFORMAT_QUALITY);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(LowestQuality, HighestQuality));
    SendMessageA(slider, TBM_SETTICFREQ, QualityTickStep, 0);
    SendMessageA(slider, TBM_SETPOS, TRUE, gSettings.jpegQuality);
    CheckRadioButton(page, IDC_FILEFORMAT_JPEG, IDC_FILEFORMAT_BMP,
                     gSettings.jpegMode ? IDC_FILEFORMAT_JPEG : IDC_FILEFORMAT_BMP);
    ShowQualitySlider(page);
    return TRUE;
}

static void OnCommand(HWND page, int id, HWND, UINT code) {
    if (IsPageFilling(page) || code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_FILEFORMAT_JPEG:
    case IDC_FILEFORMAT_BMP: ShowQualitySlider(page); break;
    }
}

// The position is stored even while the slider is greyed.
static INT_PTR ApplyFileFormatPage(HWND page) {
    Settings& s = gSettings;
    if (IsChecked(page, IDC_FILEFORMAT_JPEG))
        s.jpegMode = 1;
    else if (IsChecked(page, IDC_FILEFORMAT_BMP))
        s.jpegMode = 0;
    s.jpegQuality = (int)SendDlgItemMessageA(page, IDC_FILEFORMAT_QUALITY, TBM_GETPOS, 0, 0);
    gCapture.useJpeg = s.jpegMode;
    gCapture.jpegQuality = s.jpegQuality;
    SaveSettings(s);
    return AcceptApply(page);
}

const PageHandlers FileFormatPageHandlers = { OnInitDialog, OnCommand, ApplyFileFormatPage };
