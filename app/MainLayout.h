// The client area of the main window between the toolbar and the status
// bar: a tab control with the history tab (the list above, the preview below,
// with a border between them that can be dragged) and the settings tab (the
// key-assignment panel).
#pragma once

#include <windows.h>

#include "app/PaneGeometry.h"

struct HistoryPane {
    int fontCreated;
    HFONT paneFont;   // the container's font, also used while the preview paints
    int splitDone;    // the first split has been made
    HWND listHost;    // GYROLENS_CLASS_1, parent of the history list view
    HWND splitFrame;  // GYROLENS_CLASS_2BS, its top border is dragged
    HWND preview;     // GYROLENS_CLASS_2, child of the frame
    HWND tabControl;
    HWND container;   // STATIC child of the tab control
    HINSTANCE instance;
};

struct SettingsPane {
    HWND keyPanel;
    HWND tabControl;
    HWND container;
};

struct MainLayout {
    int dpi; // what the layout is sized for: its monitor's, or the last WM_DPICHANGED's
    int fontCreated;
    HFONT layoutFont; // the tab control's font
    TEXTMETRICA layoutMetrics;
    HWND mainWindow;
    HWND tabControl;
    HistoryPane historyPane;
    SettingsPane settingsPane;
    HINSTANCE instance;
};

extern MainLayout gLayout;

enum { TabHistory = 0, TabSettings = 1 };

// Creates the tab control, both panes and the history list view; shows the
// history container and returns the tab control.
HWND CreateLayout(HWND mainWindow);
// Sizes everything from the main window's WM_SIZE parameters (0, 0 after
// the settings sheet closed).
void LayoutPanes(WPARAM sizeType, LPARAM size);
// The tab control's font again, from the current settings.
void RecreateLayoutFont();
// The window moved to a monitor of another DPI: fonts, pictures, column
// widths and the split follow; LayoutPanes then places everything.
void ChangeLayoutDpi(int dpi);
// Creates the key-assignment panel in the settings tab, once.
void EnsureKeyPanel();
// Deletes the fonts at the end of the program.
void DestroyLayoutFonts();

// The frame and scroll-bar metrics at the layout's DPI.
PaneMetrics CurrentPaneMetrics();
// A font of the general face with the given weight and slant, its stored
// 96-DPI height scaled to the layout's DPI.
HFONT CreatePaneFont(int weight, BYTE italic);
void ReadFontMetrics(HWND hwnd, HFONT font, TEXTMETRICA* metrics);

// The history pane's part (HistoryPane.cpp).
void RegisterPaneClasses(HINSTANCE instance);
void CreateHistoryPane(HWND tabControl);
void SplitHistoryPane();
// The pane's font and the frame's height at another DPI, and the list and
// the preview with them.
void ChangeHistoryPaneDpi(int oldDpi, int dpi);
