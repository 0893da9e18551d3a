// The pages the generator writes, byte for byte: skeleton, row groups, the
// six layouts, widths, colours and the included text files.
#include "htmlexport/HtmlExport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/htmlexport/HtmlExportFixture.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; i++)
        out += s;
    return out;
}

// What a reader expects of an included text: "&", "<" and ">" as entities,
// and, outside "<pre>", CR as a space and LF as "<BR>".  None of these bytes
// can be the second byte of a Shift_JIS character, so byte by byte is right.
std::string Escaped(const std::string& text, bool preformatted = false) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '\r' && !preformatted)
            out += " ";
        else if (c == '\n' && !preformatted)
            out += "<BR>";
        else
            out += c;
    }
    return out;
}

} // namespace

// --- the worked example and the page skeleton ---------------------------------------

TEST_F(HtmlExportTest, WorkedExampleMatchesTheHandWrittenPage) {
    gSettings.htmlBackColor = (int)Coffee;  // "背景色": the table
    gSettings.htmlFrameColor = (int)Orange; // "枠色": every row
    gSettings.htmlPerRow = 2;
    Job(0, 10, -1, -1);
    Add("first", ImageFile("a1.jpg", "JPEG one"), "a1.txt");
    Add("second", ImageFile("a2.jpg", "JPEG two"), "a2.txt");
    HistoryFile("a1.txt", "x");
    HistoryFile("a2.txt", "y");

    EXPECT_TRUE(GeneratePages(NULL));

    EXPECT_EQ(ReadFileBytes(TestDataPath("htmlexport/data/worked_example.htm")), PageFile(1));
    EXPECT_EQ("JPEG one", ReadFileBytes(out.File("a1.jpg")));
    EXPECT_EQ("JPEG two", ReadFileBytes(out.File("a2.jpg")));
    EXPECT_EQ((std::vector<std::string>{ "a1.jpg", "a2.jpg", "page1.htm" }), OutputNames());
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, SevenRecordsThreePerPageTwoPerRow) {
    Job(4, 3);
    gSettings.htmlPerRow = 2;
    for (int i = 1; i <= 7; i++) {
        std::string n = std::to_string(i);
        Add("r" + n, ImageFile("c" + n + ".jpg", "image " + n));
    }

    EXPECT_TRUE(GeneratePages(NULL));

    auto group = [](int a, int b) {
        std::vector<std::string> comments, cells;
        for (int i = a; i <= b; i++) {
            comments.push_back(NarrowComment("r" + std::to_string(i)));
            cells.push_back(ImageCell("c" + std::to_string(i) + ".jpg"));
        }
        return RowGroup(comments, cells);
    };
    EXPECT_EQ(Page({ group(1, 2), group(3, 3) }), PageFile(1));
    EXPECT_EQ(Page({ group(4, 5), group(6, 6) }), PageFile(2));
    EXPECT_EQ(Page({ group(7, 7) }), PageFile(3));
    EXPECT_FALSE(PageExists(4));
    for (int i = 1; i <= 7; i++)
        EXPECT_EQ("image " + std::to_string(i), ReadFileBytes(out.File("c" + std::to_string(i) + ".jpg"))) << i;
}

TEST_F(HtmlExportTest, EmptyListWritesNothingAndCompletes) {
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_TRUE(OutputNames().empty());
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, PagesFromAnEarlierLongerExportAreLeftAlone) {
    OutputFile("page3.htm", "earlier page 3");
    Job(4, 1);
    Add("one", ImageFile("a.jpg", "a"));
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_TRUE(PageExists(1));
    EXPECT_FALSE(PageExists(2));
    EXPECT_EQ("earlier page 3", PageFile(3));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, PageNamesFollowTheRuleAndJoinWithOneBackslash) {
    ASSERT_TRUE(SetJob(4, 1, -1, -1, (out.Path() + "\\").c_str(), "shot"));
    Add("one", "C:\\nowhere\\a.jpg");
    Add("two", "C:\\nowhere\\b.jpg");
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ((std::vector<std::string>{ "shot1.htm", "shot2.htm" }), OutputNames());
}

TEST_F(HtmlExportTest, ColoursComeFromTheirOwnKeysInLowerCaseHex) {
    gSettings.htmlBackColor = 0x00ABCDEF;  // "背景色": table
    gSettings.htmlFrameColor = 0x000080FF; // "枠色": rows
    Job(4);
    Add("c", "C:\\nowhere\\a.jpg");
    EXPECT_TRUE(GeneratePages(NULL));
    std::string expected = PageHead("#efcdab") + RowGroup({ NarrowComment("c") }, { ImageCell("a.jpg") }, "#ff8000") +
                           PageTail;
    EXPECT_EQ(expected, PageFile(1));
}

TEST_F(HtmlExportTest, CommentIsWrittenAsStored) {
    Job(4);
    Add("a<b", "C:\\nowhere\\a.jpg");
    Add("表示&ソ", "C:\\nowhere\\b.jpg");
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("a<b"), NarrowComment("表示&ソ") },
                              { ImageCell("a.jpg"), ImageCell("b.jpg") }) }),
              PageFile(1));
}

