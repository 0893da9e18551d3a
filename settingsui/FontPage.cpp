// Page "フォント": the fonts of the main layout and of the history list.
// The image font of the settings file has no control.
#include <windows.h>

#include <commctrl.h>
#include "base/ByteString.h"
#include "base/FontDialog.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"

struct FontRow {
    int font; // index into Settings::fonts
    int faceEdit;
    int sizeEdit;
    int chooseButton;
};

static const FontRow FontRows[] = {
    { FontGeneral, IDC_FONTPAGE_GENERAL_FACE, IDC_FONTPAGE_GENERAL_SIZE, IDC_FONTPAGE_GENERAL_CHOOSE },
    { FontHistory, IDC_FONTPAGE_HISTORY_FACE, IDC_FONTPAGE_HISTORY_SIZE, IDC_FONTPAGE_HISTORY_CHOOSE },
};

// The standard font dialog's effects group with strikeout and underline,
// its colour label and list, and its script label and list: the program
// stores only face, style and size.
static const int FontDialogHiddenControls[] = { 1072, 1040, 1041, 1091, 1139, 1094, 1140 };

static UINT_PTR CALLBACK HideEffectsHook(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        for (int id : FontDialogHiddenControls)
            ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
    }
    return 0;
}

static void ShowFont(HWND page, const FontRow& row) {
    const FontSetting& f = gSettings.fonts[row.font];
    SetDlgItemTextA(page, row.faceEdit, f.logFont.lfFaceName);
    SetDlgItemInt(page, row.sizeEdit, (UINT)f.pointSize, TRUE);
}

static BOOL OnInitDialog(HWND page, HWND, LPARAM) {
    PageFilling filling(page);
    for (const FontRow& row : FontRows)
        ShowFont(page, row);
    return TRUE;
}

// The dialog writes the whole font into the settings at once; cancelling
// the sheet keeps it.
static void ChooseRowFont(HWND page, const FontRow& row) {
    FontSetting& f = gSettings.fonts[row.font];
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = GetParent(page);
    cf.lpLogFont = &f.logFont;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_ENABLEHOOK;
    cf.nFontType = SCREEN_FONTTYPE;
    cf.lpfnHook = HideEffectsHook;
    if (!RunFontDialog(&cf))
        return;
    f.pointSize = cf.iPointSize / 10;
    ShowFont(page, row);
}

static void OnCommand(HWND page, int id, HWND, UINT code) {
    if (IsPageFilling(page) || code != BN_CLICKED)
        return;
    for (const FontRow& row : FontRows)
        if (id == row.chooseButton)
            ChooseRowFont(page, row);
}

static INT_PTR ApplyFontPage(HWND page) {
    for (const FontRow& row : FontRows) {
        FontSetting& f = gSettings.fonts[row.font];
        ReadItemText(page, row.faceEdit, f.logFont.lfFaceName, countof(f.logFont.lfFaceName));
        f.pointSize = ReadItemNumber(page, row.sizeEdit);
    }
    SaveSettings(gSettings);
    return AcceptApply(page);
}

const PageHandlers FontPageHandlers = { OnInitDialog, OnCommand, ApplyFontPage };
