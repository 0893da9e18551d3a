// Which commands the menu and the toolbar offer, from the program's state.
// No Win32 here: the command bars turn these answers into menu items and
// toolbar button states.
#pragma once

// Toolbar button states (TBSTATE_ENABLED, with TBSTATE_CHECKED, and
// TBSTATE_INDETERMINATE, the grey look used instead of disabling).
enum {
    ButtonEnabled = 4,
    ButtonChecked = 5,
    ButtonGrey = 16,
};

// Indices of the toolbar's button table, as the refreshes address them.
enum ToolbarButton {
    ButtonNew, ButtonOpen, ButtonSave, ButtonBatchComment, ButtonDelete, ButtonUp, ButtonDown,
    ButtonCapture, ButtonExport, ToolbarButtonCount,
};

struct FileCommandStates {
    bool save;   // menu 32775, button 2
    bool htmlExport; // menu 32789, button 8
};
// Saving follows the list's changed flag; export needs at least one row.
FileCommandStates FileCommands(int modified, int rowCount);

struct MonitoringCommandStates {
    bool start;        // menu 110
    bool stop;         // menu 111
    int captureButton; // button 7
};
MonitoringCommandStates MonitoringCommands(bool monitoring);

struct SelectionCommandStates {
    bool selectAll; // menu 32786: the list has rows
    bool records;   // 32778, 32784, 32779, 32797, 32798 and buttons 3 to 6: a row is selected
};
SelectionCommandStates SelectionCommands(int rowCount, int firstSelected);

inline int ButtonState(bool enabled) {
    return enabled ? ButtonEnabled : ButtonGrey;
}

// Right edges of the status bar's three parts for a client width.
void StatusBarEdges(int clientWidth, int edges[3]);
