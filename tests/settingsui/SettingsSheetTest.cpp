// The settings sheet driven in its own loop: real page controls, OK and
// Cancel, then the settings record, the capture's working copy and the
// bytes of Gyrolens.ini.
#include "settingsui/SettingsSheet.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/FolderDialog.h"
#include "base/FontDialog.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "capture/ImageFiles.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

enum { SaveFilePage, HistoryListPage, FileFormatPage, FontsPage };

HWND ShowPage(HWND sheet, int index) {
    PropSheet_SetCurSel(sheet, NULL, index);
    PumpFor(20);
    return PropSheet_GetCurrentPageHwnd(sheet);
}

void PressSheetButton(HWND sheet, int button) {
    PropSheet_PressButton(sheet, button);
    PumpFor(50);
}

// `ini` holds the line "key=value".
bool HasLine(const std::string& ini, const std::string& line) {
    return ini.find("\r\n" + line + "\r\n") != std::string::npos;
}

// The first-run [File_Set] section with some values replaced.
std::string FirstRunWith(const std::vector<std::pair<std::string, std::string>>& values) {
    std::string ini = ReadFileBytes(TestDataPath("settings/data/file_set_first_run.ini"));
    for (const auto& v : values) {
        size_t at = ini.find("\r\n" + v.first + "=") + 2 + v.first.size() + 1;
        ini.replace(at, ini.find("\r\n", at) - at, v.second);
    }
    return ini;
}

class SettingsSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureState(dir.Path());
        // A fresh record as without a settings file; the file goes to dir.
        SetDefaultSettings(gSettings, dir.Path().c_str());
        owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 20, 20, 50, 50, NULL, NULL, NULL, NULL);
    }
    void TearDown() override {
        SetFolderDialogHook(NULL);
        SetFontDialogHook(NULL);
        SetFileDialogHooks(NULL, NULL);
        gCapture.monitoring = 0;
        DestroyWindow(owner);
    }
    // Opens the sheet and runs `act` inside its loop; the action closes it.
    void RunSheet(DialogDriver::Action act) {
        DialogDriver driver;
        driver.Then(std::move(act));
        OpenSettingsSheet(owner);
        EXPECT_EQ("環境設定", driver.captions.empty() ? "" : driver.captions[0]);
    }
    std::string Ini() { return ReadFileBytes(dir.File("Gyrolens.ini")); }

    TempDir dir;
    MessageBoxRecorder boxes;
    HWND owner = NULL;
};

} // namespace

