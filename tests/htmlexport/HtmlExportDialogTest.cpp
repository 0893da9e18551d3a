// The HTML export command with its real dialog under Wine: the dialog is
// opened by the command, driven through its controls inside its own loop,
// and judged by the settings record, the bytes of the settings file, the
// pages written and the boxes shown.
#include "htmlexport/HtmlExportRun.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <commdlg.h>
#include <string.h>

#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/ColorDialog.h"
#include "base/FolderDialog.h"
#include "history/HistoryFile.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

const int Orange = 0x000080FF; // "#ff8000"
const int Coffee = 0x00EEFFC0; // "#c0ffee"
const char Finished[] = "HTMLファイルの作成処理が終了しました。";
const int Previews[] = { IDC_HTML_PREVIEW1, IDC_HTML_PREVIEW2, IDC_HTML_PREVIEW3,
                         IDC_HTML_PREVIEW4, IDC_HTML_PREVIEW5, IDC_HTML_PREVIEW6 };

// What the export told the main window, and whether the wait cursor was up.
std::vector<std::string> gProgress;
int gCleared;
bool gWaitCursorSeen;

void RecordProgress(const char* text) {
    gProgress.push_back(text);
    gWaitCursorSeen = gWaitCursorSeen || GetCursor() == LoadCursorA(NULL, IDC_WAIT);
}

// Colour dialog answers: the colour to choose (or none), and what was asked.
struct ColorAsk {
    COLORREF initial;
    DWORD flags;
};
std::vector<ColorAsk> gColorAsks;
std::vector<COLORREF> gColorAnswers; // CLR_INVALID: the user cancels

bool AnswerColor(CHOOSECOLORA* cc) {
    gColorAsks.push_back({ cc->rgbResult, cc->Flags });
    COLORREF answer = gColorAnswers.empty() ? CLR_INVALID : gColorAnswers.front();
    if (!gColorAnswers.empty())
        gColorAnswers.erase(gColorAnswers.begin());
    if (answer == CLR_INVALID)
        return false;
    cc->rgbResult = answer;
    return true;
}

std::string gFolderAnswer; // empty: the user cancels
std::string gFolderTitle;

bool AnswerFolder(HWND, const char* title, char* path, size_t pathSize) {
    gFolderTitle = title;
    if (gFolderAnswer.empty())
        return false;
    CopyText(path, pathSize, gFolderAnswer.c_str());
    return true;
}

INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

bool Checked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SelectLayout(HWND dialog, int layout) {
    HWND combo = GetDlgItem(dialog, IDC_HTML_LAYOUT);
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)layout, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_HTML_LAYOUT, CBN_SELCHANGE), (LPARAM)combo);
}

int VisiblePreview(HWND dialog) {
    int shown = -1;
    for (int i = 0; i < 6; i++)
        if (IsWindowVisible(GetDlgItem(dialog, Previews[i])))
            shown = shown == -1 ? i : -2;
    return shown;
}

size_t Occurrences(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        n++;
    return n;
}

} // namespace

class HtmlExportDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadLibraryA("RICHED32.DLL"); }

    void SetUp() override {
        memcpy(&saved, &gSettings, sizeof(saved));
        CopyText(gSettings.iniPath, countof(gSettings.iniPath), dir.File("Gyrolens.ini").c_str());
        gSettings.htmlLayout = 0;
        gSettings.htmlPerPage = 10;
        gSettings.htmlImageWidth = -1;
        gSettings.htmlCommentWidth = -1;
        CopyText(gSettings.htmlFolder, countof(gSettings.htmlFolder), out.Path().c_str());
        CopyText(gSettings.htmlFilePrefix, countof(gSettings.htmlFilePrefix), "page");
        gSettings.htmlNoImageCopy = 0;
        gSettings.htmlFrameColor = Orange;
        gSettings.htmlBackColor = Coffee;
        gSettings.htmlPerRow = 2;
        SaveHtmlSection(gSettings);
        iniBefore = ReadFileBytes(gSettings.iniPath);
        InitHistoryList(gHistory, dir.Path().c_str());
        gProgress.clear();
        gCleared = 0;
        gWaitCursorSeen = false;
        gColorAsks.clear();
        gColorAnswers.clear();
        gFolderAnswer.clear();
        SetHtmlExportLink({ RecordProgress, [] { gCleared++; } });
        SetColorDialogHook(AnswerColor);
        SetFolderDialogHook(AnswerFolder);
        owner = CreateWindowExA(0, "STATIC", "Gyrolens", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, NULL,
                                NULL, NULL, NULL);
    }

    void TearDown() override {
        DestroyWindow(owner);
        SetHtmlExportLink({ NULL, NULL });
        SetColorDialogHook(NULL);
        SetFolderDialogHook(NULL);
        ClearHistoryRecords(gHistory);
        memcpy(&gSettings, &saved, sizeof(saved));
    }

    void AddImage(const std::string& name, bool create = true) {
        HistoryRecord& r = gHistory.records[gHistory.count++];
        memset(&r, 0, sizeof(r));
        CopyText(r.comment, countof(r.comment), name.c_str());
        CopyText(r.imagePath, countof(r.imagePath), images.File(name).c_str());
        if (create)
            WriteFileBytes(images.File(name), "image " + name);
    }

    // Runs command 32789; `act` works the dialog and must close it.
    void Export(DialogDriver::Action act) {
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            act(dialog);
            EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog is still open";
            if (IsWindowVisible(dialog))
                ClickButton(dialog, IDCANCEL);
        });
        ExportHistoryAsHtml(GetModuleHandleA(NULL), owner);
        EXPECT_TRUE(driver.Idle()) << "the dialog never opened";
    }

    std::string Ini() { return ReadFileBytes(gSettings.iniPath); }

    Settings saved;
    TempDir dir{ "html-dialog" };
    TempDir images{ "html-dialog-images" };
    TempDir out{ "html-dialog-out" };
    std::string iniBefore;
    HWND owner = NULL;
    MessageBoxRecorder boxes;
};

// --- the template ---------------------------------------------------------------------

TEST_F(HtmlExportDialogTest, TemplateHoldsEveryControlTheDialogUses) {
    struct {
        int id;
        const char* cls;
        LONG style; // bits that must be set
    } rows[] = {
        { IDC_HTML_FOLDER, "Edit", ES_READONLY },
        { IDC_HTML_BROWSE, "Button", 0 },
        { IDC_HTML_RULE, "Edit", 0 },
        { IDC_HTML_PERPAGE, "Edit", ES_NUMBER },
        { IDC_HTML_PERPAGE_SPIN, "msctls_updown32", UDS_SETBUDDYINT },
        { IDC_HTML_NOCOPY, "Button", BS_AUTOCHECKBOX },
        { IDC_HTML_LAYOUT, "ComboBox", CBS_DROPDOWNLIST },
        { IDC_HTML_PREVIEW1, "Static", SS_BITMAP },
        { IDC_HTML_PREVIEW2, "Static", SS_BITMAP },
        { IDC_HTML_PREVIEW3, "Static", SS_BITMAP },
        { IDC_HTML_PREVIEW4, "Static", SS_BITMAP },
        { IDC_HTML_PREVIEW5, "Static", SS_BITMAP },
        { IDC_HTML_PREVIEW6, "Static", SS_BITMAP },
        { IDC_HTML_BACK_SWATCH, "RichEdit", 0 },
        { IDC_HTML_BACK_CHOOSE, "Button", 0 },
        { IDC_HTML_FRAME_SWATCH, "RichEdit", 0 },
        { IDC_HTML_FRAME_CHOOSE, "Button", 0 },
        { IDC_HTML_IMAGE_NONE, "Button", BS_AUTORADIOBUTTON },
        { IDC_HTML_IMAGE_GIVEN, "Button", BS_AUTORADIOBUTTON },
        { IDC_HTML_IMAGE_WIDTH, "Edit", ES_NUMBER },
        { IDC_HTML_TEXT_NONE, "Button", BS_AUTORADIOBUTTON },
        { IDC_HTML_TEXT_GIVEN, "Button", BS_AUTORADIOBUTTON },
        { IDC_HTML_TEXT_FIT, "Button", BS_AUTORADIOBUTTON },
        { IDC_HTML_TEXT_WIDTH, "Edit", ES_NUMBER },
        { IDC_HTML_PERROW, "Edit", ES_NUMBER },
        { IDC_HTML_PERROW_SPIN, "msctls_updown32", UDS_SETBUDDYINT },
        { IDC_HTML_EXPORT, "Button", BS_DEFPUSHBUTTON },
        { IDCANCEL, "Button", 0 },
    };
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_UPDOWN_CLASS };
    InitCommonControlsEx(&controls);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_HTMLEXPORT), NULL, PassiveProc, 0);
    ASSERT_TRUE(dialog != NULL);
    EXPECT_EQ("HTML出力", WindowText(dialog));
    for (auto& r : rows) {
        HWND control = GetDlgItem(dialog, r.id);
        ASSERT_TRUE(control != NULL) << "control " << r.id;
        char cls[64] = "";
        GetClassNameA(control, cls, sizeof(cls));
        EXPECT_EQ(0, lstrcmpiA(r.cls, cls)) << "control " << r.id << " is a " << cls;
        EXPECT_EQ(r.style, GetWindowLongA(control, GWL_STYLE) & r.style) << "control " << r.id;
    }
    // Each preview holds its 45 x 30 picture.
    for (int id = 0; id < 6; id++) {
        HBITMAP picture = (HBITMAP)SendDlgItemMessageA(dialog, Previews[id], STM_GETIMAGE, IMAGE_BITMAP, 0);
        BITMAP bm = {};
        ASSERT_TRUE(picture && GetObjectA(picture, sizeof(bm), &bm)) << "preview " << id;
        EXPECT_EQ(45, bm.bmWidth);
        EXPECT_EQ(30, bm.bmHeight);
    }
    DestroyWindow(dialog);
}

