// The real main window, created in the test process as the program creates
// it, driven with real messages and read back from its real controls.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <htmlhelp.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "app/CommandBars.h"
#include "app/Help.h"
#include "app/MainLayout.h"
#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/ShellRun.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

HWND Main() {
    return gShell.hwndMain;
}

bool MenuEnabled(int command) {
    UINT state = GetMenuState(GetMenu(Main()), command, MF_BYCOMMAND);
    return !(state & (MF_GRAYED | MF_DISABLED));
}

std::string StatusText(int part) {
    char text[256] = "";
    SendMessageA(gStatusBar.hwnd, SB_GETTEXTA, part, (LPARAM)text);
    return text;
}

// The save dialog answers with this path.
std::string gSaveAnswer;
int gSaveDialogs;

bool AnswerSave(OPENFILENAMEA* ofn) {
    gSaveDialogs++;
    if (gSaveAnswer.empty())
        return false;
    CopyText(ofn->lpstrFile, ofn->nMaxFile, gSaveAnswer.c_str());
    if (ofn->lpstrFileTitle)
        CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, FileNamePart(gSaveAnswer.c_str()));
    return true;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Main()) {
            // 800 x 600 at 96 DPI; the placement is in physical pixels.
            gSettings.windowX = gSettings.windowY = 0;
            gSettings.windowWidth = MulDiv(800, ScreenDpi(), 96);
            gSettings.windowHeight = MulDiv(600, ScreenDpi(), 96);
            ASSERT_TRUE(StartShell(GetModuleHandleA(NULL), SW_SHOW));
        }
    }
    void SetUp() override {
        StopMonitoring(Main());
        UpdateMonitoringCommands(Main(), false);
        SetStatusText(0, 0, TextMonitoringOff);
        captureBusy = 0;
        ResetCaptureState(dir.Path(), "AAA");
        CreateSettingsFile(gSettings);
        gSettings.jpegMode = 1;
        CopyFileSettingsToCapture(gCapture, gSettings, gHistory.historyFolder);
        ClearAll();
        SelectFirstTab();
        SendMessageA(Main(), WM_REFRESH_COMMANDS, 0, 0);
        UpdateTitle(Main());
        gSaveAnswer.clear();
        gSaveDialogs = 0;
        SetFileDialogHooks(NULL, AnswerSave);
        PumpFor(20);
    }
    void TearDown() override {
        SetFileDialogHooks(NULL, NULL);
        StopMonitoring(Main());
        gHistory.modified = 0;
    }
    // One capture of the whole screen, as a hotkey press delivers it.
    void PressHotkey() {
        SendMessageA(Main(), WM_HOTKEY, WholeScreen, 0);
        PumpFor(20);
    }

    TempDir dir;
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(MainWindowTest, StartsWithNothingToSaveOrEdit) {
    EXPECT_EQ("新規 - Gyrolens Ver1.2", WindowText(Main()));
    EXPECT_EQ(TextMonitoringOff, StatusText(0));
    struct {
        int command;
        bool enabled;
    } menu[] = {
        { IDM_FILE_SAVE, false }, { IDM_TOOLS_HTML, false }, { IDM_EDIT_SELECTALL, false },
        { IDM_EDIT_BATCHCOMMENT, false }, { IDM_EDIT_COMMENT, false }, { IDM_EDIT_DELETE, false },
        { IDM_EDIT_UP, false }, { IDM_EDIT_DOWN, false }, { IDM_CAPTURE_START, true }, { IDM_CAPTURE_STOP, false },
        { IDM_FILE_NEW, true }, { IDM_FILE_OPEN, true },
    };
    for (const auto& m : menu)
        EXPECT_EQ(m.enabled, MenuEnabled(m.command)) << "menu " << m.command;
    int buttons[ToolbarButtonCount] = { 4, 4, 16, 16, 16, 16, 16, 4, 16 };
    for (int i = 0; i < ToolbarButtonCount; i++)
        EXPECT_EQ(buttons[i], GetToolbarButtonState(i)) << "button " << i;
    // Twelve entries: nine buttons and three separators, in the display order.
    EXPECT_EQ(12, SendMessageA(gToolbar.hwnd, TB_BUTTONCOUNT, 0, 0));
    TBBUTTON b;
    for (int position : { 3, 8, 10 }) {
        SendMessageA(gToolbar.hwnd, TB_GETBUTTON, position, (LPARAM)&b);
        EXPECT_TRUE(b.fsStyle & TBSTYLE_SEP) << "position " << position;
    }
    char tab[64];
    TCITEMA item = { TCIF_TEXT, 0, 0, tab, sizeof(tab), 0, 0 };
    const char* tabs[] = { "履歴データ", "設定" };
    for (int i = 0; i < 2; i++) {
        SendMessageA(gShell.hwndTab, TCM_GETITEMA, i, (LPARAM)&item);
        EXPECT_STREQ(tabs[i], tab);
    }
}

