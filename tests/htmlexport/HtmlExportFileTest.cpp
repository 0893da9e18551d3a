// The files around the pages: the images copied beside them, the question
// before a page is overwritten, and the errors that stop an export.
#include "htmlexport/HtmlExport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/htmlexport/HtmlExportFixture.h"
#include "tests/support/TestSupport.h"

typedef std::vector<std::pair<std::string, std::string>> CopyList;

// --- copied images ----------------------------------------------------------------

TEST_F(HtmlExportTest, UpperCaseJpgIsNoImageButIsCopied) {
    Job(4);
    Add("c", ImageFile("SHOT.JPG", "upper"));
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("c") }, { "<td><br></td>" }) }), PageFile(1));
    EXPECT_EQ("upper", ReadFileBytes(out.File("SHOT.JPG")));
}

TEST_F(HtmlExportTest, HistoryFolderRecordsAreCopiedFromTheHistoryFolder) {
    HistoryFile("cap3.jpg", "history copy");
    HistoryFile("cap4.png", "history copy 4");
    std::string elsewhere = ImageFile("cap4.png", "elsewhere");
    Job(4);
    Add("relative", "\\cap3.jpg");
    HistoryRecord& full = Add("full", elsewhere);
    full.inHistoryFolder = 1; // as after a PNG capture into the history folder

    CopyRecorder copies;
    EXPECT_TRUE(GeneratePages(NULL));

    EXPECT_EQ(Page({ RowGroup({ NarrowComment("relative"), NarrowComment("full") },
                              { ImageCell("cap3.jpg"), ImageCell("cap4.png") }) }),
              PageFile(1));
    EXPECT_EQ((CopyList{ { history.File("cap3.jpg"), out.File("cap3.jpg") },
                         { history.File("cap4.png"), out.File("cap4.png") } }),
              copies.Copies());
    EXPECT_EQ("history copy", ReadFileBytes(out.File("cap3.jpg")));
    EXPECT_EQ("history copy 4", ReadFileBytes(out.File("cap4.png")));
}

TEST_F(HtmlExportTest, ImagesAreCopiedAfterTheirRowGroupAndReplaceOlderCopies) {
    OutputFile("a.jpg", "stale");
    Job(4, 10);
    gSettings.htmlPerRow = 1;
    Add("a", ImageFile("a.jpg", "fresh"));
    Add("b", ImageFile("b.jpg", "b"));
    CopyRecorder copies;
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ((CopyList{ { images.File("a.jpg"), out.File("a.jpg") }, { images.File("b.jpg"), out.File("b.jpg") } }),
              copies.Copies());
    EXPECT_EQ("fresh", ReadFileBytes(out.File("a.jpg")));
}

TEST_F(HtmlExportTest, NothingIsCopiedWhenTheOutputFolderIsTheImageFolder) {
    std::string image = OutputFile("here.jpg", "already here");
    Job(4);
    Add("c", image);
    CopyRecorder copies;
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_TRUE(copies.Copies().empty());
    EXPECT_EQ("already here", ReadFileBytes(image));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("c") }, { ImageCell("here.jpg") }) }), PageFile(1));
}

TEST_F(HtmlExportTest, NothingIsCopiedWhenImagesAreNotWanted) {
    gSettings.htmlNoImageCopy = 1;
    Job(4);
    Add("c", ImageFile("a.jpg", "a"));
    Add("h", "\\h.jpg");
    HistoryFile("h.jpg", "h");
    CopyRecorder copies;
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_TRUE(copies.Copies().empty());
    EXPECT_EQ((std::vector<std::string>{ "page1.htm" }), OutputNames());
}

TEST_F(HtmlExportTest, ShiftJisNameWhoseTrailByteIsABackslashKeepsItsWholeName) {
    // 表 is 0x95 0x5C: a byte-wise search would cut the name inside it.
    ASSERT_TRUE(CreateDirectoryA(images.File("表").c_str(), NULL));
    ASSERT_TRUE(WriteFileBytes(images.File("表\\表示.jpg"), "hyouji"));
    Job(2);
    Add("表", images.File("表\\表示.jpg"));
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("表") },
                              { LinkedCell("表示.jpg", ImageTag("表示.jpg")), DescriptionCell("") }) }),
              PageFile(1));
    EXPECT_EQ("hyouji", ReadFileBytes(out.File("表示.jpg")));
    EXPECT_EQ((std::vector<std::string>{ "page1.htm", "表示.jpg" }), OutputNames());
}

TEST_F(HtmlExportTest, NamesThatWouldBreakTheMarkupAreEscapedInSourceAndLink) {
    Job(5);
    Add("c", ImageFile("a b'&#%=.jpg", "odd"));
    EXPECT_TRUE(GeneratePages(NULL));
    std::string url = "a%20b%27%26%23%25%3D.jpg";
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("c") }, { LinkedCell(url, ImageTag(url)) }) }), PageFile(1));
    EXPECT_EQ("odd", ReadFileBytes(out.File("a b'&#%=.jpg"))) << "the copy keeps the real name";
}

