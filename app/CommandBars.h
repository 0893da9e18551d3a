// The main window's toolbar and status bar, and the three refreshes that
// keep the menu and the toolbar in step with the program: file commands
// (save, export), monitoring commands (start, stop, the capture button) and
// selection commands (the record commands).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "app/CommandStates.h"

struct Toolbar {
    HWND hwnd;
    HBITMAP imageStrip; // bitmap 131; deleted at the end of the program
};

struct StatusBar {
    HWND hwnd;
};

extern Toolbar gToolbar;
extern StatusBar gStatusBar;

// The pictures and buttons are those drawn nearest the size for `dpi`.
HWND CreateToolbar(HWND parent, HINSTANCE instance, int dpi);
void RecreateToolbar(HWND parent, HINSTANCE instance, int dpi);
void ResizeToolbar(WPARAM wParam, LPARAM lParam);
void SetToolbarButtonState(int index, int state);
int GetToolbarButtonState(int index);
// Fills the tooltip text of a TTN_GETDISPINFOA notification.
void GetToolbarTipText(UINT_PTR commandId, NMTTDISPINFOA* dispInfo);
void DestroyToolbarImages();

HWND CreateStatusBar(HWND parent, HINSTANCE instance);
void RecreateStatusBar(HWND parent, HINSTANCE instance);
void ResizeStatusBar(WPARAM wParam, LPARAM lParam);
void SetStatusText(int part, int drawType, const char* text);
// Empties a part that still shows `text` (a notice that has had its time),
// leaving whatever replaced it meanwhile.
void ClearStatusTextIf(int part, const char* text);

void UpdateFileCommands(HWND mainWindow);
void UpdateMonitoringCommands(HWND mainWindow, bool on);
void UpdateSelectionCommands(HWND mainWindow);
