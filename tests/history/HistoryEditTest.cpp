// The history list's editing commands on the real main window: deleting,
// moving, dropped files, in-place comments and the context menu.
#include "history/HistoryEdit.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/MainWindow.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "imagepreview/PreviewWindow.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

typedef std::vector<std::string> Texts;

// The tests' own Recycle Bin (ctest sets XDG_DATA_HOME, where Wine keeps
// it); empty when unset, so that a run by hand leaves the user's bin alone.
std::string EmptiedRecycleBin() {
    char unixPath[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", unixPath, sizeof(unixPath));
    if (n == 0 || n >= sizeof(unixPath))
        return "";
    std::string path = std::string("Z:") + unixPath + "/Trash";
    std::replace(path.begin(), path.end(), '/', '\\');
    // Emptied, but its folders stay: without them Wine deletes for good.
    for (const char* part : { "\\files", "\\info" })
        for (const std::string& name : FilesIn(path + part))
            DeleteFileA((path + part + "\\" + name).c_str());
    return path;
}

class HistoryEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestMainWindow();
        gSettings.keepImageOnDelete = 0;
    }
    void TearDown() override { PumpFor(30); }
    void Command(int id) { SendMessageA(gShell.hwndMain, WM_COMMAND, id, 0); }
    void ListCommand(int id) { SendMessageA(gHistoryView.list, WM_COMMAND, id, 0); }
    void Key(UINT key) { SendMessageA(gHistoryView.list, WM_KEYDOWN, key, 0); }
    Texts Records() {
        Texts t;
        for (int i = 0; i < gHistory.count; i++)
            t.push_back(gHistory.records[i].comment);
        return t;
    }
    TempDir dir;
    MessageBoxRecorder boxes;
};

// Six rows c0..c5 whose images img0.JPG..img5.JPG lie in the history folder
// (pictures the preview does not load: it takes ".jpg" only).
void LoadSixImages(const TempDir& dir) {
    std::vector<RowSpec> rows;
    for (int i = 0; i < 6; i++) {
        std::string name = "img" + std::to_string(i) + ".JPG";
        WriteFileBytes(dir.File(name), "x");
        rows.push_back({ "c" + std::to_string(i), "\\" + name, "" });
    }
    LoadHistory(dir.Path(), rows);
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
    std::string names;
    for (const std::string& p : paths)
        names += p + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = { 10, 10 };
    memcpy(drop + 1, names.data(), names.size());
    GlobalUnlock(memory);
    return (HDROP)memory;
}

} // namespace

TEST_F(HistoryEditTest, DeletingNonAdjacentRows) {
    enum Via { ByCommand, ByKey, ByMenu };
    const Texts all = { "c0", "c1", "c2", "c3", "c4", "c5" }, left = { "c1", "c3", "c5" };
    const Texts allFiles = { "img0.JPG", "img1.JPG", "img2.JPG", "img3.JPG", "img4.JPG", "img5.JPG" };
    struct {
        const char* name;
        int answer;
        int keepImages;
        Via via;
        Texts rows;
        Texts files;
    } cases[] = {
        { "yes, images deleted", IDYES, 0, ByCommand, left, { "img1.JPG", "img3.JPG", "img5.JPG" } },
        { "Delete key", IDYES, 0, ByKey, left, { "img1.JPG", "img3.JPG", "img5.JPG" } },
        { "context menu, images kept", IDYES, 1, ByMenu, left, allFiles },
        { "no", IDNO, 0, ByCommand, all, allFiles },
        { "cancel", IDCANCEL, 0, ByKey, all, allFiles },
    };
    for (const auto& c : cases) {
        TempDir folder;
        MessageBoxRecorder answers;
        LoadSixImages(folder);
        gSettings.keepImageOnDelete = c.keepImages;
        SelectRows({ 0, 2, 4 });
        answers.QueueAnswer(c.answer);
        if (c.via == ByCommand)
            Command(IDM_EDIT_DELETE);
        else if (c.via == ByKey)
            Key(VK_DELETE);
        else
            ListCommand(IDM_EDIT_DELETE);
        EXPECT_EQ(c.rows, ColumnTexts(ColumnComment)) << c.name;
        EXPECT_EQ(c.rows, Records()) << c.name;
        EXPECT_EQ(c.files, FilesIn(folder.Path())) << c.name;
        EXPECT_EQ(c.answer == IDYES ? 1 : 0, gHistory.modified) << c.name;
        ASSERT_EQ(1u, answers.messages.size()) << c.name;
        EXPECT_EQ("選択した行を削除します。よろしいですか？", answers.messages[0].text);
        EXPECT_EQ("確認", answers.messages[0].caption);
        EXPECT_EQ((UINT)(MB_YESNOCANCEL | MB_ICONQUESTION), answers.messages[0].flags);
        EXPECT_EQ(gHistoryView.list, answers.messages[0].owner);
    }
}