TEST_F(HtmlExportTest, LayoutSixLinksTextsAndMissingPicturesToo) {
    HistoryFile("t.txt", "<t>");
    Job(5, 10, 64, -1);
    gSettings.htmlPerRow = 3;
    Add("txt", "\\t.txt");
    Add("other", "C:\\nowhere\\clip.wav");
    Add("pic", "C:\\nowhere\\p.png");
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("txt"), NarrowComment("other"), NarrowComment("pic") },
                              { LinkedCell("t.txt", "&lt;t&gt;"), LinkedCell("clip.wav", "<br>"),
                                LinkedCell("p.png", ImageTag("p.png", "64")) }) }),
              PageFile(1));
}

TEST_F(HtmlExportTest, EmptyImagePathShowsNoImageAndCopiesNothing) {
    Job(2);
    Add("empty", "");
    CopyRecorder copies;
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("empty") }, { LinkedCell("", "<br>"), DescriptionCell("") }) }),
              PageFile(1));
    EXPECT_TRUE(copies.Copies().empty());
}

TEST_F(HtmlExportTest, PathWithoutBackslashIsCopiedFromTheWorkingDirectory) {
    std::string name = "html-export-bare-name.jpg";
    ASSERT_TRUE(WriteFileBytes(CurrentDirectory() + "\\" + name, "bare"));
    Job(4);
    Add("bare", name);
    EXPECT_TRUE(GeneratePages(NULL));
    DeleteFileA((CurrentDirectory() + "\\" + name).c_str());
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("bare") }, { ImageCell(name) }) }), PageFile(1));
    EXPECT_EQ("bare", ReadFileBytes(out.File(name)));
}

TEST_F(HtmlExportTest, MissingImageGoesUnreported) {
    Job(4);
    Add("gone", images.File("gone.jpg"));
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("gone") }, { ImageCell("gone.jpg") }) }), PageFile(1));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, CopiesThatFailAreCountedAndProgressFollowsTheRowGroups) {
    static std::vector<std::pair<int, int>> progress;
    progress.clear();
    Job(4, 2);
    Add("here", ImageFile("here.jpg", "h"));
    Add("gone", images.File("gone.jpg"));
    Add("empty", "");
    Add("gone too", images.File("gone2.jpg"));
    Add("here too", ImageFile("here2.jpg", "h2"));
    HtmlExportStatus status = { [](int done, int total) { progress.push_back({ done, total }); }, -1 };
    EXPECT_TRUE(GeneratePages(NULL, &status));
    EXPECT_EQ(2, status.failedCopies);
    EXPECT_EQ((std::vector<std::pair<int, int>>{ { 2, 5 }, { 4, 5 }, { 5, 5 } }), progress);
}

TEST_F(HtmlExportTest, ImageNamedLikeAPageOfTheExportIsNotCopiedOverIt) {
    Job(4, 1);
    Add("one", ImageFile("page2.htm", "not a page"));
    Add("two", ImageFile("b.jpg", "b"));
    Add("three", ImageFile("PAGE1.HTM", "not a page either"));
    Add("four", ImageFile("page5.htm", "not a page of this export"));
    HtmlExportStatus status = {};
    EXPECT_TRUE(GeneratePages(NULL, &status));
    EXPECT_EQ(2, status.failedCopies);
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("one") }, { "<td><br></td>" }) }),
              PageFile(1));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("two") }, { ImageCell("b.jpg") }) }), PageFile(2));
    EXPECT_EQ("not a page of this export", ReadFileBytes(out.File("page5.htm")));
    EXPECT_TRUE(boxes.messages.empty());
}

// --- existing pages and errors ------------------------------------------------------

