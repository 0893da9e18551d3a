#include "htmlexport/HtmlExportDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include "base/ByteString.h"
#include "base/ColorDialog.h"
#include "base/FolderDialog.h"
#include "base/MessageBox.h"
#include "base/ModalOwner.h"
#include "base/Texts.h"
#include "htmlexport/HtmlExportValues.h"
#include "resources/resource.h"
#include "settings/Settings.h"

namespace {

const char* const LayoutNames[] = {
    "レイアウト１", "レイアウト２", "レイアウト３", "レイアウト４", "レイアウト５", "レイアウト６",
};

// The preview of each layout, in layout order.
const int PreviewIds[] = {
    IDC_HTML_PREVIEW1, IDC_HTML_PREVIEW2, IDC_HTML_PREVIEW3,
    IDC_HTML_PREVIEW4, IDC_HTML_PREVIEW5, IDC_HTML_PREVIEW6,
};

// The controls that only layouts with a description cell use.
const int DescriptionWidthIds[] = { IDC_HTML_TEXT_NONE, IDC_HTML_TEXT_GIVEN, IDC_HTML_TEXT_FIT };

// Numbers are read from edits of this many characters at most.
enum { NumberTextSize = 32, MessageSize = 128 };

} // namespace

// --- the private copy ---------------------------------------------------------

static HtmlChoices ChoicesFromSettings(const Settings& s) {
    HtmlChoices c = {};
    c.layout = ValidLayout(s.htmlLayout);
    c.perPage = s.htmlPerPage;
    c.imageWidth = s.htmlImageWidth;
    c.commentWidth = s.htmlCommentWidth;
    CopyText(c.folder, countof(c.folder), s.htmlFolder);
    CopyText(c.filePrefix, countof(c.filePrefix), s.htmlFilePrefix);
    c.noImageCopy = s.htmlNoImageCopy;
    c.frameColor = (uint32_t)s.htmlFrameColor;
    c.backColor = (uint32_t)s.htmlBackColor;
    c.perRow = s.htmlPerRow;
    return c;
}

static void StoreChoices(const HtmlChoices& c, Settings& s) {
    s.htmlLayout = c.layout;
    s.htmlPerPage = c.perPage;
    s.htmlImageWidth = c.imageWidth;
    s.htmlCommentWidth = c.commentWidth;
    CopyText(s.htmlFolder, countof(s.htmlFolder), c.folder);
    CopyText(s.htmlFilePrefix, countof(s.htmlFilePrefix), c.filePrefix);
    s.htmlNoImageCopy = c.noImageCopy;
    s.htmlFrameColor = (int)c.frameColor;
    s.htmlBackColor = (int)c.backColor;
    s.htmlPerRow = c.perRow;
}

// What the dialog works on: the private copy, and whether the swatches are
// stand-ins (the rich-edit library is missing).
struct ExportDialogState {
    HtmlChoices choices;
    bool noSwatches;
};

static ExportDialogState& StateOf(HWND dialog) {
    return *(ExportDialogState*)GetWindowLongPtrA(dialog, DWLP_USER);
}

static HtmlChoices& ChoicesOf(HWND dialog) {
    return StateOf(dialog).choices;
}

// --- controls -------------------------------------------------------------------

static bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

static void SetChecked(HWND dialog, int id, bool checked) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

