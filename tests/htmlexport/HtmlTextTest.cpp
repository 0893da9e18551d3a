// The text pieces of the HTML pages: colours, tags, page numbering and names,
// image names in links, and the escaping of included texts in bounded work
// buffers.  No Win32: these run natively with sanitizers as well.
#include "htmlexport/HtmlText.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "base/ByteString.h"

namespace {

// Shift_JIS bytes spelled out, so that the tests do not depend on the
// compiler's conversion of the very texts they check.
const char Hyou[] = "\x95\x5C"; // 表: its trail byte is a backslash
const char Ji[] = "\x8E\xA6";   // 示
const char A[] = "\x82\xA0";    // あ

// Work buffers of a chosen size holding `text`.
struct Work {
    explicit Work(const std::string& text, size_t size = HtmlWorkBufferSize)
        : textBuf(size, 'T'), scratchBuf(size, 'S') {
        buffers = { textBuf.data(), scratchBuf.data(), size };
        CopyTextN(buffers.text, size, text.data(), text.size());
    }
    std::string Text() const { return buffers.text; }
    std::vector<char> textBuf, scratchBuf;
    HtmlWorkBuffers buffers;
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; i++)
        out += s;
    return out;
}

} // namespace

// --- colours and tags -----------------------------------------------------------

TEST(HtmlColor, RedComesFromTheLowestByteInLowerCaseHex) {
    struct {
        uint32_t color;
        const char* html;
    } rows[] = {
        { 0x000080FF, "#ff8000" }, // red 255, green 128, blue 0
        { 0x00000000, "#000000" },
        { 0x00FFFFFF, "#ffffff" },
        { 0x00EEFFC0, "#c0ffee" },
        { 0x00563412, "#123456" },
        { 0xFF0A0B0C, "#0c0b0a" }, // the flag byte of a colour value is not a colour
    };
    for (auto& r : rows)
        EXPECT_STREQ(r.html, ColorToHtml(r.color)) << std::hex << r.color;
}

TEST(HtmlColor, NextCallReusesTheBuffer) {
    const char* first = ColorToHtml(0x0000FF);
    const char* second = ColorToHtml(0x00FF00);
    EXPECT_EQ(first, second);
    EXPECT_STREQ("#00ff00", first);
}

TEST(HtmlTags, TableRowAndWidths) {
    char tag[HtmlTagSize];
    FormatTableStart(tag, countof(tag), 0x000080FF);
    EXPECT_STREQ("<table bgcolor='#ff8000'>", tag);
    FormatRowStart(tag, countof(tag), 0x00123456);
    EXPECT_STREQ("<tr nowrap bgcolor='#563412'>", tag);

    struct {
        int width;
        const char* description;
        const char* image;
    } rows[] = {
        { 300, "<td width='300'>", " width='300' " },
        { 0, "<td width='0'>", " width='0' " },
        { -1, "<td>", "" },
        { -2, "<td>", "" },
        { -7, "<td>", "" },
    };
    for (auto& r : rows) {
        FormatDescriptionCellStart(tag, countof(tag), r.width);
        EXPECT_STREQ(r.description, tag) << r.width;
        FormatImageWidth(tag, countof(tag), r.width);
        EXPECT_STREQ(r.image, tag) << r.width;
    }
}

TEST(HtmlTags, ImageTagWithWidthHasTwoSpacesBeforeBorder) {
    char width[HtmlTagSize];
    FormatImageWidth(width, countof(width), 120);
    EXPECT_EQ("<img src=cap1.jpg width='120'  border='0'>",
              std::string(HtmlImageStart) + "cap1.jpg" + width + HtmlImageEnd);
    FormatImageWidth(width, countof(width), -1);
    EXPECT_EQ("<img src=cap1.jpg border='0'>", std::string(HtmlImageStart) + "cap1.jpg" + width + HtmlImageEnd);
}