// --- opening --------------------------------------------------------------------------

TEST_F(HtmlExportDialogTest, OpensWithTheStoredValues) {
    gSettings.htmlLayout = 2;
    gSettings.htmlPerPage = 7;
    gSettings.htmlImageWidth = 120;
    gSettings.htmlCommentWidth = -2;
    CopyText(gSettings.htmlFilePrefix, countof(gSettings.htmlFilePrefix), "pg");
    gSettings.htmlNoImageCopy = 1;
    gSettings.htmlPerRow = 3;
    Export([&](HWND d) {
        EXPECT_EQ(out.Path(), DialogItemText(d, IDC_HTML_FOLDER));
        EXPECT_EQ("pg", DialogItemText(d, IDC_HTML_RULE));
        EXPECT_EQ("7", DialogItemText(d, IDC_HTML_PERPAGE));
        EXPECT_EQ("3", DialogItemText(d, IDC_HTML_PERROW));
        EXPECT_EQ(6, SendDlgItemMessageA(d, IDC_HTML_LAYOUT, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(2, SendDlgItemMessageA(d, IDC_HTML_LAYOUT, CB_GETCURSEL, 0, 0));
        char name[32] = "";
        SendDlgItemMessageA(d, IDC_HTML_LAYOUT, CB_GETLBTEXT, 5, (LPARAM)name);
        EXPECT_STREQ("レイアウト６", name);
        EXPECT_EQ(2, VisiblePreview(d));
        EXPECT_TRUE(Checked(d, IDC_HTML_IMAGE_GIVEN));
        EXPECT_EQ("120", DialogItemText(d, IDC_HTML_IMAGE_WIDTH));
        EXPECT_TRUE(Enabled(d, IDC_HTML_IMAGE_WIDTH));
        // A stored -2: the text fits, and no number is asked for.
        EXPECT_TRUE(Checked(d, IDC_HTML_TEXT_FIT));
        EXPECT_FALSE(Checked(d, IDC_HTML_TEXT_GIVEN));
        EXPECT_FALSE(Enabled(d, IDC_HTML_TEXT_WIDTH));
        EXPECT_TRUE(Checked(d, IDC_HTML_NOCOPY));
        // The previews lie on one another, two fifths of the dialog wide.
        RECT dialogRect, first, last;
        GetWindowRect(d, &dialogRect);
        GetWindowRect(GetDlgItem(d, IDC_HTML_PREVIEW1), &first);
        GetWindowRect(GetDlgItem(d, IDC_HTML_PREVIEW6), &last);
        int width = (dialogRect.right - dialogRect.left) * 2 / 5;
        EXPECT_EQ(width, first.right - first.left);
        EXPECT_EQ(width * 30 / 45, first.bottom - first.top);
        EXPECT_TRUE(EqualRect(&first, &last));
        SaveWindowPng(d, "html_export_dialog");
        ClickButton(d, IDCANCEL);
    });
}

// Each width edit follows its radio buttons; the layouts without text
// disable the description width and keep its choice.
TEST_F(HtmlExportDialogTest, ImageOnlyLayoutsDisableTheDescriptionWidthAndKeepItsChoice) {
    gSettings.htmlCommentWidth = 50;
    const int describing[] = { IDC_HTML_TEXT_NONE, IDC_HTML_TEXT_GIVEN, IDC_HTML_TEXT_FIT, IDC_HTML_TEXT_WIDTH };
    const struct { int radio, edit; bool enabled; } radios[] = {
        { IDC_HTML_IMAGE_GIVEN, IDC_HTML_IMAGE_WIDTH, true }, { IDC_HTML_IMAGE_NONE, IDC_HTML_IMAGE_WIDTH, false },
        { IDC_HTML_TEXT_FIT, IDC_HTML_TEXT_WIDTH, false },    { IDC_HTML_TEXT_NONE, IDC_HTML_TEXT_WIDTH, false },
        { IDC_HTML_TEXT_GIVEN, IDC_HTML_TEXT_WIDTH, true },
    };
    Export([&](HWND d) {
        for (auto& r : radios) {
            ClickButton(d, r.radio);
            EXPECT_TRUE(Checked(d, r.radio)) << "radio " << r.radio;
            EXPECT_EQ(r.enabled, Enabled(d, r.edit)) << "after radio " << r.radio;
        }
        for (int layout : { 4, 5 }) {
            SelectLayout(d, layout);
            EXPECT_EQ(layout, VisiblePreview(d));
            for (int id : describing)
                EXPECT_FALSE(Enabled(d, id)) << "layout " << layout << ", control " << id;
        }
        SaveWindowPng(d, "html_export_dialog_layout6");
        SelectLayout(d, 0);
        EXPECT_EQ(0, VisiblePreview(d));
        for (int id : describing)
            EXPECT_TRUE(Enabled(d, id)) << "control " << id;
        EXPECT_TRUE(Checked(d, IDC_HTML_TEXT_GIVEN));
        EXPECT_EQ("50", DialogItemText(d, IDC_HTML_TEXT_WIDTH));
        ClickButton(d, IDCANCEL);
    });
}

// --- confirming -----------------------------------------------------------------------

TEST_F(HtmlExportDialogTest, FieldsThatCannotBeUsedAreRefusedAndTheDialogStays) {
    struct {
        int id;
        const char* text; // NULL: the output folder is empty
        const char* message;
    } rows[] = {
        { IDC_HTML_PERROW, "0", "１行項目数は1から5の値を入力してください。" },
        { IDC_HTML_PERROW, "6", "１行項目数は1から5の値を入力してください。" },
        { IDC_HTML_PERPAGE, "0", "１ページの項目数は1から100の値を入力してください。" },
        { IDC_HTML_PERPAGE, "", "１ページの項目数は1から100の値を入力してください。" },
        { IDC_HTML_PERPAGE, "101", "１ページの項目数は1から100の値を入力してください。" },
        { IDC_HTML_FOLDER, NULL, "出力先のフォルダを選択してください。" },
    };
    AddImage("a.jpg");
    for (auto& r : rows) {
        SCOPED_TRACE(r.message);
        boxes.messages.clear();
        if (!r.text)
            gSettings.htmlFolder[0] = '\0';
        Export([&](HWND d) {
            if (r.text)
                SetDlgItemTextA(d, r.id, r.text);
            ClickButton(d, IDC_HTML_EXPORT);
            EXPECT_TRUE(IsWindowVisible(d));
            if (r.text) {
                EXPECT_EQ(r.text, DialogItemText(d, r.id)) << "the field keeps its text";
            }
            ClickButton(d, IDCANCEL);
        });
        ASSERT_EQ(1u, boxes.messages.size());
        EXPECT_EQ(r.message, boxes.messages[0].text);
        EXPECT_EQ("エラー", boxes.messages[0].caption);
        EXPECT_EQ((UINT)MB_ICONWARNING, boxes.messages[0].flags & MB_ICONMASK);
        EXPECT_EQ(iniBefore, Ini());
        EXPECT_TRUE(FilesIn(out.Path()).empty());
    }
}

TEST_F(HtmlExportDialogTest, ConfirmingStoresTheChoicesAndWritesTheHtmlSection) {
    AddImage("a.jpg");
    Export([&](HWND d) {
        ClickButton(d, IDC_HTML_BROWSE); // cancelled: the folder stays
        EXPECT_EQ("フォルダを選択してください", gFolderTitle);
        EXPECT_EQ(out.Path(), DialogItemText(d, IDC_HTML_FOLDER));
        gFolderAnswer = dir.Path();
        ClickButton(d, IDC_HTML_BROWSE);
        EXPECT_EQ(dir.Path(), DialogItemText(d, IDC_HTML_FOLDER));
        SelectLayout(d, 3);
        SetDlgItemTextA(d, IDC_HTML_PERPAGE, "25");
        ClickButton(d, IDC_HTML_IMAGE_GIVEN);
        SetDlgItemTextA(d, IDC_HTML_IMAGE_WIDTH, "160");
        ClickButton(d, IDC_HTML_TEXT_FIT);
        SetDlgItemTextA(d, IDC_HTML_RULE, "頁");
        ClickButton(d, IDC_HTML_NOCOPY);
        SetDlgItemTextA(d, IDC_HTML_PERROW, "4");
        ClickButton(d, IDC_HTML_EXPORT);
    });
    EXPECT_EQ(3, gSettings.htmlLayout);
    EXPECT_EQ(25, gSettings.htmlPerPage);
    EXPECT_EQ(160, gSettings.htmlImageWidth);
    EXPECT_EQ(-2, gSettings.htmlCommentWidth);
    EXPECT_EQ(dir.Path(), gSettings.htmlFolder);
    EXPECT_STREQ("頁", gSettings.htmlFilePrefix);
    EXPECT_EQ(1, gSettings.htmlNoImageCopy);
    EXPECT_EQ(4, gSettings.htmlPerRow);
    EXPECT_EQ("[HTML]\r\nレイアウト=3\r\n最大イメージ数=25\r\nイメージ幅=160\r\nコメント幅=-2\r\n出力先=" + dir.Path() +
                  "\r\nファイル名=頁\r\n画像コピーしない=1\r\n枠色=33023\r\n背景色=15663040\r\n１行項目数=4\r\n",
              Ini());
    EXPECT_TRUE(PathExists(dir.File("頁1.htm")));
}

TEST_F(HtmlExportDialogTest, ColourUnderTheBackgroundLabelColoursTheRowsAsTheFrameKey) {
    AddImage("a.jpg");
    gColorAnswers = { RGB(0x12, 0x34, 0x56), CLR_INVALID };
    Export([&](HWND d) {
        ClickButton(d, IDC_HTML_BACK_CHOOSE);  // under "背景色": chosen
        ClickButton(d, IDC_HTML_FRAME_CHOOSE); // under "枠色": cancelled
        RECT r;
        GetWindowRect(GetDlgItem(d, IDC_HTML_BACK_SWATCH), &r);
        RECT inside = { r.right - 6, (r.top + r.bottom) / 2, r.right - 5, (r.top + r.bottom) / 2 + 1 };
        unsigned shown = 0;
        PumpUntil([&] { return (shown = GrabScreenRect(inside).At(0, 0)) == 0x123456u; }, 2000);
        EXPECT_EQ(0x123456u, shown) << "the swatch shows the new colour";
        ClickButton(d, IDC_HTML_EXPORT);
    });
    ASSERT_EQ(2u, gColorAsks.size());
    EXPECT_EQ((COLORREF)Orange, gColorAsks[0].initial);
    EXPECT_EQ((COLORREF)Coffee, gColorAsks[1].initial);
    EXPECT_EQ((DWORD)CC_RGBINIT, gColorAsks[0].flags & CC_RGBINIT);
    char value[32] = "";
    GetPrivateProfileStringA("HTML", "枠色", "", value, sizeof(value), gSettings.iniPath);
    EXPECT_STREQ("5649426", value); // 0x563412: red 0x12 in the lowest byte
    GetPrivateProfileStringA("HTML", "背景色", "", value, sizeof(value), gSettings.iniPath);
    EXPECT_STREQ("15663040", value);
    std::string page = ReadFileBytes(out.File("page1.htm"));
    EXPECT_EQ(2u, Occurrences(page, "<tr nowrap bgcolor='#123456'>"));
    EXPECT_EQ(1u, Occurrences(page, "<table bgcolor='#c0ffee'>"));
}

// Where the rich-edit library is missing the dialog still opens, without
// its colour swatches; a colour is still chosen and exported.
TEST_F(HtmlExportDialogTest, OpensWithoutTheRichEditLibrary) {
    for (int i = 0; i < 8 && GetModuleHandleA("RICHED32.DLL"); i++)
        FreeLibrary(GetModuleHandleA("RICHED32.DLL"));
    ASSERT_TRUE(GetModuleHandleA("RICHED32.DLL") == NULL);
    AddImage("a.jpg");
    gColorAnswers = { RGB(0x12, 0x34, 0x56) };
    Export([&](HWND d) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_HTML_BACK_SWATCH)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_HTML_FRAME_SWATCH)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_HTML_BACK_CHOOSE)));
        SaveWindowPng(d, "html_export_without_swatches");
        ClickButton(d, IDC_HTML_BACK_CHOOSE);
        ClickButton(d, IDC_HTML_EXPORT);
    });
    LoadLibraryA("RICHED32.DLL");
    EXPECT_EQ(2u, Occurrences(ReadFileBytes(out.File("page1.htm")), "<tr nowrap bgcolor='#123456'>"));
}

