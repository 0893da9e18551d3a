// Dialog 152 "ファイル選択": choosing, or creating, a text file of the
// history folder for a record.
#pragma once

#include <windows.h>

#include <stddef.h>

// Lists the folder's *.TXT files.  Returns 1 with the chosen file name in
// `name` (empty for "選択しない"), or 2 when cancelled.  Files created with
// "追加" stay on disk whatever the result.
int RunTextFileDialog(HWND owner, const char* folder, char* name, size_t nameSize);
