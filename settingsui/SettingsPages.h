// The pages of the settings sheet and what they share.  Used by the sheet
// and the key panel only.
#pragma once

#include <windows.h>

#include <stddef.h>

// What a page does with its three messages: fill its controls, follow a
// command, store its controls on OK.  The sheet's one page procedure calls
// them.
struct PageHandlers {
    BOOL (*init)(HWND page, HWND focus, LPARAM lParam);
    void (*command)(HWND page, int id, HWND control, UINT code);
    INT_PTR (*apply)(HWND page);
};

extern const PageHandlers SaveFilePageHandlers;
extern const PageHandlers HistoryPageHandlers;
extern const PageHandlers FileFormatPageHandlers;
extern const PageHandlers FontPageHandlers;

// Registers the common controls the pages and the panel use (hotkey,
// track bar, extended combo box).
void InitSettingsControls();

// While a page fills its controls at WM_INITDIALOG it ignores their
// notifications; the flag lives in the page's DWLP_USER.
class PageFilling {
public:
    explicit PageFilling(HWND page);
    ~PageFilling();
    PageFilling(const PageFilling&) = delete;
    PageFilling& operator=(const PageFilling&) = delete;

private:
    HWND page;
};
bool IsPageFilling(HWND page);

bool IsChecked(HWND page, int id);
// Reads an edit into a text field, cut on a character boundary.
void ReadItemText(HWND page, int id, char* out, size_t outSize);
int ReadItemNumber(HWND page, int id);

// The answer to PSN_APPLY.  A refused apply brings the page to the front
// and puts the caret into the field that holds the refused value.
INT_PTR AcceptApply(HWND page);
INT_PTR RefuseApply(HWND page, int field);