static void EnableItem(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

static void SetNumber(HWND dialog, int id, int value) {
    char text[NumberTextSize];
    FormatText(text, countof(text), "%d", value);
    SetDlgItemTextA(dialog, id, text);
}

static int ReadNumber(HWND dialog, int id) {
    char text[NumberTextSize] = "";
    GetDlgItemTextA(dialog, id, text, countof(text));
    return ParseDecimal(text);
}

static void PaintSwatch(HWND dialog, int id, uint32_t color) {
    HWND swatch = GetDlgItem(dialog, id);
    SendMessageA(swatch, EM_SETBKGNDCOLOR, 0, (LPARAM)color);
    InvalidateRect(swatch, NULL, TRUE);
}

// Shows the preview of `layout` alone, and lets the description width be
// chosen only for layouts that have a description cell.  The radio
// selection and the numbers stay as they are.
static void UpdateLayoutControls(HWND dialog, int layout) {
    for (int i = 0; i < (int)countof(PreviewIds); i++)
        ShowWindow(GetDlgItem(dialog, PreviewIds[i]), i == layout ? SW_SHOW : SW_HIDE);
    bool described = LayoutHasDescription(layout);
    for (int id : DescriptionWidthIds)
        EnableItem(dialog, id, described);
    EnableItem(dialog, IDC_HTML_TEXT_WIDTH, described && IsChecked(dialog, IDC_HTML_TEXT_GIVEN));
}

// --- opening ----------------------------------------------------------------------

static void FillTexts(HWND dialog, const HtmlChoices& c) {
    // One byte of each buffer is the terminator.
    SendDlgItemMessageA(dialog, IDC_HTML_FOLDER, EM_LIMITTEXT, countof(c.folder) - 1, 0);
    SendDlgItemMessageA(dialog, IDC_HTML_RULE, EM_LIMITTEXT, countof(c.filePrefix) - 1, 0);
    SetNumber(dialog, IDC_HTML_PERPAGE, c.perPage);
    SetDlgItemTextA(dialog, IDC_HTML_FOLDER, c.folder);
    SetDlgItemTextA(dialog, IDC_HTML_RULE, c.filePrefix);
}

static void FillLayouts(HWND dialog, int layout) {
    HWND combo = GetDlgItem(dialog, IDC_HTML_LAYOUT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < (int)countof(LayoutNames); i++)
        SendMessageA(combo, CB_INSERTSTRING, (WPARAM)i, (LPARAM)LayoutNames[i]);
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)layout, 0);
}

static void FillWidths(HWND dialog, const HtmlChoices& c) {
    WidthChoice image = ImageWidthChoice(c.imageWidth);
    SetChecked(dialog, IDC_HTML_IMAGE_NONE, image == WidthNotGiven);
    SetChecked(dialog, IDC_HTML_IMAGE_GIVEN, image == WidthGiven);
    EnableItem(dialog, IDC_HTML_IMAGE_WIDTH, image == WidthGiven);
    if (image == WidthGiven)
        SetNumber(dialog, IDC_HTML_IMAGE_WIDTH, c.imageWidth);

    WidthChoice comment = CommentWidthChoice(c.commentWidth);
    SetChecked(dialog, IDC_HTML_TEXT_NONE, comment == WidthNotGiven);
    SetChecked(dialog, IDC_HTML_TEXT_GIVEN, comment == WidthGiven);
    SetChecked(dialog, IDC_HTML_TEXT_FIT, comment == WidthFitsText);
    EnableItem(dialog, IDC_HTML_TEXT_WIDTH, comment == WidthGiven);
    if (comment == WidthGiven)
        SetNumber(dialog, IDC_HTML_TEXT_WIDTH, c.commentWidth);
}

static void FillCounts(HWND dialog, const HtmlChoices& c) {
    SetNumber(dialog, IDC_HTML_PERROW, c.perRow);
    SendDlgItemMessageA(dialog, IDC_HTML_PERPAGE_SPIN, UDM_SETRANGE32, PerPageMin, PerPageMax);
    SendDlgItemMessageA(dialog, IDC_HTML_PERPAGE_SPIN, UDM_SETPOS32, 0, c.perPage);
    SendDlgItemMessageA(dialog, IDC_HTML_PERROW_SPIN, UDM_SETRANGE32, PerRowMin, PerRowMax);
    SendDlgItemMessageA(dialog, IDC_HTML_PERROW_SPIN, UDM_SETPOS32, 0, c.perRow);
}

