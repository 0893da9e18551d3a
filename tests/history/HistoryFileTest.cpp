// The history list and its CSV file, through real files under Wine.
#include "history/HistoryFile.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/FileIo.h"
#include "settings/Settings.h"
#include "tests/history/TestRecords.h"
#include "tests/support/TestSupport.h"

namespace {

const char Header[] = "日時,コメント,ファイルパス,テキスト情報\r\n";

std::string RecordLine(int i) {
    char line[128];
    snprintf(line, sizeof(line), "2024/01/02 03:04:%02d,comment %d,C:\\cap\\a%d.jpg,\r\n", i % 60, i, i);
    return line;
}

std::string FileWithRecords(int n, bool finalLineEnd = true) {
    std::string file = Header;
    for (int i = 0; i < n; i++)
        file += RecordLine(i);
    if (!finalLineEnd)
        file.resize(file.size() - 2);
    return file;
}

// A history list bound to `name` in a scratch folder.
class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitHistoryList(list, dir.Path().c_str());
        gSettings.imageFolderMode = 0;
    }
    void Bind(const std::string& name) {
        BindHistoryFile(list, dir.File(name).c_str(), name.c_str());
        list.untitled = 0;
    }
    void AddRecord(const char* comment, const char* image, const char* text = "", int inFolder = 0) {
        AddTestRecord(list, comment, image, text, inFolder);
    }

    TempDir dir;
    HistoryList list;
    MessageBoxRecorder boxes;
};

} // namespace

// --- the list and its initial state -----------------------------------------

TEST_F(HistoryFileTest, FreshListIsEmptyUntitledAndNamedNew) {
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.modified);
    EXPECT_EQ(1, list.untitled);
    EXPECT_STREQ("新規", list.fileTitle);
    EXPECT_EQ(dir.Path() + "\\新規", list.filePath);
    EXPECT_EQ(dir.Path(), list.historyFolder);
    EXPECT_EQ(dir.Path(), list.startFolder);
}

TEST(HistoryGlobal, StartsInTheWorkingDirectory) {
    EXPECT_EQ(0, gHistory.count);
    EXPECT_EQ(1, gHistory.untitled);
    EXPECT_EQ(CurrentDirectory(), gHistory.startFolder);
    EXPECT_EQ(CurrentDirectory() + "\\新規", gHistory.filePath);
}

// --- AppendCapture -------------------------------------------------------------

TEST_F(HistoryFileTest, AppendCaptureStampsLocalTimeAndFolderMode) {
    SYSTEMTIME before;
    GetLocalTime(&before);
    AppendCapture(list, "C:\\cap\\a1.jpg", "Window title");
    gSettings.imageFolderMode = 1;
    AppendCapture(list, dir.File("a2.jpg").c_str(), "SCREEN");
    gSettings.imageFolderMode = 2;
    AppendCapture(list, "C:\\cap\\a3.jpg", "x");

    ASSERT_EQ(3, list.count);
    const HistoryRecord& r = list.records[0];
    char year[8];
    snprintf(year, sizeof(year), "%04d/", before.wYear);
    EXPECT_EQ(19u, strlen(r.dateTime));
    EXPECT_EQ(0, strncmp(r.dateTime, year, 5)) << r.dateTime;
    EXPECT_EQ('/', r.dateTime[7]);
    EXPECT_EQ(' ', r.dateTime[10]);
    EXPECT_EQ(':', r.dateTime[13]);
    EXPECT_STREQ("Window title", r.comment);
    EXPECT_STREQ("C:\\cap\\a1.jpg", r.imagePath);
    EXPECT_STREQ("", r.textPath);
    EXPECT_EQ(0, r.inHistoryFolder);
    EXPECT_EQ(1, list.records[1].inHistoryFolder);
    EXPECT_EQ(dir.File("a2.jpg"), list.records[1].imagePath) << "the full path is kept";
    EXPECT_EQ(0, list.records[2].inHistoryFolder);
    EXPECT_EQ(0, list.modified) << "showing the row marks the list changed, not the append";
}

