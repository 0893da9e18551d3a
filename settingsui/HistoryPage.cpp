// Page "履歴リスト": the default comment of new records, automatic saving of
// the history file, the deletion rule and the programs that open files.
#include <windows.h>

#include <commctrl.h>
#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"

enum { CommentEditLimit = CommentSize - 1, ProgramEditLimit = PathSize };

static const char ProgramDialogTitle[] = "実行ファイル名を指定して下さい";
static const char ProgramFilter[] = "EXE files(*.exe)\0*.exe\0files(*.*)\0*.*\0";

// The fixed comment is used only while "テキスト" is chosen.
static void ShowCommentEdit(HWND page) {
    EnableWindow(GetDlgItem(page, IDC_HISTORYPAGE_COMMENT), IsChecked(page, IDC_HISTORYPAGE_USE_TEXT));
}

static BOOL OnInitDialog(HWND page, HWND, LPARAM) {
    PageFilling filling(page);
    const Settings& s = gSettings;
    SendDlgItemMessageA(page, IDC_HISTORYPAGE_COMMENT, EM_LIMITTEXT, CommentEditLimit, 0);
    SendDlgItemMessageA(page, IDC_HISTORYPAGE_IMAGEAPP, EM_LIMITTEXT, ProgramEditLimit, 0);
    SendDlgItemMessageA(page, IDC_HISTORYPAGE_TEXTAPP, EM_LIMITTEXT, ProgramEditLimit, 0);
    SetDlgItemTextA(page, IDC_HISTORYPAGE_COMMENT, s.fixedComment);
    SetDlgItemTextA(page, IDC_HISTORYPAGE_IMAGEAPP, s.imageApp);
    SetDlgItemTextA(page, IDC_HISTORYPAGE_TEXTAPP, s.textApp);
    CheckRadioButton(page, IDC_HISTORYPAGE_USE_TITLE, IDC_HISTORYPAGE_USE_TEXT,
                     s.useFixedComment ? IDC_HISTORYPAGE_USE_TEXT : IDC_HISTORYPAGE_USE_TITLE);
    CheckRadioButton(page, IDC_HISTORYPAGE_AUTOSAVE_NO, IDC_HISTORYPAGE_AUTOSAVE_YES,
                     s.autoSaveHistory == 1 ? IDC_HISTORYPAGE_AUTOSAVE_YES : IDC_HISTORYPAGE_AUTOSAVE_NO);
    // Any value but 0 keeps the image files; the box must not offer a
    // hand-edited 2 as "delete them".
    CheckDlgButton(page, IDC_HISTORYPAGE_KEEPIMAGE, s.keepImageOnDelete ? BST_CHECKED : BST_UNCHECKED);
    ShowCommentEdit(page);
    return TRUE;
}

// A chosen program's full path goes into the edit; it is stored on OK.
static void ChooseProgram(HWND page, int edit) {
    char path[PathSize] = "";
    char title[PathSize] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = GetParent(page);
    ofn.lpstrFilter = ProgramFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = countof(path);
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = countof(title);
    ofn.lpstrTitle = ProgramDialogTitle;
    ofn.lpstrDefExt = "exe";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (RunOpenFileDialog(&ofn))
        SetDlgItemTextA(page, edit, path);
}

static void OnCommand(HWND page, int id, HWND, UINT code) {
    if (IsPageFilling(page) || code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_HISTORYPAGE_USE_TITLE:
    case IDC_HISTORYPAGE_USE_TEXT: ShowCommentEdit(page); break;
    case IDC_HISTORYPAGE_IMAGEAPP_CHOOSE: ChooseProgram(page, IDC_HISTORYPAGE_IMAGEAPP); break;
    case IDC_HISTORYPAGE_TEXTAPP_CHOOSE: ChooseProgram(page, IDC_HISTORYPAGE_TEXTAPP); break;
    }
}

static INT_PTR ApplyHistoryPage(HWND page) {
    Settings& s = gSettings;
    ReadItemText(page, IDC_HISTORYPAGE_COMMENT, s.fixedComment, countof(s.fixedComment));
    s.useFixedComment = IsChecked(page, IDC_HISTORYPAGE_USE_TITLE) ? 0 : 1;
    if (IsChecked(page, IDC_HISTORYPAGE_AUTOSAVE_YES))
        s.autoSaveHistory = 1;
    else if (IsChecked(page, IDC_HISTORYPAGE_AUTOSAVE_NO))
        s.autoSaveHistory = 0;
    s.keepImageOnDelete = IsChecked(page, IDC_HISTORYPAGE_KEEPIMAGE) ? 1 : 0;
    ReadItemText(page, IDC_HISTORYPAGE_IMAGEAPP, s.imageApp, countof(s.imageApp));
    ReadItemText(page, IDC_HISTORYPAGE_TEXTAPP, s.textApp, countof(s.textApp));
    SaveSettings(s);
    return AcceptApply(page);
}

const PageHandlers HistoryPageHandlers = { OnInitDialog, OnCommand, ApplyHistoryPage };