// Lays the six previews over one another at the place of the first, each two
// fifths of the dialog's width wide and two thirds of that high.
static void StackPreviews(HWND dialog) {
    RECT window;
    GetWindowRect(dialog, &window);
    int width = (window.right - window.left) * 2 / 5;
    int height = width * 30 / 45;
    RECT first;
    GetWindowRect(GetDlgItem(dialog, PreviewIds[0]), &first);
    POINT at = { first.left, first.top };
    ScreenToClient(dialog, &at);
    for (int id : PreviewIds)
        MoveWindow(GetDlgItem(dialog, id), at.x, at.y, width, height, FALSE);
}

// Stand-in swatches show nothing: they are hidden, and the colours are
// still chosen with their "..." buttons.
static void HideStandInSwatches(HWND dialog) {
    if (!StateOf(dialog).noSwatches)
        return;
    ShowWindow(GetDlgItem(dialog, IDC_HTML_BACK_SWATCH), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_HTML_FRAME_SWATCH), SW_HIDE);
}

static BOOL OnInitDialog(HWND dialog, ExportDialogState* state) {
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)state);
    const HtmlChoices& c = state->choices;
    FillTexts(dialog, c);
    FillLayouts(dialog, c.layout);
    FillWidths(dialog, c);
    FillCounts(dialog, c);
    StackPreviews(dialog);
    SetChecked(dialog, IDC_HTML_NOCOPY, c.noImageCopy != 0);
    UpdateLayoutControls(dialog, c.layout);
    PaintSwatch(dialog, IDC_HTML_BACK_SWATCH, c.frameColor);
    PaintSwatch(dialog, IDC_HTML_FRAME_SWATCH, c.backColor);
    HideStandInSwatches(dialog);
    return TRUE;
}

// --- commands ---------------------------------------------------------------------

static void OnLayoutChange(HWND dialog) {
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_HTML_LAYOUT, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return;
    ChoicesOf(dialog).layout = (int)selected;
    UpdateLayoutControls(dialog, (int)selected);
}

// The standard colour dialog, starting from the swatch's colour; its custom
// colours are a scratch table that is not kept.
static void ChooseSwatchColor(HWND dialog, int swatchId, uint32_t* color) {
    COLORREF custom[16];
    for (COLORREF& c : custom)
        c = RGB(255, 255, 255);
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = dialog;
    cc.rgbResult = *color;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT;
    if (!RunColorDialog(&cc))
        return;
    *color = cc.rgbResult;
    PaintSwatch(dialog, swatchId, *color);
}

// The folder browser; a chosen folder replaces the output folder.
static bool BrowseOutputFolder(HWND owner) {
    HtmlChoices& c = ChoicesOf(owner);
    char folder[PathSize];
    CopyText(folder, countof(folder), c.folder);
    if (!RunFolderDialog(owner, TextChooseFolder, folder, countof(folder)))
        return false;
    CopyText(c.folder, countof(c.folder), folder);
    SetDlgItemTextA(owner, IDC_HTML_FOLDER, c.folder);
    return true;
}

// Says what is wrong and puts the user back on the field (an edit's text
// selected, as the dialog manager does); the dialog stays open.
static void RefuseField(HWND dialog, int id, const char* text) {
    AppMessageBox(dialog, text, CaptionError, MB_OK | MB_ICONWARNING);
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, id), TRUE);
}

// False, after telling the user, when a field cannot be used.
static bool AcceptFields(HWND dialog, int perRow, int perPage) {
    char text[MessageSize];
    switch (CheckExportFields(perRow, perPage, ChoicesOf(dialog).folder)) {
    case PerRowOutOfRange:
        FormatText(text, countof(text), "１行項目数は%dから%dの値を入力してください。", PerRowMin, PerRowMax);
        RefuseField(dialog, IDC_HTML_PERROW, text);
        return false;
    case PerPageOutOfRange:
        FormatText(text, countof(text), "１ページの項目数は%dから%dの値を入力してください。", PerPageMin,
                   PerPageMax);
        RefuseField(dialog, IDC_HTML_PERPAGE, text);
        return false;
    case OutputFolderMissing:
        RefuseField(dialog, IDC_HTML_BROWSE, "出力先のフォルダを選択してください。");
        return false;
    case FieldsAccepted:
        break;
    }
    return true;
}

