#include "app/Application.h"

#include <commctrl.h>

#include "app/AboutBox.h"
#include "app/CommandBars.h"
#include "app/Commands.h"
#include "app/MainLayout.h"
#include "app/MainWindow.h"
#include "app/RecoveryPrompt.h"
#include "base/ByteString.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecovery.h"
#include "history/HistoryView.h"
#include "htmlexport/HtmlExportRun.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"
#include "settings/Settings.h"

static void CaptureRecordedInMain(HWND mainWindow) {
    CaptureRecorded(mainWindow);
}

static int MonitoringIsOn() {
    return IsCaptureMonitoring();
}

// A new history while images go into the history folder: monitoring stops
// through the main window's own stop command.
static void RequestMonitoringStop() {
    PostMessageA(gShell.hwndMain, WM_COMMAND, IDM_CAPTURE_STOP, 0);
}

// The export runs without a message loop: the status bar is painted at once.
static void ShowExportProgress(const char* text) {
    SetStatusText(1, 0, text);
    UpdateWindow(gStatusBar.hwnd);
}

static void ClearExportProgress() {
    ShowExportProgress("");
}

// A capture's row is painted at once, before anything else it changes.
static void AddAndPaintNewestRow() {
    AddNewestRow();
    UpdateWindow(gHistoryView.list);
}

// The preview loads once the capture's message is done, after the row.
static void RequestPreviewReload() {
    PostMessageA(gShell.hwndMain, WM_REFRESH_PREVIEW, 0, 0);
}

void WireLinks() {
    SetCaptureShellLink(
        { AddAndPaintNewestRow, CaptureRecordedInMain, RequestPreviewReload, OpenSettingsAndRefresh, ShowCapturedPixels });
    SetCaptureMonitorLink({ MonitoringIsOn, RequestMonitoringStop });
    SetHtmlExportLink({ ShowExportProgress, ClearExportProgress });
    SetRecoveryLink({ ModalWindowOpen });
}

bool StartShell(HINSTANCE hInstance, int showCommand) {
    WireLinks();
    RegisterMainClass(hInstance);
    if (!CreateMainWindow(hInstance, showCommand))
        return false;
    CopyFileSettingsToCapture(gCapture, gSettings, gHistory.historyFolder);
    gShell.linkFont = CreateLinkFont(gLayout.dpi);
    gShell.linkCursor = LoadLinkCursor();
    gShell.accelerators = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(IDR_MAINMENU));
    return true;
}

// A hotkey field records whatever combination is typed into it: Ctrl+S
// there is a key to assign, not a save.
static bool FocusTakesEveryKey() {
    HWND focus = GetFocus();
    char name[32] = "";
    return focus && GetClassNameA(focus, name, (int)countof(name)) && lstrcmpiA(name, HOTKEY_CLASSA) == 0;
}

// Accelerators are translated for the main window whatever child has the
// focus, so that Ctrl+S works while the list is being used.  The key panel
// is a dialog inside the window: Tab, Shift+Tab and the arrows move within it.
bool TranslateShellMessage(MSG* msg) {
    if (!FocusTakesEveryKey() && TranslateAcceleratorA(gShell.hwndMain, gShell.accelerators, msg))
        return true;
    HWND panel = gLayout.settingsPane.keyPanel;
    return panel && IsDialogMessageA(panel, msg);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (TranslateShellMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}

int RunApplication(HINSTANCE hInstance, int showCommand) {
    if (!StartShell(hInstance, showCommand))
        return 0;
    OfferRecovery(gShell.hwndMain);
    return RunMessageLoop();
}
