// A byte limit for edit controls.  EM_LIMITTEXT counts characters wherever
// the control keeps its text as Unicode (the list view's label editor, and
// every edit under Wine), so a Shift_JIS field of N bytes would take N
// double-byte characters and then be cut when read.  The limit here refuses,
// with a beep, any input that would make the text longer than the field
// keeps: typing, pasting, the input method's result, undo.
#pragma once

#include <windows.h>

#include <stddef.h>

// Installs the limit on `edit` for the rest of its life.
void LimitEditBytes(HWND edit, size_t maxBytes);
