// Opening a row's image or text file: which program starts, with which
// parameter, in which folder.
#include "history/HistoryLaunch.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/ShellRun.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

struct Launched {
    std::string verb, file, parameters, directory;
    bool operator==(const Launched& o) const {
        return verb == o.verb && file == o.file && parameters == o.parameters && directory == o.directory;
    }
};
std::ostream& operator<<(std::ostream& out, const Launched& l) {
    return out << "[" << l.verb << "|" << l.file << "|" << l.parameters << "|" << l.directory << "]";
}

std::vector<Launched> gLaunched;
INT_PTR gLaunchResult = 42;

INT_PTR RecordLaunch(HWND, const char* verb, const char* file, const char* parameters, const char* directory, int) {
    gLaunched.push_back({ verb ? verb : "(null)", file ? file : "(null)", parameters ? parameters : "(null)",
                          directory ? directory : "(null)" });
    return gLaunchResult;
}

std::string gSaveAsPath;
bool AnswerSaveAs(OPENFILENAMEA* ofn) {
    CopyText(ofn->lpstrFile, ofn->nMaxFile, gSaveAsPath.c_str());
    CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, FileNamePart(gSaveAsPath.c_str()));
    return true;
}

class HistoryLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestMainWindow();
        gLaunched.clear();
        gLaunchResult = 42;
        SetShellExecuteHook(RecordLaunch);
        CopyText(gSettings.imageApp, countof(gSettings.imageApp), "viewer");
        CopyText(gSettings.textApp, countof(gSettings.textApp), "notepad");
    }
    void TearDown() override {
        SetShellExecuteHook(NULL);
        SetFileDialogHooks(NULL, NULL);
        SetShiftState(false);
    }
    void DoubleClick(int row) {
        POINT p = RowPoint(row);
        SendMessageA(gHistoryView.list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    }
    Launched App(const char* app, const std::string& parameter, const std::string& folder) {
        return { "(null)", app, parameter, folder };
    }
    TempDir dir;
    MessageBoxRecorder boxes;
};

} // namespace

TEST_F(HistoryLaunchTest, DoubleClickOpensTheRowsImage) {
    struct { const char* image; bool shift; const char* text; std::vector<Launched> expected; } cases[] = {
        { "\\cap1.jpg", false, "", { { "(null)", "viewer", "cap1.jpg", "" } } },
        { "D:\\pics\\cap2.bmp", false, "", { { "(null)", "viewer", "cap2.bmp", "D:\\pics" } } },
        { "\\my capture 1.jpg", false, "", { { "(null)", "viewer", "\"my capture 1.jpg\"", "" } } },
        { "\\cap1.JPG", false, "", {} },
        { "\\cap1.doc", false, "", {} },
        { "\\cap1.jpg", true, "memo.txt", { { "(null)", "notepad", "memo.txt", "" } } },
        { "\\cap1.jpg", true, "", {} },
    };
    for (auto& c : cases) {
        for (Launched& l : c.expected)
            if (l.directory.empty())
                l.directory = dir.Path();
        LoadHistory(dir.Path(), { { "a", c.image, c.text } });
        gLaunched.clear();
        SetShiftState(c.shift);
        DoubleClick(0);
        SetShiftState(false);
        EXPECT_EQ(c.expected, gLaunched) << c.image;
        EXPECT_TRUE(boxes.messages.empty()) << c.image;
    }
}

TEST_F(HistoryLaunchTest, AfterSaveAsTheHistoryFolderImagesAreLookedForInTheNewFolder) {
    TempDir other;
    LoadHistory(dir.Path(), { { "a", "\\cap1.jpg", "" } });
    gSaveAsPath = other.File("moved.csv");
    SetFileDialogHooks(NULL, AnswerSaveAs);
    SendMessageA(gShell.hwndMain, WM_COMMAND, IDM_FILE_SAVEAS, 0);
    EXPECT_EQ(other.Path(), std::string(gHistory.historyFolder));
    DoubleClick(0);
    EXPECT_EQ(std::vector<Launched>({ App("viewer", "cap1.jpg", other.Path()) }), gLaunched);
}

