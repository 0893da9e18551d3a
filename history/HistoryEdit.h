// The editing commands of the history list view: comments, deleting,
// moving, dropped files, opening images and texts with their programs, and
// the context menu.  Each changes the rows and then rebuilds the list.
#pragma once

#include <windows.h>

// The focused and selected row, else the first selected one, goes into
// in-place comment editing.
void BeginCommentEdit();
// Each returns 1 when the rows changed.
int DeleteSelected();
int MoveUp();
int MoveDown();
int BatchEditComment();
