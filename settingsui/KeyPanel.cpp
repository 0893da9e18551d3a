#include "settingsui/KeyPanel.h"

#include <commctrl.h>
#include <windowsx.h>

#include "base/ByteString.h"
#include "base/Dpi.h"
#include "base/WinHandles.h"
#include "capture/CaptureMath.h"
#include "capture/Hotkeys.h"
#include "capture/Markings.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "settingsui/SettingsPages.h"

enum {
    PictureCount = 4,
    PictureCellWidth = 30, // at 96 DPI
    FirstPictureRow = 4, // rows 4 and 5 paint a cursor picture
    PictureRowCount = 2,
};

// Row i edits gSettings.hotkeys[i], hotkey identifier 102 + i.
static const int ToggleIds[HotkeyCount] = {
    IDC_KEYPANEL_TOGGLE0,     IDC_KEYPANEL_TOGGLE0 + 1, IDC_KEYPANEL_TOGGLE0 + 2, IDC_KEYPANEL_TOGGLE0 + 3,
    IDC_KEYPANEL_TOGGLE0 + 4, IDC_KEYPANEL_TOGGLE0 + 5, IDC_KEYPANEL_TOGGLE0 + 6, IDC_KEYPANEL_TOGGLE0 + 7,
};
static const int HotkeyIds[HotkeyCount] = {
    IDC_KEYPANEL_HOTKEY0,     IDC_KEYPANEL_HOTKEY1,     IDC_KEYPANEL_HOTKEY1 + 1, IDC_KEYPANEL_HOTKEY1 + 2,
    IDC_KEYPANEL_HOTKEY1 + 3, IDC_KEYPANEL_HOTKEY1 + 4, IDC_KEYPANEL_HOTKEY1 + 5, IDC_KEYPANEL_HOTKEY1 + 6,
};
// The picture list of rows 4 and 5 and the first of the four pictures
// beside each.
static const int PictureListIds[PictureRowCount] = { IDC_KEYPANEL_PICTURES4, IDC_KEYPANEL_PICTURES5 };
static const int FirstPictureIds[PictureRowCount] = { IDC_KEYPANEL_PICTURE4_0, IDC_KEYPANEL_PICTURE5_0 };

static const char TextEnabled[] = "有効";
static const char TextDisabled[] = "無効";
// Enabled, but the combination could not be registered: another program
// holds it, or an earlier row has it.
static const char TextHeldElsewhere[] = "使用中";
static const char PictureItemFormat[] = "イメージ%d";

struct KeyPanelState {
    HIMAGELIST pictures;
    HBITMAP shown[PictureCount]; // the pictures beside the lists when drawn larger, else NULL
    bool filling; // controls are being filled: their notifications are ignored
};

static KeyPanelState* PanelState(HWND panel) {
    return (KeyPanelState*)GetWindowLongPtrA(panel, DWLP_USER);
}

static int RowOf(const int* ids, int count, int id) {
    for (int i = 0; i < count; i++)
        if (ids[i] == id)
            return i;
    return -1;
}

// --- showing ---------------------------------------------------------------------

