// The recovery copy on disk: what it writes, what a write cut short leaves
// behind, and which copies are refused.
#include "history/HistoryRecovery.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/history/TestRecords.h"
#include "tests/support/TestSupport.h"

namespace {

const char Header[] = "日時,コメント,ファイルパス,テキスト情報\r\n";
const char Copy[] = "Gyrolens.recovery.1.csv";
const char Note[] = "Gyrolens.recovery.txt";

class HistoryRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        gSettings.nextImageNumber = 7;
        InitHistoryList(list, dir.Path().c_str());
        InitHistoryList(found, dir.Path().c_str());
        historyPath = dir.Path() + "\\data\\h.csv";
        BindHistoryFile(list, historyPath.c_str(), "h.csv");
        list.untitled = 0;
    }
    std::string File(const char* name) { return ReadFileBytes(dir.File(name)); }
    bool Write() { return WriteRecoveryCopy(list, dir.Path().c_str()); }
    RecoveryFound Find() { return FindRecoveryCopy(dir.Path().c_str(), found, &info); }

    TempDir dir;
    std::string historyPath;
    HistoryList list;
    HistoryList found;
    RecoveryInfo info;
};

} // namespace

TEST_F(HistoryRecoveryTest, CopyIsAHistoryFileWithItsNote) {
    AddTestRecord(list, "note", "C:\\cap\\a1.jpg", "a1.txt");
    AddTestRecord(list, "表示,ソ", "C:\\data\\cap2.jpg", "", 1);
    ASSERT_TRUE(Write());
    EXPECT_EQ((std::vector<std::string>{ Copy, Note }), FilesIn(dir.Path()));
    std::string csv = std::string(Header) + "2024/05/06 07:08:09,note,C:\\cap\\a1.jpg,a1.txt\r\n"
                                            "2024/05/06 07:08:09,\"表示,ソ\",\\cap2.jpg,\r\n";
    EXPECT_EQ(csv, File(Copy));
    std::string note = File(Note);
    std::string written = note.substr(note.find("written=") + 8, 19);
    EXPECT_EQ("Gyrolens recovery 1\r\ncopy=1\r\nbytes=" + std::to_string(csv.size()) +
                  "\r\nrecords=2\r\nnextImage=7\r\nwritten=" + written + "\r\nuntitled=0\r\nfilePath=" +
                  historyPath + "\r\nfileTitle=h.csv\r\nhistoryFolder=" + dir.Path() + "\\data\r\nend\r\n",
              note);

    // The next copy takes the other file, and the first one goes.
    AddTestRecord(list, "third", "C:\\cap\\a3.jpg");
    ASSERT_TRUE(Write());
    EXPECT_EQ((std::vector<std::string>{ "Gyrolens.recovery.2.csv", Note }), FilesIn(dir.Path()));
    ASSERT_EQ(RecoveryWhole, Find());
    ASSERT_EQ(3, found.count);
    EXPECT_STREQ("\\cap2.jpg", found.records[1].imagePath);
}

// The disk fills up at every 97th byte of a rewrite and at every byte of
// its note: each time the copy written before stays whole and named, and
// nothing else is left beside it.
TEST_F(HistoryRecoveryTest, WriteCutShortAtAnyByteKeepsThePreviousCopy) {
    AddTestRecord(list, "before", "C:\\cap\\b.jpg", "b.txt");
    ASSERT_TRUE(Write());
    std::vector<std::string> names = FilesIn(dir.Path());
    std::string oldCopy = File(Copy), oldNote = File(Note);

    list.count = 0;
    size_t copyBytes = strlen(Header);
    for (int i = 0; i < MaxHistoryRecords; i++) {
        AddTestRecord(list, ("記録 " + std::to_string(i)).c_str(), "C:\\cap\\表示.jpg", i % 3 ? "" : "t.txt");
        char line[MaxHistoryLineLength + 1];
        copyBytes += FormatHistoryLine(list.records[i], line, countof(line));
    }
    const char* stride = getenv("GYROLENS_FAULT_STRIDE");
    size_t step = stride && atoi(stride) > 0 ? (size_t)atoi(stride) : 97;
    size_t at = 0;
    for (;; at += at < copyBytes ? step : 1) {
        bool written;
        {
            DiskFullAfter full(at);
            written = Write();
        }
        if (written)
            break; // the budget held the whole pair
        ASSERT_EQ(names, FilesIn(dir.Path())) << "full after " << at;
        ASSERT_EQ(oldCopy, File(Copy)) << at;
        ASSERT_EQ(oldNote, File(Note)) << at;
        ASSERT_EQ(RecoveryWhole, Find()) << at;
        ASSERT_EQ(1, found.count) << at;
    }
    EXPECT_GT(at, copyBytes + 200) << "the note was cut as well as the copy";
    ASSERT_EQ(RecoveryWhole, Find());
    EXPECT_STREQ("記録 999", found.records[999].comment);
}

// (A copy shorter than its note says: EndToEnd.FoundCopyDeclinedOrUnreadableIsKeptAside.)
TEST_F(HistoryRecoveryTest, CopiesThatDoNotMatchTheirNoteAreUnreadable) {
    AddTestRecord(list, "one", "C:\\cap\\1.jpg");
    AddTestRecord(list, "two", "C:\\cap\\2.jpg");
    struct {
        const char* what;
        const char* file;
        std::string (*edit)(std::string); // NULL: the file is removed
        RecoveryFound expected;
    } rows[] = {
        { "copy without its last line end", Copy, [](std::string s) { return s.replace(s.size() - 2, 2, "  "); },
          RecoveryUnreadable },
        { "copy gone", Copy, NULL, RecoveryUnreadable },
        { "note cut short", Note, [](std::string s) { return s.substr(0, 30); }, RecoveryUnreadable },
        { "note of another program", Note, [](std::string) { return std::string("[File_Set]\r\n"); },
          RecoveryUnreadable },
        { "note naming a third copy", Note, [](std::string s) { return s.replace(s.find("copy=1"), 6, "copy=3"); },
          RecoveryUnreadable },
        { "no note", Note, NULL, RecoveryNone },
    };
    for (const auto& row : rows) {
        ClearHistoryRecords(found);
        RemoveRecoveryCopy(dir.Path().c_str());
        ASSERT_TRUE(Write());
        if (row.edit)
            ASSERT_TRUE(WriteFileBytes(dir.File(row.file), row.edit(File(row.file))));
        else
            DeleteFileA(dir.File(row.file).c_str());
        EXPECT_EQ(row.expected, Find()) << row.what;
        EXPECT_EQ(0, found.count) << row.what << ": nothing is loaded half";
    }
}