TEST(HtmlTags, FixedFragmentsAreShiftJis) {
    EXPECT_EQ(std::string("\x83\x5E\x83\x43\x83\x67\x83\x8B"), HtmlTitleText); // タイトル
    EXPECT_STREQ("\r\n", HtmlNewLine);
}

// --- pages and rows ---------------------------------------------------------------

TEST(HtmlPages, RecordsOfEachPage) {
    struct {
        int page, count, perPage;
        bool exists;
        int first, last;
    } rows[] = {
        { 1, 7, 3, true, 0, 2 },  { 2, 7, 3, true, 3, 5 },   { 3, 7, 3, true, 6, 6 },
        { 4, 7, 3, false, 0, 0 }, { 1, 0, 3, false, 0, 0 },  { 1, 1, 1, true, 0, 0 },
        { 2, 1, 1, false, 0, 0 }, { 1, 5, 20, true, 0, 4 },  { 50, 1000, 20, true, 980, 999 },
        { 51, 1000, 20, false, 0, 0 },
        // A huge page size must neither overflow nor invent a second page.
        { 1, 1000, 0x7FFFFFFF, true, 0, 999 }, { 2, 1000, 0x7FFFFFFF, false, 0, 0 },
        { 3, 1000, 0x40000000, false, 0, 0 },
        // A page size below 1 gives no page at all rather than a loop.
        { 1, 5, 0, false, 0, 0 },
    };
    for (auto& r : rows) {
        int first = -1, last = -1;
        bool exists = PageRecords(r.page, r.count, r.perPage, &first, &last);
        EXPECT_EQ(r.exists, exists) << "page " << r.page << " of " << r.count << " by " << r.perPage;
        if (r.exists && exists) {
            EXPECT_EQ(r.first, first) << "page " << r.page;
            EXPECT_EQ(r.last, last) << "page " << r.page;
        }
    }
}

TEST(HtmlPages, RowGroupsStopAtTheLastRecordOfThePage) {
    EXPECT_EQ(1, RowGroupLast(0, 2, 2));
    EXPECT_EQ(2, RowGroupLast(2, 2, 2));
    EXPECT_EQ(7, RowGroupLast(3, 5, 7));
    EXPECT_EQ(999, RowGroupLast(990, 0x7FFFFFFF, 999));
    EXPECT_EQ(4, RowGroupLast(4, 1, 10));
}

TEST(HtmlPages, PagePathJoinsWithOneBackslashWhateverTheFolderEndsWith) {
    char path[HtmlPagePathSize];
    struct {
        const char* folder;
        const char* rule;
        int page;
        const char* path;
    } rows[] = {
        { "C:\\out", "page", 1, "C:\\out\\page1.htm" },
        { "C:\\out", "page", 12, "C:\\out\\page12.htm" },
        { "C:\\", "page", 3, "C:\\\\page3.htm" },
        { "C:\\out", "", 2, "C:\\out\\2.htm" },
        { "C:\\out", "頁", 1, "C:\\out\\頁1.htm" },
    };
    for (auto& r : rows) {
        EXPECT_TRUE(FormatPagePath(path, countof(path), r.folder, r.rule, r.page));
        EXPECT_STREQ(r.path, path);
    }
}

TEST(HtmlPages, LongestFolderAndRuleAreNeverCut) {
    std::string folder = "C:\\" + std::string(HtmlFolderSize - 4, 'f');
    std::string rule(HtmlRuleSize - 1, 'r');
    char path[HtmlPagePathSize];
    EXPECT_TRUE(FormatPagePath(path, countof(path), folder.c_str(), rule.c_str(), 2147483647));
    EXPECT_EQ(folder + "\\" + rule + "2147483647.htm", path);
}