// What the capture cannot use is refused with its message, from whichever
// page OK is pressed: the sheet stays open on the page with the bad field
// in focus, and nothing is saved.  A refused start number keeps the new
// maximum.
TEST_F(SettingsSheetTest, ValuesTheCaptureCannotUseAreRefusedOnTheirPage) {
    const struct {
        std::string prefix;
        const char* start; // NULL: as shown
        const char* maximum;
        const char* text;
        const char* caption;
        int field;
        int maximumAfter;
    } cases[] = {
        { std::string(64, 'p'), NULL, "9", "ファイル名規則は半角63文字（全角31文字）以内で指定してください", "定義設定エラー",
          IDC_SAVEFILE_PREFIX, 999999 },
        { "p", NULL, "-1", "ファイル名最大番号には0以上の数を指定してください", "ファイル番号設定エラー",
          IDC_SAVEFILE_MAXIMUM, 999999 },
        { "", "10", "5", "開始番号が最大番号を超えています", "ファイル番号設定エラー", IDC_SAVEFILE_START, 5 },
    };
    gSettings.nextImageNumber = 3;
    SaveSettings(gSettings);
    std::string before = Ini();
    for (const auto& c : cases) {
        boxes.messages.clear();
        RunSheet([&](HWND sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            SetDlgItemTextA(page, IDC_SAVEFILE_PREFIX, c.prefix.c_str());
            if (c.start)
                SetDlgItemTextA(page, IDC_SAVEFILE_START, c.start);
            SetDlgItemTextA(page, IDC_SAVEFILE_MAXIMUM, c.maximum);
            ShowPage(sheet, FontsPage);
            PressSheetButton(sheet, PSBTN_OK);
            EXPECT_TRUE(IsWindow(sheet)) << c.text;
            EXPECT_EQ(page, PropSheet_GetCurrentPageHwnd(sheet)) << c.text;
            EXPECT_EQ(GetDlgItem(page, c.field), GetFocus()) << c.text;
            PressSheetButton(sheet, PSBTN_CANCEL);
        });
        ASSERT_EQ(1u, boxes.messages.size()) << c.text;
        EXPECT_EQ(c.text, boxes.messages[0].text);
        EXPECT_EQ(c.caption, boxes.messages[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
        EXPECT_STREQ("", gSettings.imagePrefix) << c.text;
        EXPECT_EQ(3, gSettings.nextImageNumber) << c.text;
        EXPECT_EQ(c.maximumAfter, gSettings.maxImageNumber) << c.text;
        EXPECT_EQ(before, Ini()) << c.text;
    }
}

TEST_F(SettingsSheetTest, OkWritesTheSameFileWhetherOnePageOrAllWereShown) {
    gSettings.jpegQuality = 50; // inside the slider's range
    auto editFirstPage = [](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        SetDlgItemTextA(page, IDC_SAVEFILE_PREFIX, "shot");
        SetDlgItemTextA(page, IDC_SAVEFILE_START, "7");
        SetDlgItemTextA(page, IDC_SAVEFILE_MAXIMUM, "500");
        ClickButton(page, IDC_SAVEFILE_ZEROPAD);
        ClickButton(page, IDC_SAVEFILE_CONFIRM_YES);
    };
    RunSheet([&](HWND sheet) {
        editFirstPage(sheet);
        PressSheetButton(sheet, PSBTN_OK);
    });
    std::string expected = FirstRunWith({ { "JPEG品質", "50" },
                                          { "画像ファイル開始番号", "7" },
                                          { "ファイル名最大番号", "500" },
                                          { "上書き確認", "1" },
                                          { "ファイル連番０追加", "1" },
                                          { "画像ファイル名", "shot" } });
    EXPECT_EQ(expected, Ini());
    EXPECT_STREQ("shot", gCapture.filePrefix);
    EXPECT_EQ(7, gCapture.nextNumber);
    EXPECT_EQ(1, gCapture.confirmOverwrite);

    ASSERT_TRUE(DeleteFileA(dir.File("Gyrolens.ini").c_str()));
    SetDefaultSettings(gSettings, dir.Path().c_str());
    gSettings.jpegQuality = 50;
    const char* shots[] = { "settings_savefile", "settings_history", "settings_fileformat", "settings_fonts" };
    RunSheet([&](HWND sheet) {
        editFirstPage(sheet);
        for (int i = 0; i < 4; i++) {
            ShowPage(sheet, i);
            SaveWindowPng(sheet, shots[i]);
        }
        PressSheetButton(sheet, PSBTN_OK);
    });
    EXPECT_EQ(expected, Ini());
}

TEST_F(SettingsSheetTest, OffscreenChoiceIsStoredAsZeroOrOne) {
    const struct {
        int button;
        int before;
        const char* line;
    } cases[] = { { IDC_SAVEFILE_CUT, 1, "範囲外カット=0" }, { IDC_SAVEFILE_KEEP, 0, "範囲外カット=1" } };
    for (const auto& c : cases) {
        gSettings.keepOffscreen = c.before;
        RunSheet([&](HWND sheet) {
            ClickButton(PropSheet_GetCurrentPageHwnd(sheet), c.button);
            PressSheetButton(sheet, PSBTN_OK);
        });
        EXPECT_TRUE(HasLine(Ini(), c.line)) << c.line;
    }
}

// Each format button stores its "JPEGモード" value and hands the format to
// the capture engine; only JPEG keeps the slider, whose position is stored
// even while it is greyed.  The clipboard box stores 0 or 1.
TEST_F(SettingsSheetTest, FileFormatButtonsSliderAndClipboard) {
    struct {
        int before, button;
        bool slider;
        int mode;
        ImageFormat format;
        const char* extension;
        bool clipboard;
    } cases[] = {
        { 1, IDC_FILEFORMAT_BMP, false, 0, ImageBmp, ".bmp", true },
        { 0, IDC_FILEFORMAT_PNG, false, 2, ImagePng, ".png", false },
        { 2, IDC_FILEFORMAT_JPEG, true, 1, ImageJpeg, ".jpg", true },
        { 7, IDC_FILEFORMAT_PNG, false, 2, ImagePng, ".png", true },
    };
    for (const auto& c : cases) {
        gSettings.jpegMode = c.before;
        gSettings.jpegQuality = 50;
        gSettings.copyToClipboard = c.clipboard ? 0 : 1;
        RunSheet([&](HWND sheet) {
            HWND page = ShowPage(sheet, FileFormatPage);
            HWND slider = GetDlgItem(page, IDC_FILEFORMAT_QUALITY);
            EXPECT_EQ(c.before == 1, IsWindowEnabled(slider) != FALSE) << c.before;
            EXPECT_EQ(!c.clipboard, IsDlgButtonChecked(page, IDC_FILEFORMAT_CLIPBOARD) == BST_CHECKED);
            SendMessageA(slider, TBM_SETPOS, TRUE, 80);
            ClickButton(page, c.button);
            ClickButton(page, IDC_FILEFORMAT_CLIPBOARD);
            EXPECT_EQ(c.slider, IsWindowEnabled(slider) != FALSE) << c.mode;
            PressSheetButton(sheet, PSBTN_OK);
        });
        EXPECT_EQ(c.mode, gSettings.jpegMode);
        EXPECT_EQ(c.format, gCapture.imageFormat);
        EXPECT_EQ(80, gCapture.jpegQuality);
        EXPECT_TRUE(HasLine(Ini(), "JPEGモード=" + std::to_string(c.mode)));
        EXPECT_TRUE(HasLine(Ini(), "JPEG品質=80"));
        EXPECT_TRUE(HasLine(Ini(), std::string("クリップボードにコピー=") + (c.clipboard ? "1" : "0")));
        gCapture.nextNumber = 3;
        std::string name = NextImageFilePath(gCapture);
        EXPECT_EQ(c.extension, name.substr(name.size() - 4)) << name;
    }
}

TEST_F(SettingsSheetTest, FolderChoiceAndMonitoring) {
    const struct {
        int folderMode;
        int monitoring;
        bool givenEnabled, historyEnabled, folderControlsEnabled;
    } cases[] = {
        { 0, 0, true, true, true },
        { 1, 0, true, true, false },
        { 0, 1, true, false, true },
        { 1, 1, false, true, false },
    };
    for (const auto& c : cases) {
        gSettings.imageFolderMode = c.folderMode;
        gCapture.monitoring = c.monitoring;
        RunSheet([&](HWND sheet) {
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            std::string row = "mode " + std::to_string(c.folderMode) + " monitoring " + std::to_string(c.monitoring);
            EXPECT_EQ(c.givenEnabled, !!IsWindowEnabled(GetDlgItem(page, IDC_SAVEFILE_FOLDER_GIVEN))) << row;
            EXPECT_EQ(c.historyEnabled, !!IsWindowEnabled(GetDlgItem(page, IDC_SAVEFILE_FOLDER_HISTORY))) << row;
            EXPECT_EQ(c.folderControlsEnabled, !!IsWindowEnabled(GetDlgItem(page, IDC_SAVEFILE_FOLDER))) << row;
            EXPECT_EQ(c.folderControlsEnabled, !!IsWindowEnabled(GetDlgItem(page, IDC_SAVEFILE_BROWSE))) << row;
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, IDC_SAVEFILE_FOLDER), GWL_STYLE) & ES_READONLY) << row;
            PressSheetButton(sheet, PSBTN_CANCEL);
        });
    }
}