// The row is there and painted when the hotkey's message returns; the
// preview then shows exactly what the file holds, the block reading the file
// again gives.
TEST_F(MainWindowTest, HotkeyCaptureAddsTheNewestRowShowsItAndEnablesSaving) {
    struct {
        int mode;
        const char* name;
    } cases[] = { { 1, "AAA7.jpg" }, { 0, "AAA7.bmp" }, { 2, "AAA7.png" } };
    for (const auto& c : cases) {
        SetUp();
        gSettings.jpegMode = c.mode;
        gSettings.nextImageNumber = 7;
        CopyFileSettingsToCapture(gCapture, gSettings, gHistory.historyFolder);
        EXPECT_EQ(0, SendMessageA(Main(), WM_HOTKEY, WholeScreen, 0));
        ASSERT_EQ(1, ListRowCount()) << c.name;
        EXPECT_FALSE(GetUpdateRect(gHistoryView.list, NULL, FALSE)) << c.name << ": the row is painted";
        PumpFor(50);
        std::string path = dir.File(c.name);
        EXPECT_TRUE(PathExists(path)) << c.name;
        char cell[PathSize];
        GetCellText(0, ColumnImage, cell, sizeof(cell));
        EXPECT_EQ(path, cell);
        GetCellText(0, ColumnComment, cell, sizeof(cell));
        EXPECT_STREQ("SCREEN", cell);
        EXPECT_EQ(8, gSettings.nextImageNumber);
        EXPECT_EQ(1, gHistory.modified);
        EXPECT_EQ(0, FirstSelectedRow());
        EXPECT_TRUE(MenuEnabled(IDM_FILE_SAVE));
        EXPECT_TRUE(MenuEnabled(IDM_TOOLS_HTML));
        EXPECT_TRUE(MenuEnabled(IDM_EDIT_DELETE));
        for (int button : { ButtonSave, ButtonBatchComment, ButtonDown, ButtonExport })
            EXPECT_EQ(ButtonEnabled, GetToolbarButtonState(button)) << button;
        ASSERT_FALSE(gPreview.image.Empty()) << c.name;
        std::string shown((const char*)gPreview.image.Block(), gPreview.image.Size());
        gPreview.image.Free();
        ReloadPreview();
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), gPreview.image.Width()) << c.name;
        EXPECT_TRUE(shown == std::string((const char*)gPreview.image.Block(), gPreview.image.Size())) << c.name;
        EXPECT_TRUE(boxes.messages.empty()) << c.name;
        TearDown();
    }
}

TEST_F(MainWindowTest, AutomaticSaveOfAnUntitledHistoryAsksForAName) {
    gSettings.autoSaveHistory = 1;
    gSaveAnswer = dir.File("auto.csv");
    PressHotkey();
    EXPECT_EQ(1, gSaveDialogs);
    std::string csv = ReadFileBytes(gSaveAnswer);
    EXPECT_EQ(0u, csv.find("日時,コメント,ファイルパス,テキスト情報\r\n"));
    EXPECT_NE(std::string::npos, csv.find(",SCREEN," + dir.File("AAA1.jpg") + ",\r\n"));
    EXPECT_EQ(0, gHistory.modified);
    EXPECT_EQ("auto.csv - Gyrolens Ver1.2 - [" + gSaveAnswer + "]", WindowText(Main()));
    EXPECT_FALSE(MenuEnabled(IDM_FILE_SAVE));
}

