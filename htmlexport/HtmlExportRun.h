// The HTML export command (32789): the export dialog, then the pages of the
// whole history, with a wait cursor and progress in the main window's status
// bar while they are written, and a finishing message that also tells of
// images that could not be copied.
#pragma once

#include <windows.h>

// How the export reaches the main window, which is built on top of it:
// progress text for the status bar's second part while pages are written
// ("HTML出力中 n / N", records written of all records), and its end.
// Wired once at start-up; either function may be NULL.
struct HtmlExportLink {
    void (*showProgress)(const char* text);
    void (*clearProgress)();
};
void SetHtmlExportLink(const HtmlExportLink& link);

// Runs the command with the main window as the owner of every box.
void ExportHistoryAsHtml(HINSTANCE instance, HWND mainWindow);