namespace {

std::string gBrowserTitle;
bool BrowseToChosenFolder(HWND, const char* title, char* folder, size_t size) {
    gBrowserTitle = title;
    CopyText(folder, size, "C:\\chosen");
    return true;
}

bool ChooseTestFont(CHOOSEFONTA* cf) {
    CopyText(cf->lpLogFont->lfFaceName, countof(cf->lpLogFont->lfFaceName), "Test Face");
    cf->lpLogFont->lfWeight = 700;
    cf->iPointSize = 125;
    return true;
}

} // namespace

TEST_F(SettingsSheetTest, CancelLeavesTheFileButKeepsTheFolderAndFontChoices) {
    SaveSettings(gSettings);
    std::string before = Ini();
    SetFolderDialogHook(BrowseToChosenFolder);
    SetFontDialogHook(ChooseTestFont);
    RunSheet([&](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        SetDlgItemTextA(page, IDC_SAVEFILE_PREFIX, "changed");
        ClickButton(page, IDC_SAVEFILE_BROWSE);
        EXPECT_EQ("C:\\chosen", DialogItemText(page, IDC_SAVEFILE_FOLDER));
        HWND fonts = ShowPage(sheet, FontsPage);
        ClickButton(fonts, IDC_FONTPAGE_GENERAL_CHOOSE);
        EXPECT_EQ("Test Face", DialogItemText(fonts, IDC_FONTPAGE_GENERAL_FACE));
        EXPECT_EQ("12", DialogItemText(fonts, IDC_FONTPAGE_GENERAL_SIZE));
        PressSheetButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ("フォルダを選択してください", gBrowserTitle);
    EXPECT_EQ(before, Ini());
    EXPECT_STREQ("C:\\chosen", gSettings.imageFolder);
    EXPECT_STREQ("Test Face", gSettings.fonts[FontGeneral].logFont.lfFaceName);
    EXPECT_EQ(700, gSettings.fonts[FontGeneral].logFont.lfWeight);
    EXPECT_EQ(12, gSettings.fonts[FontGeneral].pointSize);
    EXPECT_STREQ("", gSettings.imagePrefix);
}

namespace {

OPENFILENAMEA gProgramDialog;
std::string gProgramDialogTitle;
bool ChooseViewer(OPENFILENAMEA* ofn) {
    gProgramDialog = *ofn;
    gProgramDialogTitle = ofn->lpstrTitle;
    CopyText(ofn->lpstrFile, ofn->nMaxFile, "C:\\tools\\view.exe");
    return true;
}

} // namespace

TEST_F(SettingsSheetTest, HistoryPageStoresCommentSavingDeletionAndPrograms) {
    SetFileDialogHooks(ChooseViewer, NULL);
    RunSheet([&](HWND sheet) {
        HWND page = ShowPage(sheet, HistoryListPage);
        HWND comment = GetDlgItem(page, IDC_HISTORYPAGE_COMMENT);
        EXPECT_FALSE(IsWindowEnabled(comment));
        ClickButton(page, IDC_HISTORYPAGE_USE_TEXT);
        EXPECT_TRUE(IsWindowEnabled(comment));
        SetWindowTextA(comment, "定型コメント");
        ClickButton(page, IDC_HISTORYPAGE_AUTOSAVE_YES);
        ClickButton(page, IDC_HISTORYPAGE_KEEPIMAGE);
        ClickButton(page, IDC_HISTORYPAGE_IMAGEAPP_CHOOSE);
        SetDlgItemTextA(page, IDC_HISTORYPAGE_TEXTAPP, "wordpad");
        PressSheetButton(sheet, PSBTN_OK);
    });
    EXPECT_EQ("実行ファイル名を指定して下さい", gProgramDialogTitle);
    EXPECT_EQ(0, memcmp("EXE files(*.exe)\0*.exe\0files(*.*)\0*.*\0", gProgramDialog.lpstrFilter, 39));
    std::string ini = Ini();
    for (const char* line : { "コメント=定型コメント", "コメント選択=1", "CSV自動保存=1", "履歴削除=0",
                              "起動アプリ：画像=C:\\tools\\view.exe", "起動アプリ：テキスト=wordpad" })
        EXPECT_TRUE(HasLine(ini, line)) << line;
}

TEST_F(SettingsSheetTest, FontDialogShowsOnlyFaceStyleAndSize) {
    CopyText(gSettings.fonts[FontHistory].logFont.lfFaceName, LF_FACESIZE, "MS ゴシック");
    gSettings.fonts[FontHistory].logFont.lfHeight = -16;
    DialogDriver driver;
    driver.Then([&](HWND sheet) {
        HWND page = ShowPage(sheet, FontsPage);
        ClickButton(page, IDC_FONTPAGE_HISTORY_CHOOSE);
        const FontSetting& f = gSettings.fonts[FontHistory];
        EXPECT_GT(f.pointSize, 0);
        EXPECT_EQ(f.logFont.lfFaceName, DialogItemText(page, IDC_FONTPAGE_HISTORY_FACE));
        EXPECT_EQ(std::to_string(f.pointSize), DialogItemText(page, IDC_FONTPAGE_HISTORY_SIZE));
        PressSheetButton(sheet, PSBTN_CANCEL);
    });
    driver.Then([&](HWND fontDialog) {
        for (int id : { 1072, 1040, 1041, 1091, 1139, 1094, 1140 }) {
            EXPECT_TRUE(GetDlgItem(fontDialog, id) != NULL) << id;
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(fontDialog, id))) << id;
        }
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(fontDialog, 1136))) << "the face list";
        SaveWindowPng(fontDialog, "settings_font_dialog");
        ClickButton(fontDialog, IDOK);
    });
    OpenSettingsSheet(owner);
    EXPECT_TRUE(driver.Idle());
}