TEST(HtmlPages, PageFileNamesAsTheFileSystemComparesThem) {
    std::string hyouRule = std::string(Hyou) + "a"; // 表 then "a"
    struct {
        const char* name;
        const char* rule;
        int pages;
        bool page;
    } rows[] = {
        { "page1.htm", "page", 3, true },      { "page3.htm", "page", 3, true },
        { "page4.htm", "page", 3, false },     { "PAGE2.HTM", "page", 3, true },
        { "page2.htm. ", "page", 3, true },    { "page0.htm", "page", 3, false },
        { "page01.htm", "page", 3, false },    { "page.htm", "page", 3, false },
        { "page1.html", "page", 3, false },    { "page1.jpg", "page", 3, false },
        { "xpage1.htm", "page", 3, false },    { "page1.htm", "page", 0, false },
        { "12.htm", "", 12, true },            { "page11.htm", "page1", 1, true },
        { "page99999999999.htm", "page", 1000, false },
        // A double-byte character is compared whole: its trail byte "a"
        // (0x61) is not an "A".
        { "\x95\x41" "A1.htm", "\x95\x61" "a", 1, false },
        { "\x95\x5C" "A1.htm", hyouRule.c_str(), 1, true },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.page, IsPageFileName(r.name, r.rule, r.pages)) << r.name << " / " << r.rule << " / " << r.pages;
}

// --- image cells ------------------------------------------------------------------

TEST(HtmlImages, ContentFollowsTheCaseSensitiveExtension) {
    struct {
        const char* path;
        ImageContent content;
    } rows[] = {
        { "C:\\cap\\a.jpg", ImageContentPicture }, { "a.bmp", ImageContentPicture },
        { "\\a.png", ImageContentPicture },        { "a.gif", ImageContentPicture },
        { "C:\\cap\\a.JPG", ImageContentNone },    { "C:\\cap\\a.txt", ImageContentText },
        { "a.TXT", ImageContentNone },             { "", ImageContentNone },
        { ".jp", ImageContentNone },               { "C:\\cap\\a.jpeg", ImageContentNone },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.content, ImageContentOf(r.path)) << r.path;
}

TEST(HtmlImages, UrlFileNameKeepsOrdinaryNamesAndEscapesMarkupBreakers) {
    struct {
        std::string name;
        std::string url;
    } rows[] = {
        { "cap1.jpg", "cap1.jpg" },
        { std::string(Hyou) + Ji + ".jpg", std::string(Hyou) + Ji + ".jpg" },
        { "a b.jpg", "a%20b.jpg" },
        { "it's.jpg", "it%27s.jpg" },
        { "x=1&y#2%.jpg", "x%3D1%26y%232%25.jpg" },
        { "a`b.jpg", "a%60b.jpg" },
        { "\xB1\xB2.jpg", "\xB1\xB2.jpg" }, // single-byte katakana stay
        // A trail byte that looks like "`" or "=" belongs to its character.
        { "\x83\x60.jpg", "\x83\x60.jpg" },
        { "a onerror=alert(1) b.jpg", "a%20onerror%3Dalert(1)%20b.jpg" },
        // Not possible in a Windows name, but a foreign history file may
        // hold them: no scheme, no other folder or host.
        { "javascript:alert(1)//.jpg", "javascript%3Aalert(1)%2F%2F.jpg" },
        { "<\"?>\x01\x7F", "%3C%22%3F%3E%01%7F" },
        { "", "" },
    };
    for (auto& r : rows) {
        char url[HtmlUrlNameSize];
        FormatUrlFileName(url, countof(url), r.name.c_str());
        EXPECT_EQ(r.url, url) << r.name;
    }
}

TEST(HtmlImages, UrlFileNameOfTheLongestNameFits) {
    std::string name(PathSize - 1, ' ');
    char url[HtmlUrlNameSize];
    FormatUrlFileName(url, countof(url), name.c_str());
    EXPECT_EQ(Repeat("%20", PathSize - 1), url);
}

