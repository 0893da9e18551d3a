// Page "ファイル形式": JPEG, BMP or PNG, the JPEG quality, and whether each
// capture is also copied to the clipboard.
#include <windows.h>

#include <commctrl.h>
#include "capture/CaptureContext.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"

enum { LowestQuality = 10, HighestQuality = 99, QualityTickStep = 10 };

// The radio buttons by the stored "JPEGモード" value they stand for.
static const struct {
    int id;
    int mode;
} FormatButtons[] = {
    { IDC_FILEFORMAT_JPEG, ImageJpeg },
    { IDC_FILEFORMAT_BMP, ImageBmp },
    { IDC_FILEFORMAT_PNG, ImagePng },
};

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
    ImageFormat format = ImageFormatOf(gSettings.jpegMode);
    for (const auto& b : FormatButtons)
        if (b.mode == format)
            CheckRadioButton(page, IDC_FILEFORMAT_JPEG, IDC_FILEFORMAT_PNG, b.id);
    CheckDlgButton(page, IDC_FILEFORMAT_CLIPBOARD, gSettings.copyToClipboard == 1 ? BST_CHECKED : BST_UNCHECKED);
    ShowQualitySlider(page);
    return TRUE;
}

static void OnCommand(HWND page, int id, HWND, UINT code) {
    if (IsPageFilling(page) || code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_FILEFORMAT_JPEG:
    case IDC_FILEFORMAT_BMP:
    case IDC_FILEFORMAT_PNG: ShowQualitySlider(page); break;
    }
}

// The position is stored even while the slider is greyed.
static INT_PTR ApplyFileFormatPage(HWND page) {
    Settings& s = gSettings;
    for (const auto& b : FormatButtons)
        if (IsChecked(page, b.id))
            s.jpegMode = b.mode;
    s.jpegQuality = (int)SendDlgItemMessageA(page, IDC_FILEFORMAT_QUALITY, TBM_GETPOS, 0, 0);
    s.copyToClipboard = IsChecked(page, IDC_FILEFORMAT_CLIPBOARD) ? 1 : 0;
    gCapture.imageFormat = ImageFormatOf(s.jpegMode);
    gCapture.jpegQuality = s.jpegQuality;
    SaveSettings(s);
    return AcceptApply(page);
}

const PageHandlers FileFormatPageHandlers = { OnInitDialog, OnCommand, ApplyFileFormatPage };