TEST_F(SettingsSheetTest, CaptureWithAnExhaustedNumberOpensTheSheetWhereItCanBeFixed) {
    SetCaptureShellLink({ NULL, NULL, NULL, OpenSettingsSheet, NULL });
    gSettings.nextImageNumber = 6;
    gSettings.maxImageNumber = 5;
    DialogDriver driver;
    driver.Then([&](HWND sheet) {
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        EXPECT_EQ(0, PropSheet_HwndToIndex(sheet, page));
        SetDlgItemTextA(page, IDC_SAVEFILE_START, "1");
        PressSheetButton(sheet, PSBTN_OK);
    });
    EXPECT_EQ(HotkeyNotCaptured, HandleCaptureHotkey(owner, owner, WholeScreen));
    SetCaptureShellLink({ NULL, NULL, NULL, NULL, NULL });
    EXPECT_TRUE(driver.Idle());
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("開始番号が最大番号を超えています", boxes.messages[0].text);
    EXPECT_EQ(1, gSettings.nextImageNumber);
    EXPECT_EQ(1, gCapture.nextNumber);
    EXPECT_TRUE(HasLine(Ini(), "画像ファイル開始番号=1"));
}

// Every control id the page and panel procedures use is in the dialog
// templates (the format and font pages' controls are all driven above).
TEST_F(SettingsSheetTest, EveryTemplateHoldsTheControlsItsProcedureUses) {
    const struct {
        int dialog;
        std::vector<int> controls;
    } templates[] = {
        { IDD_SAVEFILE,
          { IDC_SAVEFILE_PREFIX, IDC_SAVEFILE_START, IDC_SAVEFILE_FOLDER, IDC_SAVEFILE_MAXIMUM,
            IDC_SAVEFILE_CONFIRM_YES, IDC_SAVEFILE_CONFIRM_NO, IDC_SAVEFILE_BROWSE, IDC_SAVEFILE_ZEROPAD,
            IDC_SAVEFILE_FOLDER_GIVEN, IDC_SAVEFILE_FOLDER_HISTORY, IDC_SAVEFILE_CUT, IDC_SAVEFILE_KEEP } },
        { IDD_HISTORYPAGE,
          { IDC_HISTORYPAGE_COMMENT, IDC_HISTORYPAGE_AUTOSAVE_NO, IDC_HISTORYPAGE_AUTOSAVE_YES,
            IDC_HISTORYPAGE_USE_TITLE, IDC_HISTORYPAGE_USE_TEXT, IDC_HISTORYPAGE_IMAGEAPP, IDC_HISTORYPAGE_TEXTAPP,
            IDC_HISTORYPAGE_IMAGEAPP_CHOOSE, IDC_HISTORYPAGE_TEXTAPP_CHOOSE, IDC_HISTORYPAGE_KEEPIMAGE } },
        { IDD_KEYPANEL,
          { 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1085, 1098, 1099, 1100, 1101, 1102, 1103, 1104, 1088,
            1089, 1090, 1091, 1092, 1093, 1094, 1095, 1096, 1097 } },
    };
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_HOTKEY_CLASS | ICC_BAR_CLASSES | ICC_USEREX_CLASSES };
    InitCommonControlsEx(&icc);
    for (const auto& t : templates) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(t.dialog), owner,
                                         [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ASSERT_TRUE(dialog != NULL) << "dialog " << t.dialog;
        for (int id : t.controls)
            EXPECT_TRUE(GetDlgItem(dialog, id) != NULL) << "dialog " << t.dialog << " control " << id;
        DestroyWindow(dialog);
    }
}
