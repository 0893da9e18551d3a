#include "history/HistoryLaunch.h"

#include <commctrl.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/ShellRun.h"
#include "base/Texts.h"
#include "history/HistoryFile.h"
#include "history/HistoryPaths.h"
#include "history/HistoryView.h"
#include "settings/Settings.h"

static const char TextFileNotFound[] = "ファイルが見つかりません";
static const char TextOpenAllQuestion[] = "複数選択されています。\r\n全て開きますか？";
static const char TextEditNeedsOneRow[] = "複数選択してテキスト編集はできません？";

static void Launch(const char* path, bool textOnly) {
    LaunchPlan plan;
    if (!PlanLaunch(path, gSettings.imageApp, gSettings.textApp, textOnly, &plan))
        return;
    INT_PTR result;
    if (plan.withApp)
        result = RunShellExecute(gHistoryView.pane, NULL, plan.file, plan.parameters, plan.directory,
                                 SW_SHOWNORMAL);
    else
        result = RunShellExecute(gHistoryView.pane, "open", plan.file, NULL, NULL, SW_SHOWNORMAL);
    // Results up to 32 are the platform's error codes.
    if (result <= 32)
        AppMessageBox(gHistoryView.pane, TextFileNotFound, CaptionFileOpenError, MB_OK | MB_ICONWARNING);
}

void OpenWithApp(const char* path) {
    Launch(path, false);
}

void OpenTextWithApp(const char* path) {
    Launch(path, true);
}

static bool ShiftHeld() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

// A path that does not fit a path buffer names no file and opens nothing.
static void OpenRowText(int row) {
    char name[PathSize], path[PathSize];
    GetCellText(row, ColumnText, name, (int)countof(name));
    if (TextFullPath(gHistory.historyFolder, name, path, countof(path)))
        OpenTextWithApp(path);
}

static void OpenRowImage(int row) {
    char text[PathSize], path[PathSize];
    GetCellText(row, ColumnImage, text, (int)countof(text));
    if (ImageFullPath(gHistory.historyFolder, text, path, countof(path)))
        OpenWithApp(path);
}

static void OpenRow(int row) {
    if (ShiftHeld())
        OpenRowText(row);
    else
        OpenRowImage(row);
}

void OpenAtPoint(int x, int y) {
    LVHITTESTINFO hit = {};
    hit.pt = { x, y };
    int row = (int)SendMessageA(gHistoryView.list, LVM_HITTEST, 0, (LPARAM)&hit);
    if (row >= 0)
        OpenRow(row);
}

void OpenSelected() {
    if (SelectedRowCount() > 1 &&
        AppMessageBox(gHistoryView.pane, TextOpenAllQuestion, CaptionConfirm, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    int row = -1;
    while ((row = (int)SendMessageA(gHistoryView.list, LVM_GETNEXTITEM, (WPARAM)row, LVNI_SELECTED)) >= 0)
        OpenRow(row);
}

int EditTextFile() {
    if (SelectedRowCount() != 1) {
        AppMessageBox(gHistoryView.pane, TextEditNeedsOneRow, CaptionConfirm, MB_OK | MB_ICONQUESTION);
        return 0;
    }
    OpenRowText(FirstSelectedRow());
    return 1;
}