TEST_F(HistoryFileTest, AppendCaptureCutsLongCommentAndStopsWhenFull) {
    std::string comment;
    for (int i = 0; i < 70; i++)
        comment += "表";
    AppendCapture(list, "C:\\a.jpg", comment.c_str());
    EXPECT_EQ(comment.substr(0, 128), list.records[0].comment);

    list.count = MaxHistoryRecords;
    EXPECT_EQ(1, AppendCapture(list, "C:\\b.jpg", "x"));
    EXPECT_EQ(MaxHistoryRecords, list.count);
}

// --- reading -------------------------------------------------------------------

TEST_F(HistoryFileTest, EmptyFileGivesEmptyList) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), ""));
    Bind("h.csv");
    list.count = 5;
    list.modified = 1;
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(0, list.modified);
    EXPECT_EQ(0, list.untitled);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HistoryFileTest, HeaderOnlyGivesEmptyList) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), Header));
    Bind("h.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(0, list.count);
}

TEST_F(HistoryFileTest, MissingFileIsCreatedEmpty) {
    Bind("new.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(0, list.count);
    EXPECT_TRUE(PathExists(dir.File("new.csv")));
    EXPECT_EQ("", ReadFileBytes(dir.File("new.csv")));
}

TEST_F(HistoryFileTest, FirstChunkWithoutLineEndFails) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), std::string(300, 'x') + "\r\n"));
    Bind("h.csv");
    EXPECT_EQ(0, ReadHistoryFile(list, NULL));
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(1, list.untitled) << "a file that is no history is not saved over";
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HistoryFileTest, ReadsFieldsAndHistoryRelativeFlag) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), std::string(Header) +
                                                      "2024/01/02 03:04:05,表示,\\a1.jpg,a1.txt\r\n"
                                                      "2024/01/02 03:04:06,,\\\\srv\\share\\b.jpg,\r\n"));
    Bind("h.csv");
    ASSERT_EQ(1, ReadHistoryFile(list, NULL));
    ASSERT_EQ(2, list.count);
    EXPECT_STREQ("2024/01/02 03:04:05", list.records[0].dateTime);
    EXPECT_STREQ("表示", list.records[0].comment);
    EXPECT_STREQ("\\a1.jpg", list.records[0].imagePath);
    EXPECT_STREQ("a1.txt", list.records[0].textPath);
    EXPECT_EQ(1, list.records[0].inHistoryFolder);
    EXPECT_EQ(0, list.records[1].inHistoryFolder) << "a network path is not history-relative";
    EXPECT_STREQ("", list.records[2].dateTime) << "slots past count are cleared";
}

TEST_F(HistoryFileTest, ExactlyMaxRecordsGiveNoWarning) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), FileWithRecords(MaxHistoryRecords)));
    Bind("h.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(MaxHistoryRecords, list.count);
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_STREQ("comment 999", list.records[999].comment);
}

TEST_F(HistoryFileTest, MoreThanMaxRecordsWarnOnceAndKeepTheFirst) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), FileWithRecords(MaxHistoryRecords + 5)));
    Bind("h.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(MaxHistoryRecords, list.count);
    EXPECT_STREQ("comment 999", list.records[999].comment);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("最大件数1000を超えています。最大件数を超えたレコードは無視されます。", boxes.messages[0].text);
    EXPECT_EQ("警告", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
}

TEST_F(HistoryFileTest, LastLineWithoutLineEndIsDropped) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), FileWithRecords(3, false)));
    Bind("h.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    EXPECT_EQ(2, list.count);
}

TEST_F(HistoryFileTest, LfOnlyFileLosesOnlyItsLastLine) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), "h\na,1,x.jpg,\nb,2,y.jpg,\nc,3,z.jpg,\n"));
    Bind("h.csv");
    EXPECT_EQ(1, ReadHistoryFile(list, NULL));
    ASSERT_EQ(2, list.count);
    EXPECT_STREQ("1", list.records[0].comment);
    EXPECT_STREQ("2", list.records[1].comment);
}

