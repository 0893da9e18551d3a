#include "settingsui/SettingsSheet.h"

#include <commctrl.h>

#include "base/ByteString.h"
#include "base/ModalOwner.h"
#include "resources/resource.h"
#include "settingsui/SettingsPages.h"

// The pages in the order of their tabs.  Each tab shows its dialog's
// caption.
struct SheetPage {
    int templateId;
    const PageHandlers* handlers;
};

static const SheetPage SheetPages[] = {
    { IDD_SAVEFILE, &SaveFilePageHandlers },
    { IDD_HISTORYPAGE, &HistoryPageHandlers },
    { IDD_FILEFORMAT, &FileFormatPageHandlers },
    { IDD_FONTPAGE, &FontPageHandlers },
};

static const char SheetCaption[] = "環境設定";
static const char HandlersProperty[] = "GyrolensPageHandlers";

// Every page's procedure: its handlers come with the page at WM_INITDIALOG
// and stay in a window property (DWLP_USER holds the filling flag).
static INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    const PageHandlers* h = (const PageHandlers*)GetPropA(page, HandlersProperty);
    switch (msg) {
    case WM_INITDIALOG:
        h = (const PageHandlers*)((const PROPSHEETPAGEA*)lParam)->lParam;
        SetPropA(page, HandlersProperty, (HANDLE)h);
        return h->init(page, (HWND)wParam, lParam);
    case WM_COMMAND:
        if (h)
            h->command(page, LOWORD(wParam), (HWND)lParam, HIWORD(wParam));
        return FALSE;
    case WM_NOTIFY:
        if (h && ((const NMHDR*)lParam)->code == PSN_APPLY)
            return h->apply(page);
        return FALSE;
    case WM_DESTROY:
        RemovePropA(page, HandlersProperty);
        return FALSE;
    }
    return FALSE;
}

void OpenSettingsSheet(HWND owner) {
    InitSettingsControls();
    HINSTANCE instance = GetModuleHandleA(NULL);
    HPROPSHEETPAGE pages[countof(SheetPages)];
    for (size_t i = 0; i < countof(SheetPages); i++) {
        PROPSHEETPAGEA page = {};
        page.dwSize = sizeof(page);
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = instance;
        page.pszTemplate = MAKEINTRESOURCEA(SheetPages[i].templateId);
        page.pfnDlgProc = PageProc;
        page.lParam = (LPARAM)SheetPages[i].handlers;
        pages[i] = CreatePropertySheetPageA(&page);
        if (!pages[i]) {
            while (i > 0)
                DestroyPropertySheetPage(pages[--i]);
            return;
        }
    }
    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_NOAPPLYNOW;
    sheet.hwndParent = ModalOwner(owner);
    sheet.hInstance = instance;
    sheet.pszCaption = SheetCaption;
    sheet.nPages = countof(SheetPages);
    sheet.nStartPage = 0;
    sheet.phpage = pages;
    PropertySheetA(&sheet);
}

// --- shared by the pages ---------------------------------------------------------

void InitSettingsControls() {
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_HOTKEY_CLASS | ICC_BAR_CLASSES | ICC_USEREX_CLASSES };
    InitCommonControlsEx(&controls);
}

PageFilling::PageFilling(HWND page) : page(page) {
    SetWindowLongPtrA(page, DWLP_USER, 1);
}

PageFilling::~PageFilling() {
    SetWindowLongPtrA(page, DWLP_USER, 0);
}

bool IsPageFilling(HWND page) {
    return GetWindowLongPtrA(page, DWLP_USER) != 0;
}

bool IsChecked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void ReadItemText(HWND page, int id, char* out, size_t outSize) {
    char text[1024] = "";
    GetDlgItemTextA(page, id, text, countof(text));
    CopyText(out, outSize, text);
}

int ReadItemNumber(HWND page, int id) {
    return (int)GetDlgItemInt(page, id, NULL, TRUE);
}

INT_PTR AcceptApply(HWND page) {
    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}

INT_PTR RefuseApply(HWND page, int field) {
    HWND sheet = GetParent(page);
    if (PropSheet_GetCurrentPageHwnd(sheet) != page)
        PropSheet_SetCurSel(sheet, NULL, PropSheet_HwndToIndex(sheet, page));
    HWND edit = GetDlgItem(page, field);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
    return TRUE;
}
