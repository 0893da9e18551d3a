#include "app/Commands.h"

#include <commctrl.h>

#include "app/AboutBox.h"
#include "app/CommandBars.h"
#include "app/Help.h"
#include "app/MainLayout.h"
#include "app/MainWindow.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryEdit.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "htmlexport/HtmlExportRun.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"
#include "settingsui/KeyPanel.h"
#include "settings/Settings.h"
#include "settingsui/SettingsSheet.h"

void OnCommand(HWND hwnd, int id, HWND, UINT) {
    switch (id) {
    case IDM_ABOUT:             CommandAbout(hwnd); break;
    case IDM_EXIT:              CommandExit(hwnd); break;
    case IDM_CAPTURE_START:     CommandStartMonitoring(hwnd); break;
    case IDM_CAPTURE_STOP:      CommandStopMonitoring(hwnd); break;
    case IDM_FILE_SAVEAS:       CommandSaveAs(hwnd); break;
    case IDM_TOOLS_SETTINGS:    CommandSettings(hwnd); break;
    case IDM_FILE_NEW:          CommandNew(hwnd); break;
    case IDM_FILE_SAVE:         CommandSave(hwnd); break;
    case IDM_FILE_OPEN:         CommandOpen(hwnd); break;
    case IDM_EDIT_BATCHCOMMENT: CommandBatchComment(hwnd); break;
    case IDM_EDIT_DELETE:       CommandDelete(hwnd); break;
    case IDM_CAPTURE_TOGGLE:    CommandToggleCapture(hwnd); break;
    case IDM_EDIT_COMMENT:      CommandEditComment(hwnd); break;
    case IDM_EDIT_SELECTALL:    CommandSelectAll(hwnd); break;
    case IDM_HELP_CONTENTS:     ShowHelpContents(hwnd); break;
    case IDM_TOOLS_HTML:        CommandExportHtml(hwnd); break;
    case IDM_HELP_SEARCH:       ShowHelpSearch(hwnd); break;
    case IDM_HELP_KEYWORD:      ShowHelpKeyword(hwnd); break;
    case IDM_EDIT_UP:           CommandMoveUp(hwnd); break;
    case IDM_EDIT_DOWN:         CommandMoveDown(hwnd); break;
    }
}

static void RefreshFileAndSelection(HWND hwnd) {
    UpdateFileCommands(hwnd);
    UpdateSelectionCommands(hwnd);
}

void CommandAbout(HWND hwnd) {
    ShowAboutBox(hwnd);
}

void CommandExit(HWND hwnd) {
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
}

// --- capture monitoring ------------------------------------------------------

static void RepaintForMonitoring(HWND hwnd) {
    InvalidateRect(gShell.hwndTab, NULL, TRUE);
    if (SendMessageA(gShell.hwndTab, TCM_GETCURSEL, 0, 0) == TabSettings)
        InvalidateRect(hwnd, NULL, TRUE);
}

void CommandStartMonitoring(HWND hwnd) {
    int started = StartMonitoring(hwnd);
    RepaintForMonitoring(hwnd);
    if (!started) {
        // The refused start leaves the toolbar's capture button released.
        SetToolbarButtonState(ButtonCapture, ButtonEnabled);
        return;
    }
    UpdateMonitoringCommands(hwnd, true);
    SetStatusText(0, 0, TextMonitoringOn);
    RefreshKeyPanel(gLayout.settingsPane.keyPanel);
}

void CommandStopMonitoring(HWND hwnd) {
    StopMonitoring(hwnd);
    RepaintForMonitoring(hwnd);
    UpdateMonitoringCommands(hwnd, false);
    SetStatusText(0, 0, TextMonitoringOff);
    RefreshKeyPanel(gLayout.settingsPane.keyPanel);
}

// The check button has already toggled itself: checked means start.
void CommandToggleCapture(HWND hwnd) {
    int command = GetToolbarButtonState(ButtonCapture) == ButtonChecked ? IDM_CAPTURE_START : IDM_CAPTURE_STOP;
    SendMessageA(hwnd, WM_COMMAND, command, 0);
}

void CaptureRecorded(HWND hwnd) {
    EnableMenuItem(GetMenu(hwnd), IDM_FILE_SAVE, MF_BYCOMMAND | MF_ENABLED);
    SetToolbarButtonState(ButtonSave, ButtonEnabled);
    if (gSettings.autoSaveHistory == 1) {
        SaveHistory();
        UpdateTitle(hwnd);
    }
    RefreshFileAndSelection(hwnd);
}

// --- history files -----------------------------------------------------------

void CommandNew(HWND hwnd) {
    if (!ConfirmDiscard())
        return;
    if (NewHistory()) {
        SelectFirstTab();
        UpdateTitle(hwnd);
    }
    RefreshFileAndSelection(hwnd);
    ReloadPreview();
}

void CommandOpen(HWND hwnd) {
    if (!ConfirmDiscard())
        return;
    if (OpenHistory()) {
        SelectFirstTab();
        UpdateTitle(hwnd);
    }
    RefreshFileAndSelection(hwnd);
    ReloadPreview();
}

void CommandSave(HWND hwnd) {
    SaveHistory();
    UpdateTitle(hwnd);
    RefreshFileAndSelection(hwnd);
}

void CommandSaveAs(HWND hwnd) {
    if (!SaveHistoryAs())
        return;
    UpdateTitle(hwnd);
    RefreshFileAndSelection(hwnd);
}

// --- settings ----------------------------------------------------------------

void OpenSettingsAndRefresh(HWND owner) {
    OpenSettingsSheet(owner);
    RecreateLayoutFont();
    ApplyFont();
    LayoutPanes(0, 0);
}

void CommandSettings(HWND hwnd) {
    OpenSettingsAndRefresh(hwnd);
}

// --- records -----------------------------------------------------------------

void CommandBatchComment(HWND hwnd) {
    if (BatchEditComment())
        UpdateFileCommands(hwnd);
}

void CommandDelete(HWND hwnd) {
    DeleteSelected();
    UpdateFileCommands(hwnd);
}

void CommandMoveUp(HWND hwnd) {
    MoveUp();
    UpdateFileCommands(hwnd);
}

void CommandMoveDown(HWND hwnd) {
    MoveDown();
    UpdateFileCommands(hwnd);
}

// The edit box takes the keyboard from the list: the list must have it
// first, on the tab the user sees.
void CommandEditComment(HWND) {
    if (SendMessageA(gShell.hwndTab, TCM_GETCURSEL, 0, 0) != TabHistory)
        SelectFirstTab();
    SetFocus(gHistoryView.list);
    BeginCommentEdit();
}

// Every row selected, none keeping the focus mark.
void CommandSelectAll(HWND) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED;
    SendMessageA(gHistoryView.list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
}

void CommandExportHtml(HWND hwnd) {
    ExportHistoryAsHtml(gShell.hInstance, hwnd);
    RefreshFileAndSelection(hwnd);
}
