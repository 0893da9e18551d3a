// Page "保存ファイル": how captured image files are named and numbered, and
// which folder they go to.
#include <windows.h>

#include <commctrl.h>
#include "base/ByteString.h"
#include "base/FolderDialog.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"
#include "settings/SettingsRules.h"

static_assert(MaxImagePrefixBytes + 1 == FilePrefixSize, "the prefix rule follows the capture's copy");

enum { NumberEditLimit = 6 };

static const char TextPrefixTooLong[] = "ファイル名規則は半角63文字（全角31文字）以内で指定してください";
static const char TextNegativeMaximum[] = "ファイル名最大番号には0以上の数を指定してください";

// The start number the page showed when it opened: the capture engine's
// next number, which is one ahead of the stored one after a write that
// failed or was declined.  One sheet is open at a time.
static int gShownStart;

// The folder edit and its browse button serve "指定" only.
static void ShowFolderControls(HWND page) {
    bool given = IsChecked(page, IDC_SAVEFILE_FOLDER_GIVEN);
    EnableWindow(GetDlgItem(page, IDC_SAVEFILE_FOLDER), given);
    EnableWindow(GetDlgItem(page, IDC_SAVEFILE_BROWSE), given);
}

// Starting the monitoring checked that the images have a folder to go to
// ("履歴と同じ" needs a saved history file); switching meanwhile would skip
// that check, so the choice that is not selected is greyed.
static void LockFolderChoiceWhileMonitoring(HWND page) {
    if (!IsCaptureMonitoring())
        return;
    int other = IsChecked(page, IDC_SAVEFILE_FOLDER_GIVEN) ? IDC_SAVEFILE_FOLDER_HISTORY : IDC_SAVEFILE_FOLDER_GIVEN;
    EnableWindow(GetDlgItem(page, other), FALSE);
}

static BOOL OnInitDialog(HWND page, HWND, LPARAM) {
    PageFilling filling(page);
    const Settings& s = gSettings;
    SetDlgItemTextA(page, IDC_SAVEFILE_PREFIX, s.imagePrefix);
    SetDlgItemTextA(page, IDC_SAVEFILE_FOLDER, s.imageFolder);
    SendDlgItemMessageA(page, IDC_SAVEFILE_START, EM_LIMITTEXT, NumberEditLimit, 0);
    SendDlgItemMessageA(page, IDC_SAVEFILE_MAXIMUM, EM_LIMITTEXT, NumberEditLimit, 0);
    gShownStart = gCapture.nextNumber;
    SetDlgItemInt(page, IDC_SAVEFILE_START, (UINT)gShownStart, TRUE);
    SetDlgItemInt(page, IDC_SAVEFILE_MAXIMUM, (UINT)s.maxImageNumber, TRUE);
    CheckRadioButton(page, IDC_SAVEFILE_CONFIRM_YES, IDC_SAVEFILE_CONFIRM_NO,
                     s.confirmOverwrite == 1 ? IDC_SAVEFILE_CONFIRM_YES : IDC_SAVEFILE_CONFIRM_NO);
    CheckRadioButton(page, IDC_SAVEFILE_FOLDER_GIVEN, IDC_SAVEFILE_FOLDER_HISTORY,
                     ImagesInHistoryFolder(s) ? IDC_SAVEFILE_FOLDER_HISTORY : IDC_SAVEFILE_FOLDER_GIVEN);
    CheckRadioButton(page, IDC_SAVEFILE_CUT, IDC_SAVEFILE_KEEP,
                     s.keepOffscreen == 0 ? IDC_SAVEFILE_CUT : IDC_SAVEFILE_KEEP);
    CheckDlgButton(page, IDC_SAVEFILE_ZEROPAD, s.zeroPadNumber == 1 ? BST_CHECKED : BST_UNCHECKED);
    ShowFolderControls(page);
    LockFolderChoiceWhileMonitoring(page);
    return TRUE;
}