// --- layouts and widths -----------------------------------------------------------

TEST_F(HtmlExportTest, SixLayoutsPlaceTheirCellsInOrder) {
    std::string image = ImageCell("shot.jpg");
    std::string linked = LinkedCell("shot.jpg", ImageTag("shot.jpg"));
    std::string text = DescriptionCell("memo");
    struct {
        int layout;
        std::string comment;
        std::vector<std::string> cells;
    } rows[] = {
        { 0, WideComment("c"), { image, text } },  { 1, WideComment("c"), { text, image } },
        { 2, WideComment("c"), { linked, text } }, { 3, WideComment("c"), { text, linked } },
        { 4, NarrowComment("c"), { image } },      { 5, NarrowComment("c"), { linked } },
    };
    Add("c", ImageFile("shot.jpg", "shot"), "note.txt");
    HistoryFile("note.txt", "memo");
    for (auto& r : rows) {
        Job(r.layout);
        DeleteFileA(out.File("page1.htm").c_str());
        EXPECT_TRUE(GeneratePages(NULL)) << "layout " << r.layout;
        EXPECT_EQ(Page({ RowGroup({ r.comment }, r.cells) }), PageFile(1)) << "layout " << r.layout;
    }
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, WidthsAreWrittenWhenZeroOrMore) {
    struct {
        int imageWidth, descriptionWidth;
        std::string image, description;
    } rows[] = {
        { 120, 300, ImageCell("shot.jpg", "120"), DescriptionCell("memo", "300") },
        { 0, 0, ImageCell("shot.jpg", "0"), DescriptionCell("memo", "0") },
        { -1, -1, ImageCell("shot.jpg"), DescriptionCell("memo") },
    };
    Add("c", "C:\\nowhere\\shot.jpg", "note.txt");
    HistoryFile("note.txt", "memo");
    for (auto& r : rows) {
        Job(0, 10, r.imageWidth, r.descriptionWidth);
        DeleteFileA(out.File("page1.htm").c_str());
        EXPECT_TRUE(GeneratePages(NULL));
        EXPECT_EQ(Page({ RowGroup({ WideComment("c") }, { r.image, r.description }) }), PageFile(1))
            << r.imageWidth << " " << r.descriptionWidth;
    }
    EXPECT_NE(std::string::npos, PageFile(1).find("<img src=shot.jpg border='0'>"));
}

TEST_F(HtmlExportTest, ImpossiblePageSizeAndLayoutAreCorrectedBySetJob) {
    EXPECT_FALSE(SetJob(9, 0, -1, -1, out.Path().c_str(), "page"));
    EXPECT_EQ(0, gHtmlExportJob.layout);
    EXPECT_EQ(1, gHtmlExportJob.itemsPerPage);
    Add("one", "C:\\nowhere\\a.jpg");
    Add("two", "C:\\nowhere\\b.jpg");
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("two") }, { ImageCell("b.jpg"), DescriptionCell("") }) }), PageFile(2));
    EXPECT_FALSE(PageExists(3));
}

TEST_F(HtmlExportTest, RecordsPerRowBelowOneIsTakenAsOne) {
    gSettings.htmlPerRow = 0;
    Job(4);
    Add("one", "C:\\nowhere\\a.jpg");
    Add("two", "C:\\nowhere\\b.jpg");
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ NarrowComment("one") }, { ImageCell("a.jpg") }),
                     RowGroup({ NarrowComment("two") }, { ImageCell("b.jpg") }) }),
              PageFile(1));
}

// --- included texts ---------------------------------------------------------------

TEST_F(HtmlExportTest, IncludedTextsKeepEveryCharacterEscaped) {
    struct {
        std::string text;
        int width;
        std::string cell;
    } rows[] = {
        { "<b>", -1, DescriptionCell("&lt;b&gt;") },
        { "&x", -1, DescriptionCell("&amp;x") },
        { "<<", -1, DescriptionCell("&lt;&lt;") },
        { "&&", -1, DescriptionCell("&amp;&amp;") },
        { "&lt;", -1, DescriptionCell("&amp;lt;") },
        { "a\r\nb", -1, DescriptionCell("a <BR>b") },
        { "a\r\nb", 200, DescriptionCell("a <BR>b", "200") },
        { "a\r\nb", -2, DescriptionCell("<pre>a\r\nb</pre>") },
        { "<a>\r\n&", -2, DescriptionCell("<pre>&lt;a&gt;\r\n&amp;</pre>") },
        { "表示\r\n能", -1, DescriptionCell("表示 <BR>能") },
        { "", -1, DescriptionCell("") },
        { "", -2, DescriptionCell("<pre></pre>") },
    };
    Add("c", "C:\\nowhere\\a.bmp", "t.txt");
    for (auto& r : rows) {
        HistoryFile("t.txt", r.text);
        Job(0, 10, -1, r.width);
        DeleteFileA(out.File("page1.htm").c_str());
        EXPECT_TRUE(GeneratePages(NULL));
        EXPECT_EQ(Page({ RowGroup({ WideComment("c") }, { ImageCell("a.bmp"), r.cell }) }), PageFile(1))
            << r.text << " width " << r.width;
    }
}

