// The main window used as a person does, with real keys and clicks through
// the program's own message loop: capture keys while a dialog is open, saves
// while a comment is typed, the keyboard across the tabs.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandBars.h"
#include "app/MainLayout.h"
#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

HWND Main() {
    return gShell.hwndMain;
}

// The program's own loop: accelerators and the key panel's dialog keys.
void PumpShellFor(int ms) {
    DWORD end = GetTickCount() + (DWORD)ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (TranslateShellMessage(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    } while ((int)(end - GetTickCount()) > 0);
}

// Real keys into the window in front, handled as the program's loop does.
void Keys(HWND front, const char* keys) {
    SetForegroundWindow(front);
    PumpShellFor(50);
    PressKeysOnDisplay(keys);
    PumpShellFor(250);
}

// A real click on a tab.
void ClickTab(int tab) {
    RECT r;
    TabCtrl_GetItemRect(gShell.hwndTab, tab, &r);
    POINT at = { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
    ClientToScreen(gShell.hwndTab, &at);
    XdotoolOnDisplay("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1");
    PumpShellFor(250);
}

std::string StatusText(int part) {
    char text[256] = "";
    SendMessageA(gStatusBar.hwnd, SB_GETTEXTA, part, (LPARAM)text);
    return text;
}

std::string gSaveAnswer;
bool AnswerSave(OPENFILENAMEA* ofn) {
    CopyText(ofn->lpstrFile, ofn->nMaxFile, gSaveAnswer.c_str());
    return true;
}

std::function<void()> Command(int id) {
    return [id] { SendMessageA(Main(), WM_COMMAND, id, 0); };
}

// Ctrl+Shift+F2 captures the whole screen once monitoring is on.
const char CaptureKeys[] = "ctrl+shift+F2";

class MainWindowUseTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestMainWindow();
        StopMonitoring(Main());
        captureBusy = 0;
        ResetCaptureState(dir.Path(), "AAA");
        gSettings.hotkeys[WholeScreen - FirstCaptureMode] = { 3, VK_F2, 1, 0 };
        ClearAll();
        gHistory.modified = 0;
        SelectFirstTab();
        SendMessageA(Main(), WM_REFRESH_COMMANDS, 0, 0);
        SetStatusText(1, 0, "");
        gSaveAnswer = dir.File("other.csv");
        SetFileDialogHooks(NULL, AnswerSave);
        SetForegroundWindow(Main());
        PumpShellFor(50);
    }
    void TearDown() override {
        SetFileDialogHooks(NULL, NULL);
        SendMessageA(Main(), WM_COMMAND, IDM_CAPTURE_STOP, 0);
        gHistory.modified = 0;
    }
    std::vector<std::string> Images() {
        std::vector<std::string> images;
        for (const std::string& name : FilesIn(dir.Path()))
            if (name.find(".bmp") != std::string::npos)
                images.push_back(name);
        return images;
    }

    TempDir dir;
};

} // namespace