static void ConfirmExport(HWND dialog) {
    char perRowText[PerRowTextLength + 1] = "";
    GetDlgItemTextA(dialog, IDC_HTML_PERROW, perRowText, countof(perRowText));
    int perRow = ParseDecimal(perRowText);
    int perPage = ReadNumber(dialog, IDC_HTML_PERPAGE);
    if (!AcceptFields(dialog, perRow, perPage))
        return;
    HtmlChoices& c = ChoicesOf(dialog);
    c.perRow = perRow;
    c.perPage = perPage;
    char rule[PathSize + 1] = "";
    GetDlgItemTextA(dialog, IDC_HTML_RULE, rule, countof(rule));
    CopyText(c.filePrefix, countof(c.filePrefix), rule);
    c.imageWidth = WidthOf(IsChecked(dialog, IDC_HTML_IMAGE_NONE) ? WidthNotGiven : WidthGiven,
                           ReadNumber(dialog, IDC_HTML_IMAGE_WIDTH));
    WidthChoice comment = IsChecked(dialog, IDC_HTML_TEXT_NONE)  ? WidthNotGiven
                          : IsChecked(dialog, IDC_HTML_TEXT_FIT) ? WidthFitsText
                                                                 : WidthGiven;
    c.commentWidth = WidthOf(comment, ReadNumber(dialog, IDC_HTML_TEXT_WIDTH));
    c.noImageCopy = IsChecked(dialog, IDC_HTML_NOCOPY) ? 1 : 0;
    StoreChoices(c, gSettings);
    SaveHtmlSection(gSettings);
    EndDialog(dialog, 1);
}

static void OnCommand(HWND dialog, int id, UINT code) {
    switch (id) {
    case IDC_HTML_LAYOUT:
        if (code == CBN_SELCHANGE)
            OnLayoutChange(dialog);
        break;
    case IDC_HTML_IMAGE_NONE:
    case IDC_HTML_IMAGE_GIVEN:
        EnableItem(dialog, IDC_HTML_IMAGE_WIDTH, id == IDC_HTML_IMAGE_GIVEN);
        break;
    case IDC_HTML_TEXT_NONE:
    case IDC_HTML_TEXT_GIVEN:
    case IDC_HTML_TEXT_FIT:
        EnableItem(dialog, IDC_HTML_TEXT_WIDTH, id == IDC_HTML_TEXT_GIVEN);
        break;
    case IDC_HTML_BACK_CHOOSE:
        ChooseSwatchColor(dialog, IDC_HTML_BACK_SWATCH, &ChoicesOf(dialog).frameColor);
        break;
    case IDC_HTML_FRAME_CHOOSE:
        ChooseSwatchColor(dialog, IDC_HTML_FRAME_SWATCH, &ChoicesOf(dialog).backColor);
        break;
    case IDC_HTML_BROWSE:
        BrowseOutputFolder(dialog);
        break;
    case IDC_HTML_EXPORT:
        ConfirmExport(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, 2);
        break;
    }
}

static INT_PTR CALLBACK HtmlExportDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, (ExportDialogState*)lParam);
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The swatches are rich-edit controls.  Where the library that makes them
// is missing, a plain window class of the same name stands in for the time
// the dialog is open, so that the dialog can still be made.
static const char RichEditClass[] = "RICHEDIT";

static bool RegisterSwatchStandIn(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExA(instance, RichEditClass, &wc))
        return false;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = RichEditClass;
    return RegisterClassExA(&wc) != 0;
}

int RunHtmlExportDialog(HINSTANCE instance, HWND owner) {
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_UPDOWN_CLASS };
    InitCommonControlsEx(&controls);
    ExportDialogState state = { ChoicesFromSettings(gSettings), RegisterSwatchStandIn(instance) };
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_HTMLEXPORT), ModalOwner(owner),
                                     HtmlExportDialogProc, (LPARAM)&state);
    if (state.noSwatches)
        UnregisterClassA(RichEditClass, instance);
    // A dialog that could not be opened has changed nothing either.
    return result == 1 ? 1 : 2;
}
