// Opening a record's image or text file with the application chosen in the
// settings (or the system's associated program), by double-click, Enter,
// the "イメージ情報を開く" command and the text edit command.
#pragma once

#include <windows.h>

// Opens an image or text file; other kinds of file are left alone.
void OpenWithApp(const char* path);
// Opens a text file; any other path is left alone.
void OpenTextWithApp(const char* path);
// The row under a double-click (client coordinates): its image, or with
// Shift held its text file.
void OpenAtPoint(int x, int y);
// Every selected row's image (or text file with Shift), after asking when
// several are selected.
void OpenSelected();
// The one selected row's text file; 0 when refused.
int EditTextFile();
