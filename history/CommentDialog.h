// Dialog 132 "編集": one comment typed for the batch comment edit.
#pragma once

#include <windows.h>

#include <stddef.h>

// Shows the dialog with an empty edit.  Returns 1 when confirmed, with the
// text (at most 128 bytes, whole characters) in `comment`; 2 when
// cancelled, `comment` untouched.
int RunCommentDialog(HWND owner, char* comment, size_t commentSize);
