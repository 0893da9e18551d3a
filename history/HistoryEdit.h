// The editing commands of the history list view: comments, deleting,
// moving, dropped files, the attached text file and the context menu.  Each
// changes the rows, then rebuilds the list (SyncFromView) and marks it
// changed; the caller refreshes the command states.
#pragma once

#include <windows.h>

#include <shellapi.h>

// The focused and selected row, else the first selected one, goes into
// in-place comment editing.
void BeginCommentEdit();
// Each returns 1 when the rows changed.
int DeleteSelected();
int MoveUp();
int MoveDown();
// One comment for every selected row (dialog 132); 0 when cancelled.
int BatchEditComment();
// Attaches a text file of the history folder to the one selected row
// (dialog 152); 0 when refused.
int ChooseTextFile();
// Adds a row for each dropped file until the list is full; frees `drop`.
void DropFiles(HDROP drop);
// The list's context menu at a screen position; (-1, -1), a request from
// the keyboard, shows it under the focused row.
void ShowContextMenu(HWND owner, int x, int y);