TEST_F(MainWindowUseTest, CaptureKeysAreRefusedWhileAQuestionOrDialogIsOpen) {
    LoadHistory(dir.Path(), { { "first", "C:\\x.txt", "" } });
    SelectRows({ 0 });
    Command(IDM_CAPTURE_START)();
    const struct {
        const char* name;
        std::function<void()> open;
        int changed;
        int records;
        int close;
    } cases[] = {
        { "discard question of 新規作成", Command(IDM_FILE_NEW), 1, 1, IDCANCEL },
        { "batch comment", Command(IDM_EDIT_BATCHCOMMENT), 0, 1, IDCANCEL },
        { "open dialog", Command(IDM_FILE_OPEN), 0, 1, IDCANCEL },
        { "settings sheet", Command(IDM_TOOLS_SETTINGS), 0, 1, IDCANCEL },
        { "export dialog", Command(IDM_TOOLS_HTML), 0, 1, IDCANCEL },
        { "about box", Command(IDM_ABOUT), 0, 1, IDOK },
        { "record limit warning", [] { Keys(Main(), CaptureKeys); }, 0, MaxHistoryRecords, IDOK },
    };
    for (const auto& c : cases) {
        if (ListRowCount() != c.records) {
            ClearAll();
            for (int i = 0; i < c.records; i++)
                AppendCapture(gHistory, "C:\\x.txt", "c");
            FillFromList();
        }
        gHistory.modified = c.changed;
        SetStatusText(1, 0, "");
        bool disabled = false;
        std::string notice;
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            disabled = !IsWindowEnabled(Main());
            Keys(dialog, CaptureKeys);
            Keys(dialog, CaptureKeys);
            notice = StatusText(1);
            PostMessageA(dialog, WM_COMMAND, c.close, 0);
        });
        // A box stacked on the first is closed, and counted.
        for (int i = 0; i < 4; i++)
            driver.Then([](HWND stacked) { PostMessageA(stacked, WM_COMMAND, IDOK, 0); });
        c.open();
        PumpShellFor(200);
        EXPECT_EQ(1u, driver.seen.size()) << c.name;
        EXPECT_TRUE(disabled) << c.name << ": the main window is the owner";
        EXPECT_EQ(TextCaptureWaitsForDialog, notice) << c.name;
        EXPECT_TRUE(Images().empty()) << c.name;
        EXPECT_EQ(1, gCapture.nextNumber) << c.name;
        EXPECT_EQ(c.records, ListRowCount()) << c.name;
        if (&c == &cases[0])
            SaveWindowPng(Main(), "main-window-capture-refused");
    }
    // The notice goes by itself; with no dialog open the keys capture.
    EXPECT_TRUE(PumpUntil([] { return StatusText(1).empty(); }, 6000));
    ClearAll();
    Keys(Main(), CaptureKeys);
    EXPECT_EQ(std::vector<std::string>{ "AAA1.bmp" }, Images());
}

// A capture refused for its number opens the settings sheet over the whole
// window; a declined overwrite leaves the engine a number ahead of the
// settings.  Either way the sheet shows and keeps the engine's number, and
// the next capture writes a new file.
TEST_F(MainWindowUseTest, CaptureAfterTheSettingsSheetNeverOverwritesAnEarlierImage) {
    Command(IDM_CAPTURE_START)();
    gSettings.maxImageNumber = 1;
    Keys(Main(), CaptureKeys);
    ASSERT_EQ(std::vector<std::string>{ "AAA1.bmp" }, Images());
    std::string first = ReadFileBytes(dir.File("AAA1.bmp"));
    WriteFileBytes(dir.File("AAA3.bmp"), "an image taken before");
    gSettings.confirmOverwrite = gCapture.confirmOverwrite = 1;

    bool disabled = false;
    std::vector<std::string> shown;
    auto fixSheet = [&](int button) {
        return [&, button](HWND sheet) {
            disabled = !IsWindowEnabled(Main());
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            shown.push_back(DialogItemText(page, IDC_SAVEFILE_START));
            SetDlgItemTextA(page, IDC_SAVEFILE_MAXIMUM, "10");
            ClickButton(page, button);
            PropSheet_PressButton(sheet, PSBTN_OK);
        };
    };
    auto answer = [](int id) { return [id](HWND box) { PostMessageA(box, WM_COMMAND, id, 0); }; };
    DialogDriver driver;
    // Number 2 is past the maximum 1: the number error, then the sheet.
    driver.Then(answer(IDOK));
    driver.Then(fixSheet(IDC_SAVEFILE_CONFIRM_YES));
    Keys(Main(), CaptureKeys);
    EXPECT_TRUE(disabled);
    Keys(Main(), CaptureKeys);
    // AAA3 exists: the overwrite is declined, the engine moves on to 4.
    driver.Then(answer(IDCANCEL));
    Keys(Main(), CaptureKeys);
    driver.Then(fixSheet(IDC_SAVEFILE_CONFIRM_NO));
    Command(IDM_TOOLS_SETTINGS)();
    Keys(Main(), CaptureKeys);

    EXPECT_TRUE(driver.Idle());
    EXPECT_EQ((std::vector<std::string>{ "2", "4" }), shown);
    EXPECT_EQ((std::vector<std::string>{ "AAA1.bmp", "AAA2.bmp", "AAA3.bmp", "AAA4.bmp" }), Images());
    EXPECT_TRUE(first == ReadFileBytes(dir.File("AAA1.bmp")));
    EXPECT_TRUE(ReadFileBytes(dir.File("AAA3.bmp")) == "an image taken before");
    EXPECT_EQ(5, gSettings.nextImageNumber);
}

