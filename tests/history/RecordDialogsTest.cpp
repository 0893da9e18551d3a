// Dialogs 132 (one comment for the selected rows) and 152 (a row's text
// file), driven through their real templates inside their own loops.
#include "history/CommentDialog.h"
#include "history/TextFileDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "resources/resource.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

typedef std::vector<std::string> Texts;

INT_PTR CALLBACK BareDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

std::vector<std::string> ListBoxItems(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_TEXTFILE_LIST);
    std::vector<std::string> items;
    int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; i++) {
        char text[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

class RecordDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { TestMainWindow(); }
    void TearDown() override { PumpFor(30); }
    void LoadFourRows() {
        LoadHistory(dir.Path(), { { "a", "\\a.gif", "" }, { "b", "\\b.gif", "note.txt" }, { "c", "\\c.gif", "" },
                                  { "d", "\\d.gif", "" } });
    }
    TempDir dir;
    MessageBoxRecorder boxes;
    DialogDriver driver;
};

} // namespace

TEST_F(RecordDialogsTest, TemplatesHoldEveryControlTheProceduresUse) {
    struct { int dialog; const char* caption; std::vector<int> controls; } cases[] = {
        { IDD_COMMENT, "編集", { IDC_COMMENT_EDIT, IDC_COMMENT_OK, IDC_COMMENT_CANCEL } },
        { IDD_TEXTFILE, "ファイル選択",
          { IDC_TEXTFILE_FOLDER, IDC_TEXTFILE_LIST, IDOK, IDCANCEL, IDC_TEXTFILE_NONE, IDC_TEXTFILE_NEWNAME,
            IDC_TEXTFILE_ADD } },
    };
    for (const auto& c : cases) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(c.dialog), gShell.hwndMain,
                                         BareDialogProc, 0);
        ASSERT_TRUE(dialog != NULL) << c.dialog;
        EXPECT_EQ(c.caption, WindowText(dialog));
        for (int id : c.controls)
            EXPECT_TRUE(GetDlgItem(dialog, id) != NULL) << "dialog " << c.dialog << " control " << id;
        DestroyWindow(dialog);
    }
}

TEST_F(RecordDialogsTest, BatchCommentSetsEverySelectedRow) {
    std::string longText(200, 'x'), x128(128, 'x'), a127(127, 'a');
    std::string sixtyFourA;
    for (int i = 0; i < 64; i++)
        sixtyFourA += "あ";
    // `typed` is put in at once; `keys` are then typed one by one.
    struct { const char* name; std::string typed; std::wstring keys; int button; Texts rows; int modified; } cases[] = {
        { "empty clears", "", L"", IDC_COMMENT_OK, { "", "b", "", "" }, 1 },
        { "Enter", "new", L"", IDOK, { "new", "b", "new", "new" }, 1 },
        { "cut to 128 bytes", longText, L"", IDC_COMMENT_OK, { x128, "b", x128, x128 }, 1 },
        { "no half character", a127 + "あ", L"", IDC_COMMENT_OK, { a127, "b", a127, a127 }, 1 },
        { "typing stops at 128 bytes", "", std::wstring(70, L'あ'), IDC_COMMENT_OK,
          { sixtyFourA, "b", sixtyFourA, sixtyFourA }, 1 },
        { "cancel", "new", L"", IDC_COMMENT_CANCEL, { "a", "b", "c", "d" }, 0 },
        { "Escape", "new", L"", IDCANCEL, { "a", "b", "c", "d" }, 0 },
    };
    bool shot = false;
    for (const auto& c : cases) {
        LoadFourRows();
        SelectRows({ 0, 2, 3 });
        driver.Then([&](HWND dialog) {
            EXPECT_EQ("", DialogItemText(dialog, IDC_COMMENT_EDIT)) << c.name;
            EXPECT_EQ(128, (int)SendDlgItemMessageA(dialog, IDC_COMMENT_EDIT, EM_GETLIMITTEXT, 0, 0));
            SetDlgItemTextA(dialog, IDC_COMMENT_EDIT, c.typed.c_str());
            for (wchar_t key : c.keys)
                SendDlgItemMessageW(dialog, IDC_COMMENT_EDIT, WM_CHAR, key, 0);
            if (!shot)
                shot = SaveWindowPng(dialog, "comment_dialog");
            SendMessageA(dialog, WM_COMMAND, c.button, 0);
        });
        SendMessageA(gShell.hwndMain, WM_COMMAND, IDM_EDIT_BATCHCOMMENT, 0);
        EXPECT_TRUE(driver.Idle()) << c.name;
        EXPECT_EQ(c.rows, ColumnTexts(ColumnComment)) << c.name;
        EXPECT_EQ(c.modified, gHistory.modified) << c.name;
        EXPECT_EQ(c.rows[0], gHistory.records[0].comment) << c.name;
    }
}