TEST_F(HtmlExportDialogTest, CancelAfterEditsChangesNothing) {
    AddImage("a.jpg");
    Settings before;
    memcpy(&before, &gSettings, sizeof(before));
    gColorAnswers = { RGB(1, 2, 3) };
    gFolderAnswer = dir.Path();
    Export([&](HWND d) {
        SelectLayout(d, 5);
        SetDlgItemTextA(d, IDC_HTML_PERPAGE, "3");
        SetDlgItemTextA(d, IDC_HTML_RULE, "other");
        ClickButton(d, IDC_HTML_NOCOPY);
        ClickButton(d, IDC_HTML_BACK_CHOOSE);
        ClickButton(d, IDC_HTML_BROWSE);
        ClickButton(d, IDCANCEL);
    });
    EXPECT_EQ(0, memcmp(&before, &gSettings, sizeof(before)));
    EXPECT_EQ(iniBefore, Ini());
    EXPECT_TRUE(FilesIn(out.Path()).empty());
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_TRUE(gProgress.empty());
}

// --- the export -----------------------------------------------------------------------

// An emptied given width writes width 0 into every image tag, page after
// page; images that cannot be copied are counted in the finishing message.
// (The message without failures: MainWindowTest.)
TEST_F(HtmlExportDialogTest, EmptyWidthGivesWidthZeroAndImagesNotCopiedAreCounted) {
    AddImage("a.jpg");
    AddImage("gone.jpg", false);
    AddImage("locked.jpg");
    HANDLE lock = CreateFileA(images.File("locked.jpg").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    Export([&](HWND d) {
        ClickButton(d, IDC_HTML_IMAGE_GIVEN);
        SetDlgItemTextA(d, IDC_HTML_IMAGE_WIDTH, "");
        SetDlgItemTextA(d, IDC_HTML_PERPAGE, "2");
        ClickButton(d, IDC_HTML_EXPORT);
    });
    CloseHandle(lock);
    EXPECT_EQ(0, gSettings.htmlImageWidth);
    std::string page1 = ReadFileBytes(out.File("page1.htm"));
    EXPECT_EQ(2u, Occurrences(page1, "<img src="));
    EXPECT_EQ(2u, Occurrences(page1, " width='0'  border='0'>"));
    EXPECT_EQ(1u, Occurrences(ReadFileBytes(out.File("page2.htm")), " width='0'  border='0'>"));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ(std::string(Finished) + "\r\n画像ファイルのコピーに失敗しました (2件)", boxes.messages[0].text);
    EXPECT_EQ("確認", boxes.messages[0].caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, boxes.messages[0].flags & MB_ICONMASK);
    EXPECT_TRUE(PathExists(out.File("a.jpg")));
    // Progress in records, shown under the wait cursor and cleared at the end.
    ASSERT_FALSE(gProgress.empty());
    EXPECT_EQ("HTML出力中 0 / 3", gProgress.front());
    EXPECT_EQ("HTML出力中 3 / 3", gProgress.back());
    EXPECT_EQ(1, gCleared);
    EXPECT_TRUE(gWaitCursorSeen);
}
