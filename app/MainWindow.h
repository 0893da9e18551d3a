// The main window: its class, creation, title and placement, and the window
// procedure that hands every message to one handler.
#pragma once

#include <windows.h>

struct ShellState {
    HINSTANCE hInstance;
    HWND hwndMain;
    HWND hwndTab;
    HMODULE richEditModule; // RICHED32.DLL, for the export dialog's swatches
    DWORD_PTR helpCookie;
    HFONT linkFont;         // the about box's link
    HCURSOR linkCursor;
    HWND lastFocus;         // the control that had the keyboard when the window was left
    HACCEL accelerators;    // table 109
};

extern ShellState gShell;

extern const char MainClassName[]; // "GYROLENS_CLASS"

ATOM RegisterMainClass(HINSTANCE hInstance);
bool CreateMainWindow(HINSTANCE hInstance, int showCommand);
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// "<title> - Gyrolens Ver1.2", with " - [<path>]" once the list has a file.
void UpdateTitle(HWND hwnd);
// Window rectangle (the restored one when minimised or maximised) and the
// list's column widths into the settings; writes [Window] and [File_Set].
void SaveWindowPlacement(HWND hwnd);

// Shows the pane of the current tab and gives it the keyboard.
void ShowPaneForTab();
void SelectFirstTab();
// The keyboard to the pane the user sees: the history list, or the key
// panel's first control.
void FocusVisiblePane();

// Whether a message box, dialog or sheet of the program is open.  Each of
// them is owned by the main window, which is disabled meanwhile; whatever
// reacts to outside events (a capture key, the recovery copy's timer) asks
// this first.
int ModalWindowOpen();
