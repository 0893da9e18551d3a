// The history list view: the HistoryList shown as a four-column report list
// (comment, image, date, text file) in the history pane.  While the user
// edits, the rows are the working copy; after every edit SyncFromView
// rebuilds the list's records from the rows.  Reading a file goes the other
// way (FillFromList).  The file commands combine a history file operation
// with the rows and the question about unsaved changes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "history/HistoryRecord.h"

struct HistoryListView {
    HINSTANCE instance;
    HWND pane;       // the list host; owner of the view's boxes and dialogs
    HWND list;       // the list-view control
    HFONT font;      // the history font, or NULL
    TEXTMETRICA metrics;
    int fontMade;    // the first sizing has made the font
    int dpi;         // the font and the column widths are shown at this DPI
    WNDPROC previousProc;
};

extern HistoryListView gHistoryView;

enum {
    HistoryColumnCount = 4,
    ColumnComment = 0,
    ColumnImage = 1,
    ColumnDate = 2,
    ColumnText = 3,
};

// Private messages to the main window: re-evaluate the command states, and
// show the image of the selected row.
enum {
    WM_REFRESH_COMMANDS = WM_USER + 100,
    WM_REFRESH_PREVIEW = WM_USER + 101,
};

// Creates the hidden control in `pane` with its columns.
HWND CreateView(HINSTANCE instance, HWND pane);
// Makes the history font from the settings and gives it to the control.
void ApplyFont();
// The column widths as they are stored: 96-DPI widths.
void StoredColumnWidths(int widths[HistoryColumnCount]);
// Shows the list at another DPI: the font and the column widths follow.
void ChangeViewDpi(int dpi);
// Fills the pane with the control (the font is made on the first call).
void FitToPane();

void FillFromList();
// Shows the record a capture has just appended, selected and focused.
void AddNewestRow();
void ClearAll();
void SyncFromView();

// Ends an open in-place comment edit, keeping its text in the row and the
// list.  Every save goes through it first.
void EndCommentEdit();
// Each returns 1 to go on, 0 when cancelled or failed.
int ConfirmDiscard();
int NewHistory();
int OpenHistory();
int SaveHistory();
int SaveHistoryAs();

// The pane hands every WM_NOTIFY it receives to the view.
void OnListNotify(int controlId, NMHDR* header);

int ListRowCount();
// First selected row, or -1.
int FirstSelectedRow();
int SelectedRowCount();
// Inserts `row` showing a record (image column as the history file shows it).
void InsertRecordRow(int row, const HistoryRecord& r);
void SetCell(int row, int column, const char* text);
// LVM_SETITEMSTATE; row -1 is every row.
void SetRowState(int row, UINT state, UINT mask);
// The text of one cell, cut to `size`.
void GetCellText(int row, int column, char* out, int size);
void PostToMainWindow(UINT message);