TEST_F(HistoryLaunchTest, EnterOpensEverySelectedRowAfterAsking) {
    struct { int answer; size_t launches; } cases[] = { { IDOK, 2 }, { IDCANCEL, 0 } };
    for (const auto& c : cases) {
        LoadHistory(dir.Path(), { { "a", "\\a.gif", "" }, { "b", "\\b.gif", "" }, { "c", "\\c.gif", "" } });
        SelectRows({ 0, 2 });
        gLaunched.clear();
        MessageBoxRecorder answers;
        answers.QueueAnswer(c.answer);
        SendMessageA(gHistoryView.list, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_EQ(1u, answers.messages.size());
        EXPECT_EQ("複数選択されています。\r\n全て開きますか？", answers.messages[0].text);
        EXPECT_EQ("確認", answers.messages[0].caption);
        EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), answers.messages[0].flags);
        ASSERT_EQ(c.launches, gLaunched.size());
        if (c.launches) {
            EXPECT_EQ(App("viewer", "a.gif", dir.Path()), gLaunched[0]);
            EXPECT_EQ(App("viewer", "c.gif", dir.Path()), gLaunched[1]);
        }
    }
}

TEST_F(HistoryLaunchTest, WithoutAnApplicationTheFileOpensWithItsAssociatedProgram) {
    gSettings.imageApp[0] = '\0';
    LoadHistory(dir.Path(), { { "a", "\\a.gif", "" } });
    SelectRows({ 0 });
    SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_OPENIMAGE, 0);
    EXPECT_EQ(std::vector<Launched>({ { "open", dir.File("a.gif"), "(null)", "(null)" } }), gLaunched);
}

TEST_F(HistoryLaunchTest, AProgramThatCannotStartIsReported) {
    gLaunchResult = SE_ERR_FNF;
    LoadHistory(dir.Path(), { { "a", "\\a.jpg", "" } });
    DoubleClick(0);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルが見つかりません", boxes.messages[0].text);
    EXPECT_EQ("ファイルオープンエラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, boxes.messages[0].flags);
}

TEST_F(HistoryLaunchTest, TextEditOpensTheOneSelectedRowsTextFile) {
    LoadHistory(dir.Path(), { { "a", "\\a.gif", "memo.txt" }, { "b", "\\b.gif", "memo.TXT" }, { "c", "\\c.gif", "" } });
    struct { std::initializer_list<int> rows; std::vector<Launched> expected; bool refused; } cases[] = {
        { { 0 }, { App("notepad", "memo.txt", dir.Path()) }, false },
        { { 1 }, {}, false },
        { { 2 }, {}, false },
        { { 0, 2 }, {}, true },
        { {}, {}, true },
    };
    for (const auto& c : cases) {
        SelectRows(c.rows);
        gLaunched.clear();
        boxes.messages.clear();
        SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_TEXTEDIT, 0);
        EXPECT_EQ(c.expected, gLaunched) << c.rows.size();
        ASSERT_EQ(c.refused ? 1u : 0u, boxes.messages.size()) << c.rows.size();
        if (c.refused) {
            EXPECT_EQ("複数選択してテキスト編集はできません？", boxes.messages[0].text);
            EXPECT_EQ((UINT)MB_ICONQUESTION, boxes.messages[0].flags);
        }
    }
}

// The real ShellExecuteA starting a real program in place of the text
// application.
TEST_F(HistoryLaunchTest, ShiftDoubleClickStartsTheTextApplicationInTheHistoryFolder) {
    SetShellExecuteHook(NULL);
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string recorder = std::string(self, FolderPartLength(self)) + "\\" LAUNCH_RECORDER;
    CopyText(gSettings.textApp, countof(gSettings.textApp), recorder.c_str());
    std::string log = dir.File("launch.log");
    SetEnvironmentVariableA("GYROLENS_LAUNCH_LOG", log.c_str());
    LoadHistory(dir.Path(), { { "a", "\\a.jpg", "memo.txt" } });
    SetShiftState(true);
    DoubleClick(0);
    SetShiftState(false);
    ASSERT_TRUE(PumpUntil([&] { return PathExists(log); }, 15000));
    EXPECT_EQ("cwd=" + dir.Path() + "\narg=memo.txt\n", ReadFileBytes(log));
    EXPECT_TRUE(boxes.messages.empty());
}