static void ShowRowState(HWND panel, int row) {
    bool enabled = gSettings.hotkeys[row].enabled != 0;
    const char* text = !enabled ? TextDisabled
                       : IsCaptureMonitoring() && HotkeyRegistrationFailed(row) ? TextHeldElsewhere
                                                                                : TextEnabled;
    CheckDlgButton(panel, ToggleIds[row], enabled ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(panel, ToggleIds[row], text);
    // An enabled key is fixed; switch the row off to change it.
    EnableWindow(GetDlgItem(panel, HotkeyIds[row]), !enabled);
}

void RefreshKeyPanel(HWND panel) {
    if (!panel)
        return;
    for (int row = 0; row < HotkeyCount; row++)
        ShowRowState(panel, row);
}

// Only the picture of the chosen index is visible.
static void ShowPicture(HWND panel, int pictureRow, int choice) {
    for (int j = 0; j < PictureCount; j++)
        ShowWindow(GetDlgItem(panel, FirstPictureIds[pictureRow] + j), j == choice ? SW_SHOW : SW_HIDE);
}

// The four pictures of a group take the place of the group's first one.
static void StackPictures(HWND panel, int firstId) {
    RECT r;
    GetWindowRect(GetDlgItem(panel, firstId), &r);
    POINT corners[2] = { { r.left, r.top }, { r.right, r.bottom } };
    ScreenToClient(panel, &corners[0]);
    ScreenToClient(panel, &corners[1]);
    for (int j = 1; j < PictureCount; j++)
        MoveWindow(GetDlgItem(panel, firstId + j), corners[0].x, corners[0].y, corners[1].x - corners[0].x,
                   corners[1].y - corners[0].y, TRUE);
}

// The pictures beside the lists at the panel's DPI: the 16-pixel ones of
// the template, or the four of a larger strip, cut apart.
static void LoadShownPictures(HINSTANCE instance, int dpi, HBITMAP shown[PictureCount]) {
    int size = SmallPictureSize(dpi);
    if (size == SmallPictureSizes[0])
        return;
    int id = size == SmallPictureSizes[1] ? IDB_PICTURES_24 : IDB_PICTURES_32;
    ScopedBitmap strip((HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    ScopedWindowDC screen(NULL);
    ScopedCreatedDC from(CreateCompatibleDC(screen)), to(CreateCompatibleDC(screen));
    if (!strip || !from || !to)
        return;
    ScopedSelect source(from, strip);
    for (int j = 0; j < PictureCount; j++) {
        shown[j] = CreateCompatibleBitmap(screen, size, size);
        ScopedSelect target(to, shown[j]);
        BitBlt(to, 0, 0, size, size, from, j * size, 0, SRCCOPY);
    }
}

static void ShowLargerPictures(HWND panel, int firstId, const HBITMAP shown[PictureCount]) {
    for (int j = 0; j < PictureCount && shown[j]; j++) {
        HANDLE old = (HANDLE)SendDlgItemMessageA(panel, firstId + j, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)shown[j]);
        if (old && old != shown[j])
            DeleteObject(old);
    }
}

// The strip of the list's pictures drawn nearest their size at `dpi`.
static HIMAGELIST LoadListPictures(HINSTANCE instance, int dpi) {
    int strip = CursorStripFor(ScaleForDpi(PictureCellWidth, dpi));
    return ImageList_LoadImageA(instance, MAKEINTRESOURCEA(CursorStripIds[strip]), CursorStripCells[strip], 0,
                                RGB(255, 255, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

static void FillPictureList(HWND panel, int pictureRow, HIMAGELIST pictures) {
    HWND list = GetDlgItem(panel, PictureListIds[pictureRow]);
    SendMessageA(list, CBEM_SETIMAGELIST, 0, (LPARAM)pictures);
    for (int j = 0; j < PictureCount; j++) {
        char text[32];
        FormatText(text, countof(text), PictureItemFormat, j + 1);
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = j;
        item.pszText = text;
        item.iImage = j;
        item.iSelectedImage = j;
        SendMessageA(list, CBEM_INSERTITEMA, 0, (LPARAM)&item);
    }
    int choice = gSettings.hotkeys[FirstPictureRow + pictureRow].choice;
    SendMessageA(list, CB_SETCURSEL, (WPARAM)choice, 0);
    StackPictures(panel, FirstPictureIds[pictureRow]);
    ShowPicture(panel, pictureRow, choice);
}

static BOOL OnInitDialog(HWND panel, HWND, LPARAM) {
    KeyPanelState* state = new KeyPanelState();
    state->filling = true;
    SetWindowLongPtrA(panel, DWLP_USER, (LONG_PTR)state);
    for (int row = 0; row < HotkeyCount; row++) {
        const HotkeySetting& h = gSettings.hotkeys[row];
        SendDlgItemMessageA(panel, HotkeyIds[row], HKM_SETHOTKEY, MAKEWORD(h.virtualKey, h.modifiers), 0);
        ShowRowState(panel, row);
    }
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(panel, GWLP_HINSTANCE);
    int dpi = WindowDpi(panel);
    state->pictures = LoadListPictures(instance, dpi);
    LoadShownPictures(instance, dpi, state->shown);
    for (int pictureRow = 0; pictureRow < PictureRowCount; pictureRow++) {
        ShowLargerPictures(panel, FirstPictureIds[pictureRow], state->shown);
        FillPictureList(panel, pictureRow, state->pictures);
    }
    state->filling = false;
    // The panel sits in a tab that may be hidden: it takes no focus.
    return FALSE;
}

// --- changes ---------------------------------------------------------------------

// Registers the hotkeys anew so that a change works at once.
static void ReregisterHotkeys(HWND panel) {
    if (!IsCaptureMonitoring())
        return;
    HWND owner = GetAncestor(panel, GA_ROOT);
    StopMonitoring(owner);
    StartMonitoring(owner);
}

// Switching a row on takes the keys from its hotkey control; switching it
// off keeps them for the next time.
static void ToggleRow(HWND panel, int row) {
    HotkeySetting& h = gSettings.hotkeys[row];
    if (IsDlgButtonChecked(panel, ToggleIds[row]) == BST_CHECKED) {
        WORD keys = LOWORD(SendDlgItemMessageA(panel, HotkeyIds[row], HKM_GETHOTKEY, 0, 0));
        h.modifiers = HIBYTE(keys);
        h.virtualKey = LOBYTE(keys);
        h.enabled = 1;
    } else {
        h.enabled = 0;
    }
    SaveSettings(gSettings);
    ReregisterHotkeys(panel);
    // Another row's registration may have changed with this one.
    RefreshKeyPanel(panel);
}

static void ChoosePicture(HWND panel, int pictureRow) {
    int choice = (int)SendDlgItemMessageA(panel, PictureListIds[pictureRow], CB_GETCURSEL, 0, 0);
    gSettings.hotkeys[FirstPictureRow + pictureRow].choice = choice;
    SaveSettings(gSettings);
    ShowPicture(panel, pictureRow, choice);
}

static void OnCommand(HWND panel, int id, HWND, UINT code) {
    KeyPanelState* state = PanelState(panel);
    if (!state || state->filling)
        return;
    int row = RowOf(ToggleIds, HotkeyCount, id);
    if (row >= 0 && code == BN_CLICKED)
        ToggleRow(panel, row);
    int pictureRow = RowOf(PictureListIds, PictureRowCount, id);
    if (pictureRow >= 0 && code == CBN_SELCHANGE)
        ChoosePicture(panel, pictureRow);
}

// The lists only borrow the image list, and the pictures beside them their
// bitmaps: they go with the panel.
static void OnDestroy(HWND panel) {
    KeyPanelState* state = PanelState(panel);
    SetWindowLongPtrA(panel, DWLP_USER, 0);
    if (state && state->pictures)
        ImageList_Destroy(state->pictures);
    for (int j = 0; state && j < PictureCount; j++)
        if (state->shown[j])
            DeleteObject(state->shown[j]);
    delete state;
}

static INT_PTR CALLBACK KeyPanelProc(HWND panel, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        HANDLE_MSG(panel, WM_INITDIALOG, OnInitDialog);
        HANDLE_MSG(panel, WM_COMMAND, OnCommand);
        HANDLE_MSG(panel, WM_DESTROY, OnDestroy);
    }
    return FALSE;
}

HWND CreateKeyPanel(HINSTANCE instance, HWND container) {
    InitSettingsControls();
    HWND panel = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_KEYPANEL), container, KeyPanelProc, 0);
    if (panel)
        ShowWindow(panel, SW_SHOW);
    return panel;
}