// Only the pictures the program writes go with their rows, wherever they
// lie, and they go to the Recycle Bin, from where the user can restore
// them; a missing one is reported and its row still goes.
TEST_F(HistoryEditTest, DeletingRowsRecyclesOnlyThePicturesTheProgramWrites) {
    std::string bin = EmptiedRecycleBin();
    TempDir elsewhere;
    WriteFileBytes(elsewhere.File("full.BMP"), "x");
    std::vector<RowSpec> rows = { { "a", "\\missing.BMP", "memo.txt" }, { "b", elsewhere.File("full.BMP"), "" } };
    for (const char* name : { "report.docx", "cap1.bmp", "CAP2.JPG", "shot.Jpg", "grab.PNG", "photo.jpeg", "scan.gif",
                              "memo.txt" }) {
        WriteFileBytes(dir.File(name), name);
        rows.push_back({ name, std::string("\\") + name, "" });
    }
    LoadHistory(dir.Path(), rows);
    SetRowState(-1, LVIS_SELECTED, LVIS_SELECTED);
    boxes.QueueAnswer(IDYES);
    Command(IDM_EDIT_DELETE);
    EXPECT_EQ(0, ListRowCount());
    EXPECT_EQ(Texts({ "memo.txt", "photo.jpeg", "report.docx", "scan.gif" }), FilesIn(dir.Path()));
    EXPECT_EQ(Texts(), FilesIn(elsewhere.Path()));
    ASSERT_EQ(2u, boxes.messages.size()) << "nothing asked or reported beyond the question and the missing file";
    EXPECT_EQ("削除するファイルが存在しません", boxes.messages[1].text);
    EXPECT_EQ(dir.File("missing.BMP"), boxes.messages[1].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, boxes.messages[1].flags);
    if (!bin.empty()) {
        EXPECT_EQ(Texts({ "CAP2.JPG", "cap1.bmp", "full.BMP", "grab.PNG", "shot.Jpg" }), FilesIn(bin + "\\files"));
        EXPECT_EQ("cap1.bmp", ReadFileBytes(bin + "\\files\\cap1.bmp"));
    }
}

// What is typed into a comment is what is kept, however the edit ends
// (key 0: the focus moves elsewhere): the editor takes as many bytes as a
// comment keeps, whatever the characters, and a comment as long as a
// comment can be stays whole when another row is edited.
TEST_F(HistoryEditTest, InPlaceEditKeepsWhatIsTypedUpToWhatACommentKeeps) {
    std::string kana64, longest(128, 'c');
    for (int i = 0; i < 64; i++)
        kana64 += "あ";
    struct { UINT key; std::wstring typed; std::string kept; } cases[] = {
        { VK_RETURN, std::wstring(70, L'あ'), kana64 },
        { VK_ESCAPE, std::wstring(130, L'a'), std::string(128, 'a') },
        { 0, std::wstring(127, L'a') + L"あ", std::string(127, 'a') }, // no room for the last character
    };
    for (const auto& c : cases) {
        LoadHistory(dir.Path(), { { longest, "\\a.JPG", "" }, { "b", "\\b.JPG", "" } });
        SelectRows({ 1 });
        SetFocus(gHistoryView.list);
        Command(IDM_EDIT_COMMENT);
        HWND edit = (HWND)SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0);
        ASSERT_TRUE(edit != NULL) << c.key;
        EXPECT_EQ(1, gHistory.modified) << "starting an edit marks the list changed";
        SendMessageA(edit, EM_SETSEL, 0, -1);
        for (wchar_t ch : c.typed)
            SendMessageW(edit, WM_CHAR, ch, 0);
        EXPECT_EQ(c.kept, WindowText(edit)) << c.key;
        if (c.key) {
            SendMessageA(edit, WM_KEYDOWN, c.key, 0);
            SendMessageA(edit, WM_CHAR, c.key, 0);
        } else {
            SetFocus(gPreview.window);
        }
        PumpUntil([] { return SendMessageA(gHistoryView.list, LVM_GETEDITCONTROL, 0, 0) == 0; }, 1000);
        EXPECT_EQ(c.kept, Cell(1, ColumnComment)) << c.key;
        EXPECT_EQ(c.kept, gHistory.records[1].comment) << c.key;
        EXPECT_EQ(1, gHistory.modified) << c.key;
        ASSERT_EQ(1, SaveHistory()) << c.key;
        std::string csv = ReadFileBytes(dir.File("hist.csv"));
        EXPECT_NE(std::string::npos, csv.find("," + c.kept + ",\\b.JPG,")) << c.key;
        EXPECT_NE(std::string::npos, csv.find("," + longest + ",\\a.JPG,")) << c.key;
    }
}