TEST_F(HtmlExportTest, DecliningToOverwritePage2KeepsPage1NewAndTheRestAsTheyWere) {
    OutputFile("page2.htm", "old page 2");
    OutputFile("page3.htm", "old page 3");
    Job(4, 1);
    Add("one", ImageFile("a.jpg", "a"));
    Add("two", ImageFile("b.jpg", "b"));
    Add("three", ImageFile("c.jpg", "c"));
    boxes.QueueAnswer(IDCANCEL);

    EXPECT_TRUE(GeneratePages(NULL));

    EXPECT_EQ(Page({ RowGroup({ NarrowComment("one") }, { ImageCell("a.jpg") }) }), PageFile(1));
    EXPECT_EQ("old page 2", PageFile(2));
    EXPECT_EQ("old page 3", PageFile(3));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("同じ名前のファイルがあります。上書きしますか？\r\n" + out.File("page2.htm"), boxes.messages[0].text);
    EXPECT_EQ("確認", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_EQ((std::vector<std::string>{ "a.jpg", "page1.htm", "page2.htm", "page3.htm" }), OutputNames());
}

TEST_F(HtmlExportTest, AgreeingToOverwriteReplacesEachWholePage) {
    OutputFile("page1.htm", std::string(5000, 'o'));
    OutputFile("page2.htm", std::string(5000, 'p'));
    Job(4, 1);
    Add("one", "C:\\nowhere\\a.jpg");
    Add("two", "C:\\nowhere\\b.jpg");
    boxes.QueueAnswer(IDOK);
    boxes.QueueAnswer(IDOK);

    EXPECT_TRUE(GeneratePages(NULL));

    EXPECT_EQ(Page({ RowGroup({ NarrowComment("one") }, { ImageCell("a.jpg") }) }), PageFile(1));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("two") }, { ImageCell("b.jpg") }) }), PageFile(2));
    ASSERT_EQ(2u, boxes.messages.size());
    EXPECT_EQ("同じ名前のファイルがあります。上書きしますか？\r\n" + out.File("page1.htm"), boxes.messages[0].text);
    EXPECT_EQ("同じ名前のファイルがあります。上書きしますか？\r\n" + out.File("page2.htm"), boxes.messages[1].text);
}

TEST_F(HtmlExportTest, MissingOutputFolderGivesTheOpenErrorAndStops) {
    ASSERT_TRUE(SetJob(4, 1, -1, -1, out.File("missing").c_str(), "page"));
    Add("one", ImageFile("a.jpg", "a"));
    Add("two", ImageFile("b.jpg", "b"));
    CopyRecorder copies;

    EXPECT_FALSE(GeneratePages(NULL));

    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルのオープンに失敗しました", boxes.messages[0].text);
    EXPECT_EQ(out.File("missing\\page1.htm"), boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
    EXPECT_TRUE(copies.Copies().empty());
}

TEST_F(HtmlExportTest, PageThatCannotBeEmptiedGivesTheOpenErrorAndLaterPagesAreNotWritten) {
    // A folder in the way of page 2: it exists, but no file can be opened there.
    ASSERT_TRUE(CreateDirectoryA(out.File("page2.htm").c_str(), NULL));
    Job(4, 1);
    Add("one", ImageFile("a.jpg", "a"));
    Add("two", ImageFile("b.jpg", "b"));
    Add("three", ImageFile("c.jpg", "c"));
    boxes.QueueAnswer(IDOK);

    EXPECT_FALSE(GeneratePages(NULL));

    ASSERT_EQ(2u, boxes.messages.size());
    EXPECT_EQ("確認", boxes.messages[0].caption);
    EXPECT_EQ("ファイルのオープンに失敗しました", boxes.messages[1].text);
    EXPECT_EQ(out.File("page2.htm"), boxes.messages[1].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[1].flags);
    EXPECT_TRUE(PageExists(1));
    EXPECT_FALSE(PageExists(3));
    EXPECT_EQ((std::vector<std::string>{ "a.jpg", "page1.htm" }), OutputNames());
}

TEST_F(HtmlExportTest, PageLockedByAnotherProgramGivesTheOpenError) {
    std::string page1 = OutputFile("page1.htm", "in use");
    HANDLE lock = CreateFileA(page1.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Job(4);
    Add("one", "C:\\nowhere\\a.jpg");
    EXPECT_FALSE(GeneratePages(NULL));
    CloseHandle(lock);
    ASSERT_EQ(2u, boxes.messages.size());
    EXPECT_EQ("ファイルのオープンに失敗しました", boxes.messages[1].text);
    EXPECT_EQ(page1, boxes.messages[1].caption);
    EXPECT_EQ("in use", PageFile(1));
}

TEST_F(HtmlExportTest, FullDiskIsReportedAndTheUnfinishedPageRemoved) {
    Job(4, 1);
    Add("one", ImageFile("a.jpg", "a"));
    Add("two", ImageFile("b.jpg", "b"));
    Add("three", ImageFile("c.jpg", "c"));
    std::string page1 = Page({ RowGroup({ NarrowComment("one") }, { ImageCell("a.jpg") }) });
    {
        DiskFullAfter full(page1.size() + 40);
        EXPECT_FALSE(GeneratePages(NULL));
    }
    EXPECT_EQ(page1, PageFile(1));
    EXPECT_FALSE(PageExists(2));
    EXPECT_FALSE(PageExists(3));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("ファイルの書き込みに失敗しました", boxes.messages[0].text);
    EXPECT_EQ(out.File("page2.htm"), boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
    EXPECT_EQ((std::vector<std::string>{ "a.jpg", "page1.htm" }), OutputNames());
}