TEST_F(HtmlExportTest, MissingOrAbsentTextLeavesTheCellEmpty) {
    for (int width : { -1, -2 }) {
        Job(1, 10, -1, width);
        ClearHistoryRecords(gHistory);
        Add("none", "C:\\nowhere\\a.jpg", "");
        Add("missing", "C:\\nowhere\\b.jpg", "missing.txt");
        DeleteFileA(out.File("page1.htm").c_str());
        EXPECT_TRUE(GeneratePages(NULL));
        EXPECT_EQ(Page({ RowGroup({ WideComment("none"), WideComment("missing") },
                                  { DescriptionCell(""), ImageCell("a.jpg"), DescriptionCell(""), ImageCell("b.jpg") }) }),
                  PageFile(1))
            << "width " << width;
    }
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(HtmlExportTest, TextImagePathShowsItsTextInsideTheLinkWhereLinked) {
    HistoryFile("shown.txt", "<表>");
    std::string full = ImageFile("full.txt", "a\r\nb");
    Add("rel", "\\shown.txt");
    Add("full", full);
    gSettings.htmlPerRow = 2;

    Job(0);
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("rel"), WideComment("full") },
                              { "<td>&lt;表&gt;</td>", DescriptionCell(""), "<td>a <BR>b</td>", DescriptionCell("") }) }),
              PageFile(1));

    Job(2, 10, -1, -2);
    DeleteFileA(out.File("page1.htm").c_str());
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("rel"), WideComment("full") },
                              { LinkedCell("shown.txt", "<pre>&lt;表&gt;</pre>"), DescriptionCell(""),
                                LinkedCell("full.txt", "<pre>a\r\nb</pre>"), DescriptionCell("") }) }),
              PageFile(1));
    EXPECT_EQ("<表>", ReadFileBytes(out.File("shown.txt"))) << "a text file is copied as well";
}

TEST_F(HtmlExportTest, TextLongerThanAWorkBufferComesThroughWhole) {
    // Double-byte characters straddle the pieces the text is read in, and
    // every kind of escaped byte occurs throughout.
    std::string text = "ab";
    unsigned seed = 12345;
    const char* parts[] = { "a", "表", "示", "&", "<", ">", "\r\n", " ", "ソ", "\xB1" };
    while (text.size() < 150000) {
        seed = seed * 1103515245u + 12345u;
        text += parts[(seed >> 16) % 10];
    }
    HistoryFile("long.txt", text);
    Add("c", "C:\\nowhere\\a.jpg", "long.txt");
    for (int width : { -1, -2 }) {
        Job(0, 10, -1, width);
        DeleteFileA(out.File("page1.htm").c_str());
        EXPECT_TRUE(GeneratePages(NULL));
        std::string body = width == -2 ? "<pre>" + Escaped(text, true) + "</pre>" : Escaped(text);
        std::string expected =
            Page({ RowGroup({ WideComment("c") }, { ImageCell("a.jpg"), DescriptionCell(body) }) });
        std::string page = PageFile(1);
        EXPECT_EQ(expected.size(), page.size()) << "width " << width;
        EXPECT_TRUE(expected == page) << "width " << width;
    }
}

TEST_F(HtmlExportTest, TextFullOfAmpersandsIsEscapedWhole) {
    std::string text(70000, '&');
    HistoryFile("amp.txt", text);
    Add("c", "\\amp.txt", "amp.txt");
    Job(0);
    EXPECT_TRUE(GeneratePages(NULL));
    std::string escaped = Repeat("&amp;", 70000);
    std::string expected =
        Page({ RowGroup({ WideComment("c") }, { "<td>" + escaped + "</td>", DescriptionCell(escaped) }) });
    std::string page = PageFile(1);
    EXPECT_EQ(expected.size(), page.size());
    EXPECT_TRUE(expected == page);
}

TEST_F(HtmlExportTest, TextEndsAtItsFirstZeroByte) {
    HistoryFile("z.txt", std::string("before\0after", 12));
    Add("c", "C:\\nowhere\\a.jpg", "z.txt");
    Job(0);
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("c") }, { ImageCell("a.jpg"), DescriptionCell("before") }) }),
              PageFile(1));
}

TEST_F(HtmlExportTest, StrayLeadByteAtTheEndOfATextIsKept) {
    HistoryFile("s.txt", "end\x95");
    Add("c", "C:\\nowhere\\a.jpg", "s.txt");
    Job(0);
    EXPECT_TRUE(GeneratePages(NULL));
    EXPECT_EQ(Page({ RowGroup({ WideComment("c") }, { ImageCell("a.jpg"), DescriptionCell("end\x95") }) }),
              PageFile(1));
}
