// The HTML page generator: writes the whole history list as numbered static
// pages (<outputFolder>\<fileNameRule><n>.htm) in one of six record layouts
// and copies each record's image beside them, because the pages refer to the
// images by their bare file names.  It reads gHistory and the [HTML] values of
// gSettings and changes neither.
//
// The export command calls SetJob with the values the dialog stored and then
// GeneratePages; everything else lives inside one GeneratePages call.
#pragma once

#include <windows.h>

#include "htmlexport/HtmlText.h"

enum {
    LayoutCount = 6, // "レイアウト１" (0) to "レイアウト６" (5)
};

struct HtmlExportJob {
    int layout;           // 0 to 5
    int itemsPerPage;     // records on one page, at least 1
    int imageWidth;       // pixels written into every image tag; negative: none
    int descriptionWidth; // pixels of the description cell; -1 none, -2 fits the text
    char outputFolder[HtmlFolderSize];
    char fileNameRule[HtmlRuleSize]; // stem of the page names, "page" by default
};

// The job of the next export, set by SetJob.
extern HtmlExportJob gHtmlExportJob;

// Stores the job (the strings are copied).  A layout outside 0 to 5 is taken
// as 0 and a page size below 1 as 1, so that neither reaches GeneratePages;
// returns false when a value had to be changed that way or a text was cut.
bool SetJob(int layout, int itemsPerPage, int imageWidth, int descriptionWidth, const char* outputFolder,
            const char* fileNameRule);

// How an export goes, for the command that runs it and shows it.
struct HtmlExportStatus {
    // Called after each row group with the records written so far and the
    // number of records; NULL for none.
    void (*onProgress)(int done, int total);
    // Set by GeneratePages: the images that were to be copied beside the
    // pages but are not there (the copy failed, or the image has the name of
    // one of the pages, which it must not replace).
    int failedCopies;
};

// Writes every page of gHistory, owning its message boxes to `owner`.  True
// when all pages are written or the user declined to overwrite one (the
// pages before it stay); false, after an error box, when a page cannot be
// opened or written.  The caller shows the completion message on true.
bool GeneratePages(HWND owner, HtmlExportStatus* status = NULL);

// For tests: replaces CopyFileA underneath the image copy; NULL restores it.
typedef BOOL(WINAPI* CopyFileFn)(LPCSTR source, LPCSTR destination, BOOL failIfExists);
void SetCopyFileHook(CopyFileFn fn);