// A chosen folder is taken at once; cancelling the sheet keeps it.
static void BrowseForImageFolder(HWND page) {
    if (RunFolderDialog(GetParent(page), TextChooseFolder, gSettings.imageFolder, countof(gSettings.imageFolder)))
        SetDlgItemTextA(page, IDC_SAVEFILE_FOLDER, gSettings.imageFolder);
}

static void OnCommand(HWND page, int id, HWND, UINT code) {
    if (IsPageFilling(page) || code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_SAVEFILE_FOLDER_GIVEN:
    case IDC_SAVEFILE_FOLDER_HISTORY: ShowFolderControls(page); break;
    case IDC_SAVEFILE_BROWSE: BrowseForImageFolder(page); break;
    }
}

static INT_PTR RefuseWithMessage(HWND page, int field, const char* text, const char* caption) {
    AppMessageBox(GetParent(page), text, caption, MB_OK | MB_ICONWARNING);
    return RefuseApply(page, field);
}

// Refuses what the capture could not use: a prefix its copy would cut, a
// maximum that leaves no number.  Nothing is stored then.
static bool CheckFileNaming(HWND page, INT_PTR* refusal) {
    char prefix[PathSize];
    ReadItemText(page, IDC_SAVEFILE_PREFIX, prefix, countof(prefix));
    if (!ImagePrefixFits(prefix)) {
        *refusal = RefuseWithMessage(page, IDC_SAVEFILE_PREFIX, TextPrefixTooLong, CaptionDefinitionError);
        return false;
    }
    if (!MaxImageNumberAllowed(ReadItemNumber(page, IDC_SAVEFILE_MAXIMUM))) {
        *refusal = RefuseWithMessage(page, IDC_SAVEFILE_MAXIMUM, TextNegativeMaximum, CaptionNumberError);
        return false;
    }
    return true;
}

static INT_PTR ApplySaveFilePage(HWND page) {
    INT_PTR refusal = 0;
    if (!CheckFileNaming(page, &refusal))
        return refusal;
    Settings& s = gSettings;
    ReadItemText(page, IDC_SAVEFILE_PREFIX, s.imagePrefix, countof(s.imagePrefix));
    ReadItemText(page, IDC_SAVEFILE_FOLDER, s.imageFolder, countof(s.imageFolder));
    int oldStart = s.nextImageNumber;
    // Left as shown, the number is the one the engine holds now: writing
    // back the shown one would number the next capture like a file already
    // written.
    int start = ReadItemNumber(page, IDC_SAVEFILE_START);
    s.nextImageNumber = start == gShownStart ? gCapture.nextNumber : start;
    s.maxImageNumber = ReadItemNumber(page, IDC_SAVEFILE_MAXIMUM);
    if (s.nextImageNumber > s.maxImageNumber) {
        // The new maximum stays, the start number goes back.
        s.nextImageNumber = oldStart;
        return RefuseWithMessage(page, IDC_SAVEFILE_START, TextNumberPastMaximum, CaptionNumberError);
    }
    if (IsChecked(page, IDC_SAVEFILE_CONFIRM_YES))
        s.confirmOverwrite = 1;
    else if (IsChecked(page, IDC_SAVEFILE_CONFIRM_NO))
        s.confirmOverwrite = 0;
    s.imageFolderMode = IsChecked(page, IDC_SAVEFILE_FOLDER_HISTORY) ? 1 : 0;
    s.keepOffscreen = IsChecked(page, IDC_SAVEFILE_CUT) ? 0 : 1;
    s.zeroPadNumber = IsChecked(page, IDC_SAVEFILE_ZEROPAD) ? 1 : 0;
    SaveSettings(s);
    CopyFileSettingsToCapture(gCapture, s, gHistory.historyFolder);
    return AcceptApply(page);
}

const PageHandlers SaveFilePageHandlers = { OnInitDialog, OnCommand, ApplySaveFilePage };