// Another program (a virus scanner, an indexer, a sync client) reads the
// history file for a moment while the user saves: the save waits for it.
// (One that holds the file for good: HistoryFileTest.)
TEST_F(HistoryEditTest, SavingWhileAnotherProgramReadsTheFileForAMoment) {
    LoadHistory(dir.Path(), { { "new", "\\a.JPG", "" } });
    WriteFileBytes(dir.File("hist.csv"), "old\r\n");
    gHistory.modified = 1;
    HANDLE reader = CreateFileA(dir.File("hist.csv").c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    std::thread release([&] { Sleep(600); CloseHandle(reader); });
    Command(IDM_FILE_SAVE);
    release.join();
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_NE(std::string::npos, ReadFileBytes(dir.File("hist.csv")).find(",new,\\a.JPG,\r\n"));
    EXPECT_EQ(0, gHistory.modified);
    EXPECT_EQ(Texts({ "hist.csv" }), FilesIn(dir.Path()));
}

TEST_F(HistoryEditTest, MovingTheFirstSelectedRow) {
    struct {
        std::initializer_list<int> selected;
        int command;
        bool fromMenu;
        Texts rows;
        int modified;
        std::vector<int> selectedAfter;
    } cases[] = {
        { { 0 }, IDM_EDIT_UP, false, { "a", "b", "c", "d" }, 0, { 0 } },
        { { 3 }, IDM_EDIT_DOWN, true, { "a", "b", "c", "d" }, 0, { 3 } },
        { { 2 }, IDM_EDIT_UP, true, { "a", "c", "b", "d" }, 1, { 1 } },
        { { 1 }, IDM_EDIT_DOWN, false, { "a", "c", "b", "d" }, 1, { 2 } },
        { { 1, 3 }, IDM_EDIT_UP, false, { "b", "a", "c", "d" }, 1, { 0, 3 } },
        { { 0, 2 }, IDM_EDIT_DOWN, true, { "b", "a", "c", "d" }, 1, { 1, 2 } },
    };
    for (const auto& c : cases) {
        LoadHistory(dir.Path(), { { "a", "\\a.gif", "" }, { "b", "C:\\pics\\b.gif", "b.txt" },
                                  { "c", "\\c.gif", "" }, { "d", "\\d.gif", "" } });
        SelectRows(c.selected);
        if (c.fromMenu)
            ListCommand(c.command);
        else
            Command(c.command);
        std::string name = std::to_string(*c.selected.begin()) + (c.command == IDM_EDIT_UP ? " up" : " down");
        EXPECT_EQ(c.rows, ColumnTexts(ColumnComment)) << name;
        EXPECT_EQ(c.rows, Records()) << name;
        EXPECT_EQ(c.modified, gHistory.modified) << name;
        std::vector<int> selected;
        for (int row = -1; (row = (int)SendMessageA(gHistoryView.list, LVM_GETNEXTITEM, row, LVNI_SELECTED)) >= 0;)
            selected.push_back(row);
        EXPECT_EQ(c.selectedAfter, selected) << name;
        // The moved row keeps all its columns.
        int b = (int)(std::find(c.rows.begin(), c.rows.end(), "b") - c.rows.begin());
        EXPECT_EQ("C:\\pics\\b.gif", Cell(b, ColumnImage)) << name;
        EXPECT_EQ("b.txt", Cell(b, ColumnText)) << name;
        EXPECT_EQ("2024/01/02 03:04:01", Cell(b, ColumnDate)) << name;
    }
}

TEST_F(HistoryEditTest, DroppingFiveFilesOntoAlmostFullList) {
    std::vector<RowSpec> rows;
    for (int i = 0; i < 998; i++)
        rows.push_back({ "r" + std::to_string(i), "\\r" + std::to_string(i) + ".gif", "" });
    LoadHistory(dir.Path(), rows);
    std::vector<std::string> dropped;
    for (int i = 0; i < 5; i++)
        dropped.push_back("C:\\drop folder\\f" + std::to_string(i) + ".gif");
    SendMessageA(gHistoryView.list, WM_DROPFILES, (WPARAM)MakeDrop(dropped), 0);
    EXPECT_EQ(1000, ListRowCount());
    EXPECT_EQ(1000, gHistory.count);
    EXPECT_EQ(1, gHistory.modified);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("最大登録件数を超えました", boxes.messages[0].text);
    EXPECT_EQ("ERROR", boxes.messages[0].caption);
    EXPECT_EQ((UINT)MB_ICONERROR, boxes.messages[0].flags);
    for (int row = 998; row < 1000; row++) {
        EXPECT_EQ("DROP", Cell(row, ColumnComment));
        EXPECT_EQ(dropped[row - 998], Cell(row, ColumnImage));
        EXPECT_EQ("", Cell(row, ColumnText));
        std::string date = Cell(row, ColumnDate);
        ASSERT_EQ(19u, date.size()) << date;
        EXPECT_EQ("// ::", date.substr(4, 1) + date[7] + date[10] + date[13] + date[16]) << date;
    }
    // Saved with the full path, not as a history-folder name.
    ASSERT_EQ(1, SaveHistory());
    std::string csv = ReadFileBytes(dir.File("hist.csv"));
    std::string last = "," + std::string("DROP,C:\\drop folder\\f1.gif,\r\n");
    EXPECT_EQ(last, csv.substr(csv.size() - last.size()));
}

// --- the context menu ---------------------------------------------------------

namespace {

struct MenuSeen {
    bool shown = false;
    std::vector<bool> enabled; // in the order of MenuIds
    RECT where = {};
};
MenuSeen gMenuSeen;
const UINT MenuIds[] = { IDM_LIST_TEXTINFO, IDM_LIST_TEXTEDIT, IDM_EDIT_COMMENT, IDM_EDIT_BATCHCOMMENT,
                         IDM_EDIT_UP,       IDM_EDIT_DOWN,     IDM_EDIT_DELETE,  IDM_LIST_OPENIMAGE };

// Runs inside the menu's own loop: reads the open popup, then closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = FindWindowA("#32768", NULL);
    if (!popup || !IsWindowVisible(popup))
        return;
    KillTimer(NULL, id);
    HMENU menu = (HMENU)SendMessageA(popup, MN_GETHMENU, 0, 0);
    gMenuSeen.shown = true;
    for (UINT item : MenuIds)
        gMenuSeen.enabled.push_back(!(GetMenuState(menu, item, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)));
    GetWindowRect(popup, &gMenuSeen.where);
    EndMenu();
}

// Opens the list's menu by WM_CONTEXTMENU at `position`, or with a right
// click at the client point `click` as the mouse gives it (the pointer is
// there too).
MenuSeen OpenContextMenu(LPARAM position, const POINT* click = NULL) {
    gMenuSeen = MenuSeen();
    UINT_PTR timer = SetTimer(NULL, 0, 20, ReadOpenMenu);
    if (click) {
        POINT screen = *click;
        ClientToScreen(gHistoryView.list, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(gHistoryView.list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(click->x, click->y));
        PostMessageA(gHistoryView.list, WM_RBUTTONUP, 0, MAKELPARAM(click->x, click->y));
        PumpUntil([] { return gMenuSeen.shown; }, 2000);
    } else {
        SendMessageA(gHistoryView.list, WM_CONTEXTMENU, (WPARAM)gHistoryView.list, position);
    }
    KillTimer(NULL, timer);
    return gMenuSeen;
}

} // namespace

// Enabled by row and file name; opened at the point given, under the
// focused row from the keyboard, or at a right click.
TEST_F(HistoryEditTest, ContextMenuEnablesByRowAndOpensWhereAsked) {
    const std::vector<bool> all(8, true), none(8, false);
    const LPARAM fromKeys = MAKELPARAM(-1, -1);
    struct {
        const char* name;
        std::initializer_list<int> selected;
        bool untitled;
        std::vector<bool> enabled;
        LPARAM at;
    } cases[] = {
        { "row, history file", { 1 }, false, all, MAKELPARAM(300, 250) },
        { "row, untitled", { 1 }, true, { false, false, true, true, true, true, true, true }, MAKELPARAM(300, 250) },
        { "no row", {}, false, none, MAKELPARAM(300, 250) },
        { "keys, under the focused row", { 1 }, false, all, fromKeys },
    };
    for (const auto& c : cases) {
        LoadHistory(dir.Path(), { { "a", "\\a.gif", "" }, { "b", "\\b.gif", "" } });
        gHistory.untitled = c.untitled ? 1 : 0;
        SelectRows(c.selected);
        RECT row = { LVIR_LABEL, 0, 0, 0 };
        SendMessageA(gHistoryView.list, LVM_GETITEMRECT, 1, (LPARAM)&row);
        POINT expected = { row.left, row.bottom };
        ClientToScreen(gHistoryView.list, &expected);
        if (c.at != fromKeys)
            expected = { LOWORD(c.at), HIWORD(c.at) };
        MenuSeen seen = OpenContextMenu(c.at);
        ASSERT_TRUE(seen.shown) << c.name;
        EXPECT_EQ(c.enabled, seen.enabled) << c.name;
        EXPECT_EQ(expected.x, seen.where.left) << c.name;
        EXPECT_EQ(expected.y, seen.where.top) << c.name;
    }
    gHistory.untitled = 0;
    POINT click = RowPoint(0);
    MenuSeen seen = OpenContextMenu(0, &click);
    ClientToScreen(gHistoryView.list, &click);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(click.x, seen.where.left);
    EXPECT_EQ(click.y, seen.where.top);
}