TEST_F(RecordDialogsTest, NewTextFileIsCreatedListedAndChosen) {
    WriteFileBytes(dir.File("memo.TXT"), "");
    WriteFileBytes(dir.File("note.txt"), "");
    WriteFileBytes(dir.File("other.doc"), "");
    LoadFourRows();
    SelectRows({ 2 });
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(dir.Path(), DialogItemText(dialog, IDC_TEXTFILE_FOLDER));
        EXPECT_EQ(Texts({ "memo.TXT", "note.txt" }), ListBoxItems(dialog));
        SetDlgItemTextA(dialog, IDC_TEXTFILE_NEWNAME, "memo.txt");
        ClickButton(dialog, IDC_TEXTFILE_ADD);
        EXPECT_TRUE(PathExists(dir.File("memo.txt.txt")));
        EXPECT_EQ(Texts({ "memo.TXT", "memo.txt.txt", "note.txt" }), ListBoxItems(dialog));
        EXPECT_EQ(1, SendDlgItemMessageA(dialog, IDC_TEXTFILE_LIST, LB_GETCURSEL, 0, 0)) << "the new file is chosen";
        SaveWindowPng(dialog, "textfile_dialog");
        ClickButton(dialog, IDOK);
    });
    SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_TEXTINFO, 0);
    EXPECT_TRUE(driver.Idle());
    EXPECT_EQ(Texts({ "", "note.txt", "memo.txt.txt", "" }), ColumnTexts(ColumnText));
    EXPECT_STREQ("memo.txt.txt", gHistory.records[2].textPath);
    EXPECT_EQ(1, gHistory.modified);
    EXPECT_EQ("", ReadFileBytes(dir.File("memo.txt.txt")));
}

TEST_F(RecordDialogsTest, ChoosingNoneRemovesTheTextFileFromTheRowOnly) {
    WriteFileBytes(dir.File("note.txt"), "keep me");
    LoadFourRows();
    SelectRows({ 1 });
    driver.Then([](HWND dialog) { ClickButton(dialog, IDC_TEXTFILE_NONE); });
    SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_TEXTINFO, 0);
    EXPECT_EQ("", Cell(1, ColumnText));
    EXPECT_EQ(1, gHistory.modified);
    EXPECT_EQ("keep me", ReadFileBytes(dir.File("note.txt")));
}

// The command wants exactly one row; in the dialog, refusals keep it open.
TEST_F(RecordDialogsTest, RefusalsKeepTheDialogOpen) {
    WriteFileBytes(dir.File("note.txt"), "");
    // Held open by another program, as an editor or a virus scanner does:
    // the file is there all the same.
    HANDLE other = CreateFileA(dir.File("note.txt").c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    LoadFourRows();
    SelectRows({ 0, 1 });
    SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_TEXTINFO, 0);
    EXPECT_TRUE(driver.seen.empty()) << "no dialog for two rows";
    SelectRows({ 0 });
    driver.Then([&](HWND dialog) {
        ClickButton(dialog, IDOK); // nothing chosen
        ClickButton(dialog, IDC_TEXTFILE_ADD); // no name
        SetDlgItemTextA(dialog, IDC_TEXTFILE_NEWNAME, "note");
        ClickButton(dialog, IDC_TEXTFILE_ADD); // exists
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(Texts({ "note.txt" }), ListBoxItems(dialog));
        ClickButton(dialog, IDCANCEL);
    });
    SendMessageA(gHistoryView.list, WM_COMMAND, IDM_LIST_TEXTINFO, 0);
    CloseHandle(other);
    const struct { const char* text; const char* caption; UINT flags; } asked[] = {
        { "複数選択してテキスト追加はできません？", "確認", MB_ICONQUESTION },
        { "ファイルが選択されていません", "確認", MB_ICONINFORMATION },
        { "ファイル名を入力してください", "確認", MB_OK },
    };
    ASSERT_EQ(4u, boxes.messages.size());
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(asked[i].text, boxes.messages[i].text);
        EXPECT_EQ(asked[i].caption, boxes.messages[i].caption);
        EXPECT_EQ(asked[i].flags, boxes.messages[i].flags);
    }
    EXPECT_EQ("指定されたファイルは既にあります。", boxes.messages[3].text);
    EXPECT_EQ(dir.File("note.txt"), boxes.messages[3].caption);
    EXPECT_EQ("", Cell(0, ColumnText));
    EXPECT_EQ(0, gHistory.modified);
}