TEST_F(MainWindowTest, StartRefusedWhileImagesNeedAHistoryFile) {
    gSettings.imageFolderMode = 1;
    SendMessageA(Main(), WM_COMMAND, IDM_CAPTURE_START, 0);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ(TextImagesNeedHistoryFile, boxes.messages[0].text);
    EXPECT_EQ(ButtonEnabled, GetToolbarButtonState(ButtonCapture));
    EXPECT_EQ(TextMonitoringOff, StatusText(0));
    EXPECT_TRUE(MenuEnabled(IDM_CAPTURE_START));
}

TEST_F(MainWindowTest, CaptureButtonStartsAndStopsMonitoring) {
    RECT r;
    SendMessageA(gToolbar.hwnd, TB_GETRECT, IDM_CAPTURE_TOGGLE, (LPARAM)&r);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    struct {
        bool monitoring;
        const char* status;
        int button;
    } clicks[] = { { true, TextMonitoringOn, ButtonChecked }, { false, TextMonitoringOff, ButtonEnabled } };
    for (const auto& c : clicks) {
        SendMessageA(gToolbar.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(gToolbar.hwnd, WM_LBUTTONUP, 0, at);
        PumpFor(20);
        EXPECT_EQ(c.monitoring, IsCaptureMonitoring() != 0);
        EXPECT_EQ(c.status, StatusText(0));
        EXPECT_EQ(c.button, GetToolbarButtonState(ButtonCapture));
        EXPECT_EQ(!c.monitoring, MenuEnabled(IDM_CAPTURE_START));
        EXPECT_EQ(c.monitoring, MenuEnabled(IDM_CAPTURE_STOP));
    }
}

TEST_F(MainWindowTest, CancelledCloseKeepsTheWindowButHasWrittenThePlacement) {
    gHistory.modified = 1;
    boxes.QueueAnswer(IDCANCEL);
    SendMessageA(Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(Main()));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("履歴リストが変更されています。\r\n変更を保存しますか？", boxes.messages[0].text);
    EXPECT_EQ(CaptionSaveConfirm, boxes.messages[0].caption);
    RECT r;
    GetWindowRect(Main(), &r);
    std::string ini = dir.File("Gyrolens.ini");
    char value[32];
    GetPrivateProfileStringA("Window", "幅", "", value, sizeof(value), ini.c_str());
    EXPECT_EQ(std::to_string(r.right - r.left), value);
    GetPrivateProfileStringA("File_Set", "画像ファイル開始番号", "", value, sizeof(value), ini.c_str());
    EXPECT_STREQ("1", value);
}

TEST_F(MainWindowTest, MinimisedWindowStoresItsRestoredRectangle) {
    RECT before;
    GetWindowRect(Main(), &before);
    ShowWindow(Main(), SW_MINIMIZE);
    PumpFor(50);
    SaveWindowPlacement(Main());
    ShowWindow(Main(), SW_RESTORE);
    PumpFor(50);
    EXPECT_EQ(before.left, gSettings.windowX);
    EXPECT_EQ(before.top, gSettings.windowY);
    EXPECT_EQ(before.right - before.left, gSettings.windowWidth);
    EXPECT_EQ(before.bottom - before.top, gSettings.windowHeight);
}

TEST_F(MainWindowTest, HistoryPaneIsSplitBetweenListAndPreview) {
    const HistoryPane& p = gLayout.historyPane;
    RECT box, host, frame, preview;
    GetWindowRect(p.container, &box);
    GetWindowRect(p.listHost, &host);
    GetWindowRect(p.splitFrame, &frame);
    GetWindowRect(p.preview, &preview);
    int cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    // The frame's sides lie outside the container; the list ends where the
    // frame's top border begins.
    EXPECT_EQ(box.left - 4 * cy, frame.left);
    EXPECT_EQ(box.right + 4 * cy, frame.right);
    EXPECT_EQ(box.bottom - box.top - (frame.bottom - frame.top) + cx, host.bottom - host.top);
    EXPECT_EQ(box.right - box.left, host.right - host.left);
    EXPECT_EQ(frame.right - frame.left - 8 * cx, preview.right - preview.left);
    // Only the top border sizes the frame.
    POINT left = { frame.left + 1, (frame.top + frame.bottom) / 2 };
    POINT top = { (frame.left + frame.right) / 2, frame.top + 1 };
    EXPECT_EQ(HTBORDER, SendMessageA(p.splitFrame, WM_NCHITTEST, 0, MAKELPARAM(left.x, left.y)))
        << frame.left << "," << frame.top << "," << frame.right << "," << frame.bottom;
    EXPECT_EQ(HTTOP, SendMessageA(p.splitFrame, WM_NCHITTEST, 0, MAKELPARAM(top.x, top.y)));
}

namespace {
std::vector<std::pair<std::string, UINT>> gHelpRequests;
HWND WINAPI RecordHelpRequest(HWND, LPCSTR file, UINT command, DWORD_PTR) {
    if (file) // not the viewer's own set-up calls
        gHelpRequests.push_back({ file, command });
    return NULL;
}
HtmlHelpFn LoadHelpRecorder() {
    return RecordHelpRequest;
}
} // namespace

// The help file in the start-up folder opens at the place each command asks
// for; without it the missing file is named, without the viewer the viewer.
TEST_F(MainWindowTest, HelpCommandsOpenTheHelpFileOfTheStartFolder) {
    std::string shipped = std::string("Z:") + GYROLENS_HELP_FILE;
    for (char& c : shipped)
        if (c == '/')
            c = '\\';
    std::string help = dir.File("GyrolensHelp.chm");
    std::string missing = "ヘルプファイルが見つかりません。\r\n" + help;
    std::string noViewer = "ヘルプを表示できません。\r\nHTMLヘルプ（hhctrl.ocx）がこのシステムにありません。";
    struct {
        int command;
        bool present;
        UINT request;
        const std::string* message;
        HtmlHelpLoader viewer;
    } cases[] = {
        { IDM_HELP_CONTENTS, false, 0, &missing, LoadHelpRecorder },
        { IDM_HELP_SEARCH, false, 0, &missing, LoadHelpRecorder },
        { IDM_HELP_KEYWORD, false, 0, &missing, LoadHelpRecorder },
        { IDM_HELP_CONTENTS, true, HH_DISPLAY_TOC, NULL, LoadHelpRecorder },
        { IDM_HELP_SEARCH, true, HH_DISPLAY_SEARCH, NULL, LoadHelpRecorder },
        { IDM_HELP_KEYWORD, true, HH_KEYWORD_LOOKUP, NULL, LoadHelpRecorder },
        { IDM_HELP_CONTENTS, true, 0, &noViewer, []() -> HtmlHelpFn { return NULL; } },
    };
    for (const auto& c : cases) {
        SetHtmlHelpLoader(c.viewer);
        if (c.present)
            ASSERT_TRUE(CopyFileA(shipped.c_str(), help.c_str(), FALSE)) << shipped;
        else
            DeleteFileA(help.c_str());
        boxes.messages.clear();
        gHelpRequests.clear();
        SendMessageA(Main(), WM_COMMAND, c.command, 0);
        std::vector<std::pair<std::string, UINT>> requests;
        if (c.request)
            requests.push_back({ help, c.request });
        EXPECT_EQ(requests, gHelpRequests) << c.command;
        ASSERT_EQ(c.message ? 1u : 0u, boxes.messages.size()) << c.command;
        if (c.message) {
            EXPECT_EQ(*c.message, boxes.messages[0].text) << c.command;
        }
    }
    UninitializeHelp();
    SetHtmlHelpLoader(NULL);
}

TEST_F(MainWindowTest, Screenshot) {
    PressHotkey();
    SaveWindowPng(Main(), "main-window");
    SendMessageA(gShell.hwndTab, TCM_SETCURSEL, TabSettings, 0);
    ShowPaneForTab();
    EXPECT_EQ(gLayout.settingsPane.container, GetParent(gLayout.settingsPane.keyPanel));
    EXPECT_TRUE(IsWindowVisible(gLayout.settingsPane.keyPanel));
    SaveWindowPng(Main(), "main-window-settings-tab");
    SelectFirstTab();
}

namespace {
std::string gShellVerb, gShellFile;
int gShellRuns;
INT_PTR RecordShell(HWND, const char* verb, const char* file, const char*, const char*, int) {
    gShellRuns++;
    gShellVerb = verb ? verb : "";
    gShellFile = file ? file : "";
    return 42;
}
} // namespace

TEST_F(MainWindowTest, AboutBoxOpensItsLinkAndCloses) {
    SetShellExecuteHook(RecordShell);
    gShellRuns = 0;
    DialogDriver driver;
    std::string version, link;
    bool hand = false;
    driver.Then([&](HWND about) {
        version = DialogItemText(about, IDC_ABOUT_VERSION);
        link = DialogItemText(about, IDC_ABOUT_LINK);
        // Over the link the cursor is the about box's link cursor.
        SendMessageA(about, WM_SETCURSOR, (WPARAM)GetDlgItem(about, IDC_ABOUT_LINK), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        hand = GetCursor() == gShell.linkCursor;
        SaveWindowPng(about, "about-box");
        // A double click: the link opens once.
        for (UINT mouse : { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP })
            SendMessageA(GetDlgItem(about, IDC_ABOUT_LINK), mouse, mouse == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                         MAKELPARAM(5, 5));
        ClickButton(about, IDOK);
    });
    SendMessageA(Main(), WM_COMMAND, IDM_ABOUT, 0);
    SetShellExecuteHook(NULL);
    EXPECT_TRUE(driver.Idle());
    EXPECT_EQ("Gyrolens　Version 1.2", version);
    EXPECT_TRUE(hand);
    EXPECT_EQ(1, gShellRuns);
    EXPECT_EQ("open", gShellVerb);
    EXPECT_EQ(link, gShellFile);
    EXPECT_EQ(0u, link.find("https://"));
}

TEST_F(MainWindowTest, ExportCommandWritesPagesAndLeavesTheStatusClear) {
    PressHotkey();
    CopyText(gSettings.htmlFolder, countof(gSettings.htmlFolder), dir.Path().c_str());
    CopyText(gSettings.htmlFilePrefix, countof(gSettings.htmlFilePrefix), "page");
    gSettings.htmlPerPage = 10;
    gSettings.htmlPerRow = 1;
    gSettings.htmlImageWidth = -1;
    DialogDriver driver;
    driver.Then([](HWND dialog) { ClickButton(dialog, IDC_HTML_EXPORT); });
    SendMessageA(Main(), WM_COMMAND, IDM_TOOLS_HTML, 0);
    EXPECT_TRUE(driver.Idle());
    std::string page = ReadFileBytes(dir.File("page1.htm"));
    EXPECT_NE(std::string::npos, page.find("<img src=AAA1.jpg border='0'>"));
    ASSERT_FALSE(boxes.messages.empty());
    EXPECT_EQ("HTMLファイルの作成処理が終了しました。", boxes.messages.back().text);
    EXPECT_EQ("", StatusText(1));
    EXPECT_EQ(TextMonitoringOff, StatusText(0));
}

namespace {
int FontHeight(HFONT font) {
    LOGFONTA f = {};
    GetObjectA(font, sizeof(f), &f);
    return f.lfHeight;
}

// Fonts, toolbar and columns show their 96-DPI sizes scaled for `dpi` (the
// toolbar's pictures drawn at 16, 24 and 32 pixels, its 23 x 22 buttons
// grown with them); the widths written back are the stored ones.
void ExpectSizesFor(int dpi, const int (&storedWidths)[ColumnCount]) {
    const struct { int dpi, picture, buttonWidth, buttonHeight; } toolbar[] = {
        { 96, 16, 23, 22 }, { 144, 24, 35, 33 }, { 192, 32, 46, 44 } };
    EXPECT_EQ(MulDiv(gSettings.fonts[FontGeneral].pointSize, dpi, 96), FontHeight(gLayout.layoutFont)) << dpi;
    EXPECT_EQ(MulDiv(gSettings.fonts[FontHistory].pointSize, dpi, 96), FontHeight(gHistoryView.font)) << dpi;
    for (const auto& t : toolbar)
        if (t.dpi == dpi) {
            int cx = 0, cy = 0;
            ImageList_GetIconSize((HIMAGELIST)SendMessageA(gToolbar.hwnd, TB_GETIMAGELIST, 0, 0), &cx, &cy);
            EXPECT_EQ(t.picture, cx) << dpi;
            EXPECT_EQ(MAKELONG(t.buttonWidth, t.buttonHeight), SendMessageA(gToolbar.hwnd, TB_GETBUTTONSIZE, 0, 0));
        }
    SaveWindowPlacement(Main());
    for (int i = 0; i < ColumnCount; i++) {
        EXPECT_EQ(MulDiv(storedWidths[i], dpi, 96), SendMessageA(gHistoryView.list, LVM_GETCOLUMNWIDTH, i, 0))
            << dpi << " column " << i;
        EXPECT_EQ(storedWidths[i], gSettings.columnWidths[i]) << dpi << " column " << i;
    }
}

// The widths as the program stores them, after fonts made from the
// settings as a change of them makes them.
void StoreWidthsAndRemakeFonts(int (&widths)[ColumnCount]) {
    RecreateLayoutFont();
    ApplyFont();
    SaveWindowPlacement(Main());
    memcpy(widths, gSettings.columnWidths, sizeof(widths));
}
} // namespace

TEST_F(MainWindowTest, SizesFollowTheDisplayDpiAndColumnsAreStoredAt96) {
    int dpi = ScreenDpi();
    int widths[ColumnCount];
    StoreWidthsAndRemakeFonts(widths);
    ExpectSizesFor(dpi, widths);
    std::string ini = dir.File("Gyrolens.ini");
    // Stored twice: a width does not drift with each save.
    for (int stored : { 101, 37, 250 }) {
        SendMessageA(gHistoryView.list, LVM_SETCOLUMNWIDTH, 0, MulDiv(stored, dpi, 96));
        SaveWindowPlacement(Main());
        SaveWindowPlacement(Main());
        EXPECT_EQ(stored, (int)GetPrivateProfileIntA("Window", "項目１幅", -1, ini.c_str())) << dpi;
        EXPECT_EQ(MulDiv(stored, dpi, 96), SendMessageA(gHistoryView.list, LVM_GETCOLUMNWIDTH, 0, 0)) << dpi;
    }
}

// The window takes the suggested rectangle and lays itself out again.
TEST_F(MainWindowTest, DpiChangeTakesTheSuggestedRectangleAndScalesAgain) {
    int dpi = ScreenDpi();
    int widths[ColumnCount];
    StoreWidthsAndRemakeFonts(widths);
    RECT before;
    GetWindowRect(Main(), &before);
    int other = dpi == 96 ? 144 : 96;
    RECT suggested = { 30, 20, 30 + MulDiv(600, other, 96), 20 + MulDiv(450, other, 96) };
    struct { int dpi; RECT rect; } steps[] = { { other, suggested }, { dpi, before } };
    for (const auto& step : steps) {
        SendMessageA(Main(), WM_DPICHANGED, MAKEWPARAM(step.dpi, step.dpi), (LPARAM)&step.rect);
        PumpFor(50);
        RECT now, client, tab;
        GetWindowRect(Main(), &now);
        EXPECT_TRUE(EqualRect(&step.rect, &now)) << step.dpi << ": " << now.right - now.left << " x "
                                                 << now.bottom - now.top;
        ExpectSizesFor(step.dpi, widths);
        GetClientRect(Main(), &client);
        int edges[3] = {};
        SendMessageA(gStatusBar.hwnd, SB_GETPARTS, 3, (LPARAM)edges);
        EXPECT_EQ(client.right / 3, edges[0]) << step.dpi << ": the status bar in thirds";
        EXPECT_EQ(2 * client.right / 3, edges[1]) << step.dpi;
        EXPECT_EQ(client.right, edges[2]) << step.dpi;
        GetWindowRect(gShell.hwndTab, &tab);
        EXPECT_GT(tab.bottom - tab.top, 0) << step.dpi;
        EXPECT_EQ(TextMonitoringOff, StatusText(0)) << step.dpi;
    }
}