TEST_F(MainWindowUseTest, EverySaveKeepsTheCommentBeingTyped) {
    auto captureWithAutoSave = [] {
        gSettings.autoSaveHistory = 1;
        SendMessageA(Main(), WM_HOTKEY, WholeScreen, 0);
    };
    const struct {
        const char* name;
        std::function<void()> save;
        const char* file;
    } cases[] = {
        { "Ctrl+S", [] { Keys(Main(), "ctrl+s"); }, "hist.csv" },
        { "menu", Command(IDM_FILE_SAVE), "hist.csv" },
        { "save as", Command(IDM_FILE_SAVEAS), "other.csv" },
        { "automatic save after a capture", captureWithAutoSave, "hist.csv" },
        { "discard question of 新規作成", Command(IDM_FILE_NEW), "hist.csv" },
        { "discard question of ファイルを開く", Command(IDM_FILE_OPEN), "hist.csv" },
    };
    for (const auto& c : cases) {
        SetUp();
        DeleteFileA(dir.File(c.file).c_str());
        LoadHistory(dir.Path(), { { "old", "C:\\x.txt", "" } });
        DialogDriver driver;
        driver.Then([](HWND question) { PostMessageA(question, WM_COMMAND, IDYES, 0); });
        driver.Then([](HWND open) { PostMessageA(open, WM_COMMAND, IDCANCEL, 0); });
        SetFocus(gHistoryView.list);
        HWND edit = (HWND)SendMessageA(gHistoryView.list, LVM_EDITLABELA, 0, 0);
        ASSERT_TRUE(edit != NULL) << c.name;
        SetWindowTextA(edit, "typed");
        PumpShellFor(50);
        c.save();
        PumpShellFor(100);
        EXPECT_FALSE(SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0)) << c.name;
        EXPECT_NE(std::string::npos, ReadFileBytes(dir.File(c.file)).find(",typed,")) << c.name;
        EXPECT_EQ(0, gHistory.modified) << c.name;
        TearDown();
    }
}

TEST_F(MainWindowUseTest, TheKeyboardSitsInThePaneTheUserSees) {
    LoadHistory(dir.Path(), { { "old", "C:\\x.txt", "" } });
    gHistory.modified = 1; // Ctrl+S would write hist.csv
    ClickTab(TabSettings);
    HWND panel = gLayout.settingsPane.keyPanel;
    HWND first = GetNextDlgTabItem(panel, NULL, FALSE);
    HWND second = GetNextDlgTabItem(panel, first, FALSE);
    EXPECT_EQ(first, GetFocus()) << "a tab switch moves the keyboard into the pane";
    Keys(Main(), "Tab");
    EXPECT_EQ(second, GetFocus());
    Keys(Main(), "shift+Tab");
    EXPECT_EQ(first, GetFocus());
    Keys(Main(), "Tab");
    // Leaving the window and coming back keeps the control.
    PatternWindow other(500, 300, 100, 100, WS_POPUP | WS_CAPTION);
    SetForegroundWindow(other.Handle());
    PumpShellFor(100);
    SetForegroundWindow(Main());
    PumpShellFor(100);
    EXPECT_EQ(second, GetFocus());

    // A hotkey field records the menu's shortcut keys instead of running them.
    HWND field = GetDlgItem(panel, IDC_KEYPANEL_HOTKEY0);
    const struct {
        const char* keys;
        WORD recorded;
    } presses[] = {
        { "ctrl+s", MAKEWORD('S', HOTKEYF_CONTROL) },
        { "ctrl+alt+s", MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_ALT) },
        { "ctrl+alt+e", MAKEWORD('E', HOTKEYF_CONTROL | HOTKEYF_ALT) },
        { "alt+question", MAKEWORD(VK_OEM_2, HOTKEYF_ALT | HOTKEYF_SHIFT) },
    };
    DialogDriver driver;
    driver.Then([](HWND about) { PostMessageA(about, WM_COMMAND, IDOK, 0); });
    for (const auto& p : presses) {
        SetFocus(field);
        Keys(Main(), p.keys);
        EXPECT_EQ(p.recorded, LOWORD(SendMessageA(field, HKM_GETHOTKEY, 0, 0))) << p.keys;
    }
    EXPECT_FALSE(PathExists(dir.File("hist.csv")));
    EXPECT_FALSE(IsCaptureMonitoring());
    EXPECT_TRUE(driver.seen.empty()) << "no about box";
    SaveWindowPng(Main(), "main-window-key-panel-focus");

    ClickTab(TabHistory);
    EXPECT_EQ(gHistoryView.list, GetFocus());
    Keys(Main(), "Tab");
    EXPECT_EQ(gLayout.historyPane.preview, GetFocus()) << "Tab goes between the list and the preview";
    Keys(Main(), "Tab");
    EXPECT_EQ(gHistoryView.list, GetFocus());
    // "コメント編集" from the menu edits in the list the user sees, wherever
    // the keyboard was.
    SelectRows({ 0 });
    for (HWND focus : { gLayout.historyPane.preview, field }) {
        if (focus == field)
            ClickTab(TabSettings);
        SetFocus(focus);
        Command(IDM_EDIT_COMMENT)();
        HWND edit = (HWND)SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0);
        EXPECT_TRUE(edit && edit == GetFocus() && IsWindowVisible(edit)) << (focus == field ? "key panel" : "preview");
        SendMessageA(gHistoryView.list, LVM_CANCELEDITLABEL, 0, 0);
    }
}