TEST(HtmlImages, UrlFileNameIsCutOnlyBetweenWholePieces) {
    char url[8];
    FormatUrlFileName(url, countof(url), "ab  cd");
    EXPECT_STREQ("ab%20", url);
    FormatUrlFileName(url, countof(url), (std::string("abcdef") + A).c_str());
    EXPECT_STREQ("abcdef", url);
}

TEST(HtmlImages, CopySourceOfHistoryFolderRecords) {
    struct {
        const char* imagePath;
        int inHistoryFolder;
        std::string source;
    } rows[] = {
        { "\\cap3.jpg", 1, "C:\\hist\\cap3.jpg" },
        { "D:\\elsewhere\\cap3.jpg", 1, "C:\\hist\\cap3.jpg" },
        { "D:\\elsewhere\\cap3.jpg", 0, "D:\\elsewhere\\cap3.jpg" },
        { "cap4.jpg", 1, "C:\\hist\\cap4.jpg" },
        { "cap4.jpg", 0, "cap4.jpg" },
    };
    for (auto& r : rows) {
        HistoryRecord rec = {};
        CopyText(rec.imagePath, countof(rec.imagePath), r.imagePath);
        rec.inHistoryFolder = r.inHistoryFolder;
        char source[HtmlJoinedPathSize];
        EXPECT_TRUE(ImageCopySource(source, countof(source), rec, "C:\\hist"));
        EXPECT_EQ(r.source, source) << r.imagePath << " " << r.inHistoryFolder;
    }
}

TEST(HtmlImages, CopySourceFindsTheRealLastBackslash) {
    HistoryRecord rec = {};
    std::string path = std::string("D:\\") + Hyou + "\\" + Hyou + Ji + ".jpg";
    CopyText(rec.imagePath, countof(rec.imagePath), path.c_str());
    rec.inHistoryFolder = 1;
    char source[HtmlJoinedPathSize];
    ImageCopySource(source, countof(source), rec, "C:\\h");
    EXPECT_EQ(std::string("C:\\h\\") + Hyou + Ji + ".jpg", source);
}

TEST(HtmlImages, TextPathsInTheHistoryFolder) {
    char path[HtmlJoinedPathSize];
    EXPECT_TRUE(ResolveImagePath(path, countof(path), "C:\\hist", "\\note.txt"));
    EXPECT_STREQ("C:\\hist\\note.txt", path);
    EXPECT_TRUE(ResolveImagePath(path, countof(path), "C:\\hist", "D:\\t\\note.txt"));
    EXPECT_STREQ("D:\\t\\note.txt", path);
    EXPECT_TRUE(ResolveImagePath(path, countof(path), "C:\\hist", "\\\\srv\\note.txt"));
    EXPECT_STREQ("\\\\srv\\note.txt", path);
    EXPECT_TRUE(JoinPath(path, countof(path), "C:\\hist", "a1.txt"));
    EXPECT_STREQ("C:\\hist\\a1.txt", path);
}

// --- ReplaceAll and escaping ----------------------------------------------------

TEST(HtmlReplaceAll, ReplacesEveryOccurrence) {
    struct {
        std::string text;
        char ch;
        const char* replacement;
        std::string result;
    } rows[] = {
        { "&&", '&', "&amp;", "&amp;&amp;" },
        { "&a", '&', "&amp;", "&amp;a" },
        { "a&", '&', "&amp;", "a&amp;" },
        { "<<", '<', "&lt;", "&lt;&lt;" },
        { "none", '&', "&amp;", "none" },
        { "", '&', "&amp;", "" },
        { "a\r\nb", '\r', " ", "a \nb" },
        { "a\nb\n", '\n', "<BR>", "a<BR>b<BR>" },
        { "x<y", '<', "", "xy" },
        // 表 ends in 0x5C: only the real backslash is a backslash.
        { std::string(Hyou) + "\\" + Hyou, '\\', "/", std::string(Hyou) + "/" + Hyou },
        { std::string(A) + "&" + A, '&', "&amp;", std::string(A) + "&amp;" + A },
        // A lead byte before a byte that cannot be its trail is a character
        // of its own; the "&" after it is still replaced.
        { "\x81&", '&', "&amp;", "\x81&amp;" },
    };
    for (auto& r : rows) {
        Work work(r.text);
        EXPECT_TRUE(ReplaceAll(work.buffers, r.ch, r.replacement)) << r.text;
        EXPECT_EQ(r.result, work.Text()) << r.text;
    }
}