TEST_F(HistoryFileTest, DamagedFileNeverOverrunsAndKeepsWhatItCan) {
    std::string huge(5000, 'Z');
    std::string file = std::string(Header) + "d1,c1,i1,t1\r\n" + huge + "\r\n" + "no commas here\r\n" +
                       "d2," + std::string(300, 'c') + "," + std::string(600, 'i') + ",t\r\n" + "\r\n" +
                       "d3,c3,i3,\r\n";
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), file));
    Bind("h.csv");
    ASSERT_EQ(1, ReadHistoryFile(list, NULL));
    ASSERT_EQ(5, list.count);
    EXPECT_STREQ("c1", list.records[0].comment);
    EXPECT_EQ(std::string(19, 'Z'), list.records[1].dateTime);
    EXPECT_STREQ("no commas here", list.records[2].dateTime);
    EXPECT_EQ(std::string(128, 'c'), list.records[3].comment);
    EXPECT_EQ(std::string(259, 'i'), list.records[3].imagePath);
    EXPECT_STREQ("t", list.records[3].textPath);
    EXPECT_STREQ("c3", list.records[4].comment);
}

TEST_F(HistoryFileTest, FileThatCannotBeOpenedIsReportedAndRecordsStay) {
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), FileWithRecords(2)));
    HANDLE lock = CreateFileA(dir.File("h.csv").c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Bind("h.csv");
    AddRecord("kept", "C:\\k.jpg");
    EXPECT_EQ(0, ReadHistoryFile(list, NULL));
    CloseHandle(lock);
    EXPECT_EQ(1, list.count);
    EXPECT_STREQ("kept", list.records[0].comment);
    EXPECT_EQ(1, list.untitled) << "the records shown are not that file's";
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルオープンエラー [" + dir.File("h.csv") + "] errno=32", boxes.messages[0].text);
    EXPECT_EQ("エラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
}

// --- writing -------------------------------------------------------------------

TEST_F(HistoryFileTest, WritesHeaderAndRecordLines) {
    Bind("out.csv");
    list.untitled = 1;
    list.modified = 1;
    AddRecord("note", "C:\\cap\\a1.jpg", "a1.txt");
    AddRecord("", dir.File("a2.jpg").c_str(), "", 1);
    AddRecord("a,b", "\\\\srv\\x.bmp");
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_EQ(std::string(Header) +
                  "2024/05/06 07:08:09,note,C:\\cap\\a1.jpg,a1.txt\r\n"
                  "2024/05/06 07:08:09,,\\a2.jpg,\r\n"
                  "2024/05/06 07:08:09,\"a,b\",\\\\srv\\x.bmp,\r\n",
              ReadFileBytes(dir.File("out.csv")));
    EXPECT_EQ(0, list.modified);
    EXPECT_EQ(0, list.untitled);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HistoryFileTest, EmptyListIsTheHeaderAlone) {
    Bind("out.csv");
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_EQ(Header, ReadFileBytes(dir.File("out.csv")));
}

TEST_F(HistoryFileTest, RewriteReplacesLongerOldContents) {
    ASSERT_TRUE(WriteFileBytes(dir.File("out.csv"), FileWithRecords(50)));
    Bind("out.csv");
    AddRecord("only", "C:\\o.jpg");
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_EQ(std::string(Header) + "2024/05/06 07:08:09,only,C:\\o.jpg,\r\n", ReadFileBytes(dir.File("out.csv")));
}

TEST_F(HistoryFileTest, CommasQuotesAndShiftJisSurviveWriteAndRead) {
    Bind("表示.csv");
    AddRecord("表示ソフト,能", "C:\\表\\ソ.jpg", "表.txt");
    AddRecord("Inbox (3), x - \"Mail\"", "C:\\a,b\\\"q\".jpg", "t,\"1\".txt");
    AddRecord("", dir.File("表示,1.bmp").c_str(), "", 1);
    ASSERT_EQ(1, WriteHistoryFile(list, NULL));
    HistoryList back;
    InitHistoryList(back, dir.Path().c_str());
    BindHistoryFile(back, dir.File("表示.csv").c_str(), "表示.csv");
    ASSERT_EQ(1, ReadHistoryFile(back, NULL));
    ASSERT_EQ(3, back.count);
    for (int i = 0; i < 2; i++) {
        EXPECT_STREQ(list.records[i].comment, back.records[i].comment);
        EXPECT_STREQ(list.records[i].imagePath, back.records[i].imagePath);
        EXPECT_STREQ(list.records[i].textPath, back.records[i].textPath);
    }
    EXPECT_STREQ("\\表示,1.bmp", back.records[2].imagePath);
    EXPECT_EQ(1, back.records[2].inHistoryFolder);
}

TEST_F(HistoryFileTest, FailedWriteLeavesTheOldFileByteForByte) {
    std::string old = FileWithRecords(40);
    ASSERT_TRUE(WriteFileBytes(dir.File("keep.csv"), old));
    Bind("keep.csv");
    for (int i = 0; i < 200; i++)
        AddRecord("new record", "C:\\cap\\n.jpg");
    list.modified = 1;
    list.untitled = 1;
    {
        DiskFullAfter full(1000);
        EXPECT_EQ(0, WriteHistoryFile(list, NULL));
    }
    EXPECT_EQ(old, ReadFileBytes(dir.File("keep.csv")));
    EXPECT_EQ(1, list.modified);
    EXPECT_EQ(1, list.untitled);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイル書き込みエラー [" + dir.File("keep.csv") + "] errno=112", boxes.messages[0].text);
    EXPECT_EQ("エラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);

    // Nothing is left behind beside it.
    EXPECT_EQ(1u, FilesIn(dir.Path()).size());
}

// The disk fills up at every byte offset of a 1000-record save (every
// 97th offset and those around the writer's 32 KB blocks under ctest; set
// GYROLENS_FAULT_STRIDE=1 for every offset): each time the old file stays
// byte for byte and no temporary file is left beside it.
TEST_F(HistoryFileTest, DiskFullAtAnyOffsetKeepsTheOldFileAndLeavesNothing) {
    std::string old = FileWithRecords(40);
    ASSERT_TRUE(WriteFileBytes(dir.File("keep.csv"), old));
    Bind("keep.csv");
    size_t total = strlen(Header);
    for (int i = 0; i < MaxHistoryRecords; i++) {
        char comment[64], image[64];
        snprintf(comment, sizeof(comment), "記録 %d, \"capture\"", i);
        snprintf(image, sizeof(image), "C:\\cap\\表示%d.jpg", i);
        AddRecord(comment, image, i % 3 ? "" : "t.txt");
        char line[MaxHistoryLineLength + 1];
        total += FormatHistoryLine(list.records[i], line, countof(line));
    }
    const char* stride = getenv("GYROLENS_FAULT_STRIDE");
    size_t step = stride && atoi(stride) > 0 ? (size_t)atoi(stride) : 97;
    std::vector<size_t> offsets = { 1, 32767, 32768, 32769, 65536, total - 1 };
    for (size_t at = 0; at < total; at += step)
        offsets.push_back(at);
    for (size_t at : offsets) {
        boxes.messages.clear();
        {
            DiskFullAfter full(at);
            ASSERT_EQ(0, WriteHistoryFile(list, NULL)) << "full after " << at;
        }
        ASSERT_EQ(1u, boxes.messages.size()) << at;
        ASSERT_EQ(old, ReadFileBytes(dir.File("keep.csv"))) << "full after " << at;
        ASSERT_EQ(std::vector<std::string>{ "keep.csv" }, FilesIn(dir.Path())) << "full after " << at;
    }
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_EQ(total, ReadFileBytes(dir.File("keep.csv")).size());
}

TEST_F(HistoryFileTest, FailedFirstWriteLeavesNoFile) {
    Bind("fresh.csv");
    AddRecord("x", "C:\\x.jpg");
    {
        DiskFullAfter full(0);
        EXPECT_EQ(0, WriteHistoryFile(list, NULL));
    }
    EXPECT_FALSE(PathExists(dir.File("fresh.csv")));
}

TEST_F(HistoryFileTest, SavesIntoAFolderLongerThan246Bytes) {
    // A folder of 247 bytes and a file name that makes the path 259 bytes,
    // the longest a file dialog gives.
    std::string folder = dir.Path() + "\\" + std::string(246 - dir.Path().size(), 'd');
    ASSERT_EQ(247u, folder.size());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    std::string name = "history.csv";
    std::string path = folder + "\\" + name;
    ASSERT_EQ(259u, path.size());
    ASSERT_TRUE(WriteFileBytes(path, FileWithRecords(3)));
    BindHistoryFile(list, path.c_str(), name.c_str());
    AddRecord("deep", "C:\\d.jpg");
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(std::string(Header) + "2024/05/06 07:08:09,deep,C:\\d.jpg,\r\n", ReadFileBytes(path));
    EXPECT_EQ(std::vector<std::string>{ name }, FilesIn(folder));
}

TEST_F(HistoryFileTest, SaveKeepsAHiddenFileHiddenAndRemovesAStaleTemporaryFile) {
    ASSERT_TRUE(WriteFileBytes(dir.File("keep.csv"), FileWithRecords(2)));
    ASSERT_TRUE(SetFileAttributesA(dir.File("keep.csv").c_str(), FILE_ATTRIBUTE_HIDDEN));
    // What a save interrupted by a crash leaves: "~$" in place of "ke".
    ASSERT_TRUE(WriteFileBytes(dir.File("~$ep.csv"), "half a save"));
    Bind("keep.csv");
    AddRecord("new", "C:\\n.jpg");
    EXPECT_EQ(1, WriteHistoryFile(list, NULL));
    EXPECT_EQ(std::string(Header) + "2024/05/06 07:08:09,new,C:\\n.jpg,\r\n", ReadFileBytes(dir.File("keep.csv")));
    DWORD attributes = GetFileAttributesA(dir.File("keep.csv").c_str());
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_HIDDEN) << std::hex << attributes;
    EXPECT_EQ(std::vector<std::string>{ "keep.csv" }, FilesIn(dir.Path()));
}

// Held open for good by another program, however generously it shares the
// file: after two seconds of trying the save reports.
TEST_F(HistoryFileTest, LockedFileGivesTheOpenErrorAndKeepsFlags) {
    ASSERT_TRUE(WriteFileBytes(dir.File("locked.csv"), "old"));
    HANDLE lock = CreateFileA(dir.File("locked.csv").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Bind("locked.csv");
    list.modified = 1;
    DWORD start = GetTickCount();
    EXPECT_EQ(0, WriteHistoryFile(list, NULL));
    EXPECT_GE(GetTickCount() - start, 1500u);
    CloseHandle(lock);
    EXPECT_EQ("old", ReadFileBytes(dir.File("locked.csv")));
    EXPECT_EQ(1, list.modified);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルオープンエラー [" + dir.File("locked.csv") + "] errno=32  ffffffff", boxes.messages[0].text);
    EXPECT_EQ("エラー", boxes.messages[0].caption);
}

TEST_F(HistoryFileTest, MissingFolderGivesTheOpenError) {
    BindHistoryFile(list, dir.File("nowhere\\h.csv").c_str(), "h.csv");
    EXPECT_EQ(0, WriteHistoryFile(list, NULL));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルオープンエラー [" + dir.File("nowhere\\h.csv") + "] errno=3  ffffffff",
              boxes.messages[0].text);
}

TEST_F(HistoryFileTest, WriteThenReadGivesTheSameRecords) {
    Bind("rt.csv");
    for (int i = 0; i < MaxHistoryRecords; i++) {
        char comment[32], image[64];
        snprintf(comment, sizeof(comment), "記録%d", i);
        snprintf(image, sizeof(image), "C:\\cap\\a%d.jpg", i);
        AddRecord(comment, image, i % 3 == 0 ? "t.txt" : "");
    }
    ASSERT_EQ(1, WriteHistoryFile(list, NULL));
    HistoryList back;
    InitHistoryList(back, dir.Path().c_str());
    BindHistoryFile(back, dir.File("rt.csv").c_str(), "rt.csv");
    ASSERT_EQ(1, ReadHistoryFile(back, NULL));
    ASSERT_EQ(MaxHistoryRecords, back.count);
    for (int i = 0; i < MaxHistoryRecords; i++) {
        EXPECT_STREQ(list.records[i].comment, back.records[i].comment);
        EXPECT_STREQ(list.records[i].imagePath, back.records[i].imagePath);
        EXPECT_STREQ(list.records[i].textPath, back.records[i].textPath);
    }
    EXPECT_TRUE(boxes.messages.empty());
}

// --- the file dialogs ----------------------------------------------------------

namespace {

struct DialogAnswer {
    bool accept = true;
    std::string file;
    std::string title;
    int calls = 0;
    OPENFILENAMEA seen;
    std::string filter;
};

DialogAnswer gOpenAnswer;
DialogAnswer gSaveAnswer;

bool Answer(DialogAnswer& a, OPENFILENAMEA* ofn) {
    a.calls++;
    a.seen = *ofn;
    const char* f = ofn->lpstrFilter;
    a.filter.clear();
    while (*f) {
        a.filter += f;
        a.filter += '|';
        f += strlen(f) + 1;
    }
    if (!a.accept)
        return false;
    snprintf(ofn->lpstrFile, ofn->nMaxFile, "%s", a.file.c_str());
    snprintf(ofn->lpstrFileTitle, ofn->nMaxFileTitle, "%s", a.title.c_str());
    return true;
}

bool AnswerOpen(OPENFILENAMEA* ofn) {
    return Answer(gOpenAnswer, ofn);
}

bool AnswerSave(OPENFILENAMEA* ofn) {
    return Answer(gSaveAnswer, ofn);
}

class HistoryDialogTest : public HistoryFileTest {
protected:
    void SetUp() override {
        HistoryFileTest::SetUp();
        gOpenAnswer = DialogAnswer();
        gSaveAnswer = DialogAnswer();
        SetFileDialogHooks(AnswerOpen, AnswerSave);
    }
    void TearDown() override { SetFileDialogHooks(NULL, NULL); }
};

} // namespace

TEST_F(HistoryDialogTest, OpenBindsTheChosenFileWithoutReadingIt) {
    ASSERT_TRUE(CreateDirectoryA(dir.File("表").c_str(), NULL));
    gOpenAnswer.file = dir.File("表\\履歴.csv");
    gOpenAnswer.title = "履歴.csv";
    list.modified = 1;
    AddRecord("stays", "C:\\s.jpg");
    EXPECT_EQ(1, ChooseFileToOpen(list, (HWND)0x1234));
    EXPECT_EQ(dir.File("表\\履歴.csv"), list.filePath);
    EXPECT_STREQ("履歴.csv", list.fileTitle);
    EXPECT_EQ(dir.File("表"), list.historyFolder);
    EXPECT_EQ(0, list.modified);
    EXPECT_EQ(0, list.untitled);
    EXPECT_EQ(1, list.count);

    const OPENFILENAMEA& o = gOpenAnswer.seen;
    EXPECT_EQ((HWND)0x1234, o.hwndOwner);
    EXPECT_STREQ("開くファイル名を指定して下さい", o.lpstrTitle);
    EXPECT_EQ((DWORD)(OFN_PATHMUSTEXIST | OFN_HIDEREADONLY), o.Flags);
    EXPECT_STREQ("csv", o.lpstrDefExt);
    EXPECT_EQ(260u, o.nMaxFile);
    EXPECT_EQ(260u, o.nMaxFileTitle);
    EXPECT_EQ("CSV files(*.csv)|*.csv|files(*.*)|*.*|", gOpenAnswer.filter);
}

TEST_F(HistoryDialogTest, CancelledOpenChangesNothing) {
    gOpenAnswer.accept = false;
    list.modified = 1;
    std::string before = list.filePath;
    EXPECT_EQ(0, ChooseFileToOpen(list, NULL));
    EXPECT_EQ(before, list.filePath);
    EXPECT_EQ(1, list.modified);
    EXPECT_EQ(1, list.untitled);
}

TEST_F(HistoryDialogTest, LongTitleIsCutButFolderStaysRight) {
    std::string title = std::string(80, 'n') + ".csv";
    gOpenAnswer.file = dir.File(title);
    gOpenAnswer.title = title;
    EXPECT_EQ(1, ChooseFileToOpen(list, NULL));
    EXPECT_EQ(title.substr(0, 63), list.fileTitle);
    EXPECT_EQ(dir.Path(), list.historyFolder);
}

TEST_F(HistoryDialogTest, SaveAsBindsAndWrites) {
    gSaveAnswer.file = dir.File("saved.csv");
    gSaveAnswer.title = "saved.csv";
    AddRecord("r", "C:\\r.jpg");
    list.modified = 1;
    EXPECT_EQ(1, SaveHistoryListAs(list, NULL));
    EXPECT_EQ(std::string(Header) + "2024/05/06 07:08:09,r,C:\\r.jpg,\r\n", ReadFileBytes(dir.File("saved.csv")));
    EXPECT_EQ(0, list.untitled);
    EXPECT_EQ(0, list.modified);
    EXPECT_STREQ("saved.csv", list.fileTitle);
    const OPENFILENAMEA& o = gSaveAnswer.seen;
    EXPECT_STREQ("保存するファイル名を指定して下さい", o.lpstrTitle);
    EXPECT_EQ((DWORD)(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT), o.Flags);
    EXPECT_EQ("CSV files(*.csv)|*.csv|files(*.*)|*.*|", gSaveAnswer.filter);
}

TEST_F(HistoryDialogTest, SaveAsReportsAcceptanceEvenWhenTheWriteFails) {
    gSaveAnswer.file = dir.File("missing\\x.csv");
    gSaveAnswer.title = "x.csv";
    EXPECT_EQ(1, SaveHistoryListAs(list, NULL));
    EXPECT_EQ(1, list.untitled);
    EXPECT_EQ(1u, boxes.messages.size());
}

TEST_F(HistoryDialogTest, SaveGoesThroughTheDialogOnlyWhileUntitled) {
    gSaveAnswer.file = dir.File("first.csv");
    gSaveAnswer.title = "first.csv";
    EXPECT_EQ(1, SaveHistoryList(list, NULL));
    EXPECT_EQ(1, gSaveAnswer.calls);
    AddRecord("later", "C:\\l.jpg");
    EXPECT_EQ(1, SaveHistoryList(list, NULL));
    EXPECT_EQ(1, gSaveAnswer.calls);
    EXPECT_EQ(std::string(Header) + "2024/05/06 07:08:09,later,C:\\l.jpg,\r\n", ReadFileBytes(dir.File("first.csv")));
}

TEST_F(HistoryDialogTest, CancelledSaveAsChangesNothing) {
    gSaveAnswer.accept = false;
    EXPECT_EQ(0, SaveHistoryList(list, NULL));
    EXPECT_EQ(1, list.untitled);
}

namespace {

size_t gReadBytesLeft;

// Reads succeed for the first gReadBytesLeft bytes, then fail as on a bad
// sector or a vanished network drive.
BOOL WINAPI ReadFailsLater(HANDLE h, LPVOID data, DWORD n, LPDWORD got, LPOVERLAPPED ov) {
    if (gReadBytesLeft == 0) {
        *got = 0;
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    DWORD part = n < gReadBytesLeft ? n : (DWORD)gReadBytesLeft;
    gReadBytesLeft -= part;
    return ReadFile(h, data, part, got, ov);
}

} // namespace

TEST_F(HistoryDialogTest, ReadErrorKeepsWhatWasReadButNeverSavesOverTheFile) {
    std::string old = FileWithRecords(300);
    ASSERT_TRUE(WriteFileBytes(dir.File("h.csv"), old));
    Bind("h.csv");
    gReadBytesLeft = 5000;
    SetReadFileHook(ReadFailsLater);
    int result = ReadHistoryFile(list, NULL);
    SetReadFileHook(NULL);
    EXPECT_EQ(0, result);
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイル読み込みエラー [" + dir.File("h.csv") + "] errno=30", boxes.messages[0].text);
    EXPECT_EQ("エラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
    EXPECT_GT(list.count, 50);
    EXPECT_LT(list.count, 300);
    EXPECT_STREQ("comment 0", list.records[0].comment);
    EXPECT_EQ(1, list.untitled);
    EXPECT_STREQ("新規", list.fileTitle);

    gSaveAnswer.accept = false;
    EXPECT_EQ(0, SaveHistoryList(list, NULL));
    EXPECT_EQ(1, gSaveAnswer.calls) << "saving asks for a name";
    EXPECT_EQ(old, ReadFileBytes(dir.File("h.csv")));
}

// --- ResetToNew ----------------------------------------------------------------

namespace {

int gMonitoring;
int gStopRequests;
int IsMonitoringForTest() {
    return gMonitoring;
}
void RequestStopForTest() {
    gStopRequests++;
}

} // namespace

TEST_F(HistoryFileTest, ResetToNewKeepsRecordsAndFolder) {
    Bind("h.csv");
    AddRecord("r", "C:\\r.jpg");
    list.modified = 1;
    EXPECT_EQ(1, ResetToNew(list, NULL));
    EXPECT_EQ(dir.Path() + "\\新規", list.filePath);
    EXPECT_STREQ("新規", list.fileTitle);
    EXPECT_EQ(1, list.untitled);
    EXPECT_EQ(0, list.modified);
    EXPECT_EQ(1, list.count);
    EXPECT_EQ(dir.Path(), list.historyFolder);
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HistoryFileTest, ResetToNewStopsMonitoringWhenImagesGoToTheHistoryFolder) {
    SetCaptureMonitorLink({ IsMonitoringForTest, RequestStopForTest });
    ASSERT_TRUE(CreateDirectoryA(dir.File("hist").c_str(), NULL));
    BindHistoryFile(list, dir.File("hist\\h.csv").c_str(), "h.csv");
    struct { int monitoring, folderMode; bool warns; } rows[] = {
        { 1, 1, true }, { 0, 1, false }, { 1, 0, false },
    };
    for (auto& r : rows) {
        gMonitoring = r.monitoring;
        gSettings.imageFolderMode = r.folderMode;
        gStopRequests = 0;
        boxes.messages.clear();
        ResetToNew(list, (HWND)0x99);
        ASSERT_EQ(r.warns ? 1u : 0u, boxes.messages.size()) << r.monitoring << r.folderMode;
        EXPECT_EQ(r.warns ? 1 : 0, gStopRequests);
        if (r.warns) {
            EXPECT_EQ("キャプチャファイルの保存先が履歴と同じに設定されています。\nキャプチャー監視は一旦解除します。\r\n"
                      "『ファイルを開く』か『名前を付けて保存』で履歴ファイル名を決めてからもう一度キャプチャーを開始して"
                      "ください。",
                      boxes.messages[0].text);
            EXPECT_EQ(dir.File("hist"), boxes.messages[0].caption);
            EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
            EXPECT_EQ((HWND)0x99, boxes.messages[0].owner);
        }
    }
    SetCaptureMonitorLink({ NULL, NULL });
}