// Behaviours a plausible slip would lose without any other test noticing.
// (Last: it leaves the border dragged and the font changed.)
TEST_F(MainWindowUseTest, CommandsDoWhatTheirNamesSay) {
    const HistoryPane& pane = gLayout.historyPane;
    HFONT oldFont = NULL;
    const struct {
        const char* name;
        std::function<void()> act;
        std::function<bool()> holds;
    } cases[] = {
        { "新規作成 asks before dropping a changed history",
          [] {
              gHistory.modified = 1;
              DialogDriver driver;
              driver.Then([](HWND question) { PostMessageA(question, WM_COMMAND, IDCANCEL, 0); });
              Command(IDM_FILE_NEW)();
          },
          [] { return ListRowCount() == 3; } },
        { "全て選択 selects every row", Command(IDM_EDIT_SELECTALL), [] { return SelectedRowCount() == 3; } },
        { "the preview's border cannot be dragged over the whole list",
          [&] {
              RECT frame, box;
              GetWindowRect(pane.splitFrame, &frame);
              GetWindowRect(pane.container, &box);
              auto at = [&](int y) { return std::to_string((frame.left + frame.right) / 2) + " " + std::to_string(y); };
              XdotoolOnDisplay("mousemove " + at(frame.top + 2) + " mousedown 1 mousemove " + at(frame.top - 40) +
                      " mousemove " + at(box.top) + " mouseup 1");
              PumpShellFor(300);
          },
          [&] {
              RECT host;
              GetWindowRect(pane.listHost, &host);
              return host.bottom - host.top >= 10 * GetSystemMetrics(SM_CYFRAME);
          } },
        // The old font is deleted only once the list has the new one.
        { "the history font is made again after the settings sheet",
          [&] {
              oldFont = gHistoryView.font;
              gSettings.fonts[FontHistory].pointSize = 23;
              DialogDriver driver;
              driver.Then([](HWND sheet) { PropSheet_PressButton(sheet, PSBTN_CANCEL); });
              Command(IDM_TOOLS_SETTINGS)();
              PumpShellFor(50);
          },
          [&] {
              HFONT now = (HFONT)SendMessageA(gHistoryView.list, WM_GETFONT, 0, 0);
              LOGFONTA font = {};
              GetObjectA(now, sizeof(font), &font);
              return font.lfHeight == 23 && now == gHistoryView.font && GetObjectType(oldFont) == 0;
          } },
    };
    for (const auto& c : cases) {
        LoadHistory(dir.Path(), { { "a", "C:\\a.txt", "" }, { "b", "C:\\b.txt", "" }, { "c", "C:\\c.txt", "" } });
        SelectRows({ 1 });
        c.act();
        EXPECT_TRUE(c.holds()) << c.name;
    }
}