TEST(HtmlReplaceAll, TooLongResultIsCutBeforeAPieceThatDoesNotFit) {
    // 14 bytes hold 13: "&amp;&amp;" (10) and not a piece of a third entity.
    Work entities("&&&&", 14);
    EXPECT_FALSE(ReplaceAll(entities.buffers, '&', "&amp;"));
    EXPECT_EQ("&amp;&amp;", entities.Text());
    EXPECT_EQ('\0', entities.textBuf[10]);

    // The text between replacements is cut on a character boundary.
    Work text("&" + Repeat(A, 6), 12);
    EXPECT_FALSE(ReplaceAll(text.buffers, '&', "&amp;"));
    EXPECT_EQ("&amp;" + Repeat(A, 3), text.Text());
}

TEST(HtmlReplaceAll, ResultThatFitsExactlyIsWhole) {
    Work work("&&&", 16);
    EXPECT_TRUE(ReplaceAll(work.buffers, '&', "&amp;"));
    EXPECT_EQ("&amp;&amp;&amp;", work.Text());
}

TEST(HtmlReplaceAll, FullBufferOfAmpersandsStaysInsideIt) {
    Work work(std::string(HtmlWorkBufferSize - 1, '&'));
    EXPECT_FALSE(ReplaceAll(work.buffers, '&', "&amp;"));
    std::string text = work.Text();
    EXPECT_EQ(Repeat("&amp;", (HtmlWorkBufferSize - 1) / 5), text);
}

TEST(HtmlEscape, IncludedTextRules) {
    struct {
        std::string text;
        bool preformatted;
        std::string result;
    } rows[] = {
        { "<<", false, "&lt;&lt;" },
        { "&&", false, "&amp;&amp;" },
        { "<a>", false, "&lt;a&gt;" },
        { "&lt;", false, "&amp;lt;" },
        { "a\r\nb", false, "a <BR>b" },
        { "a\r\nb", true, "a\r\nb" },
        { "<&>\r\n", true, "&lt;&amp;&gt;\r\n" },
        { "a\nb\rc", false, "a<BR>b c" },
        { std::string(Hyou) + "<" + Ji, false, std::string(Hyou) + "&lt;" + Ji },
    };
    for (auto& r : rows) {
        Work work(r.text);
        EXPECT_TRUE(EscapeIncludedText(work.buffers, r.preformatted)) << r.text;
        EXPECT_EQ(r.result, work.Text()) << r.text;
    }
}

TEST(HtmlEscape, AWholeChunkOfTheWorstTextFitsOnceEscaped) {
    for (char c : { '&', '<', '>', '\n' }) {
        Work work(std::string(HtmlIncludeChunk, c));
        EXPECT_TRUE(EscapeIncludedText(work.buffers, false)) << c;
        EXPECT_LE(work.Text().size(), (size_t)HtmlWorkBufferSize - 1);
    }
}

TEST(HtmlEscape, WholeLengthHoldsBackASplitCharacter) {
    struct {
        std::string bytes;
        size_t whole;
    } rows[] = {
        { "ab", 2 },
        { std::string("a") + "\x95", 1 },
        { Hyou, 2 },
        { std::string(Hyou) + "\x95", 2 },
        { std::string("\x95\x95"), 2 },
        { std::string(A) + "\x82", 2 },
        { "\xB1", 1 },
        { "", 0 },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.whole, SjisWholeLength(r.bytes.data(), r.bytes.size())) << r.bytes;
}
