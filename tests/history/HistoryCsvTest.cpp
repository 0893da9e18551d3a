// Record lines of the history file, byte for byte.
#include "history/HistoryCsv.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "base/ByteString.h"

static const char Hyou[] = "\x95\x5C";  // 表
static const char Ji[] = "\x8E\xA6";    // 示
static const char So[] = "\x83\x5C";    // ソ
static const char A[] = "\x82\xA0";     // あ

static HistoryRecord MakeRecord(const char* date, const char* comment, const char* image, const char* text,
                                int inFolder) {
    HistoryRecord r;
    memset(&r, 0, sizeof(r));
    CopyText(r.dateTime, countof(r.dateTime), date);
    CopyText(r.comment, countof(r.comment), comment);
    CopyText(r.imagePath, countof(r.imagePath), image);
    CopyText(r.textPath, countof(r.textPath), text);
    r.inHistoryFolder = inFolder;
    return r;
}

static std::string Line(const HistoryRecord& r) {
    char buf[MaxHistoryLineLength + 16];
    size_t n = FormatHistoryLine(r, buf, countof(buf));
    EXPECT_EQ(strlen(buf), n);
    return std::string(buf, n);
}

static HistoryRecord Parse(const std::string& line, bool* gotRecord = nullptr) {
    HistoryRecord r;
    bool ok = ParseHistoryLine(line.data(), line.size(), r);
    if (gotRecord)
        *gotRecord = ok;
    return r;
}

TEST(HistoryCsv, HeaderIsTheFourColumnNames) {
    // 日時,コメント,ファイルパス,テキスト情報 in code page 932, 39 bytes + CR LF.
    const std::string expected =
        "\x93\xFA\x8E\x9E,\x83\x52\x83\x81\x83\x93\x83\x67,"
        "\x83\x74\x83\x40\x83\x43\x83\x8B\x83\x70\x83\x58,"
        "\x83\x65\x83\x4C\x83\x58\x83\x67\x8F\xEE\x95\xF1\r\n";
    EXPECT_EQ(41u, expected.size());
    EXPECT_EQ(expected, HistoryHeaderLine);
}

TEST(HistoryCsv, HistoryRelativePaths) {
    struct { const char* path; bool relative; } rows[] = {
        { "\\a.jpg", true },
        { "\\\\server\\share\\a.jpg", false },
        { "C:\\cap\\a.jpg", false },
        { "a.jpg", false },
        { "", false },
        { "\\", true },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.relative, IsHistoryRelative(r.path)) << r.path;
}

TEST(HistoryCsv, FileTypesCompareTheLastFourBytesExactly) {
    struct { const char* path; bool image; bool text; } rows[] = {
        { "a.jpg", true, false },  { "a.bmp", true, false }, { "a.png", true, false },
        { "a.gif", true, false },  { "a.JPG", false, false }, { "a.jpeg", false, false },
        { "a.txt", false, true },  { "a.TXT", false, false }, { ".jpg", true, false },
        { "jpg", false, false },   { "", false, false },      { "a.jpg.bak", false, false },
    };
    for (auto& r : rows) {
        EXPECT_EQ(r.image, IsImageFile(r.path)) << r.path;
        EXPECT_EQ(r.text, IsTextFile(r.path)) << r.path;
    }
}

TEST(HistoryCsv, DateStampHasFixedWidths) {
    char buf[DateTimeSize];
    FormatDateStamp(buf, countof(buf), 2024, 1, 2, 3, 4, 5);
    EXPECT_STREQ("2024/01/02 03:04:05", buf);
    FormatDateStamp(buf, countof(buf), 987, 12, 31, 23, 59, 59);
    EXPECT_STREQ("0987/12/31 23:59:59", buf);
}

TEST(HistoryCsv, RecordLineIsUnquotedFieldsWithCrLf) {
    HistoryRecord r = MakeRecord("2024/01/02 03:04:05", "note", "C:\\cap\\a1.jpg", "a1.txt", 0);
    EXPECT_EQ("2024/01/02 03:04:05,note,C:\\cap\\a1.jpg,a1.txt\r\n", Line(r));
}

TEST(HistoryCsv, RecordWithoutTextFileEndsInComma) {
    HistoryRecord r = MakeRecord("2024/01/02 03:04:05", "", "C:\\a.bmp", "", 0);
    EXPECT_EQ("2024/01/02 03:04:05,,C:\\a.bmp,\r\n", Line(r));
}

TEST(HistoryCsv, HistoryFolderRecordIsWrittenAsBackslashAndName) {
    struct { const char* image; const char* field; } rows[] = {
        { "C:\\somewhere\\else\\cap7.jpg", "\\cap7.jpg" },
        { "\\cap3.jpg", "\\cap3.jpg" },
        { "D:\\x.bmp", "\\x.bmp" },
    };
    for (auto& row : rows) {
        HistoryRecord r = MakeRecord("2024/01/02 03:04:05", "c", row.image, "", 1);
        EXPECT_EQ(std::string("2024/01/02 03:04:05,c,") + row.field + ",\r\n", Line(r)) << row.image;
    }
}

TEST(HistoryCsv, HistoryFolderNameWithTrailBackslashKeepsWholeName) {
    // 表示.jpg: the 0x5C inside 表 is not where the name begins.
    std::string image = std::string("C:\\cap\\") + Hyou + Ji + ".jpg";
    HistoryRecord r = MakeRecord("2024/01/02 03:04:05", "c", image.c_str(), "", 1);
    EXPECT_EQ(std::string("2024/01/02 03:04:05,c,\\") + Hyou + Ji + ".jpg,\r\n", Line(r));
}

TEST(HistoryCsv, LongestLines) {
    HistoryRecord r = MakeRecord("2024/01/02 03:04:05", std::string(128, 'c').c_str(),
                                 std::string(259, 'i').c_str(), std::string(259, 't').c_str(), 0);
    EXPECT_EQ(670u, Line(r).size());
    r = MakeRecord(std::string(19, '"').c_str(), std::string(128, '"').c_str(), std::string(259, '"').c_str(),
                   std::string(259, '"').c_str(), 0);
    EXPECT_EQ((size_t)MaxHistoryLineLength, Line(r).size());
}

// A field with a comma or a double quote is quoted, its quotes doubled;
// every other field is written as it always was.
TEST(HistoryCsv, FieldsWithCommasOrQuotesAreQuoted) {
    struct { const char* comment; const char* image; const char* text; const char* line; } rows[] = {
        { "Inbox (3), x - Mail", "C:\\a,b\\1.jpg", "", "d,\"Inbox (3), x - Mail\",\"C:\\a,b\\1.jpg\",\r\n" },
        { "say \"hi\"", "C:\\1.jpg", "t,1.txt", "d,\"say \"\"hi\"\"\",C:\\1.jpg,\"t,1.txt\"\r\n" },
        { "\"", "C:\\1.jpg", "", "d,\"\"\"\",C:\\1.jpg,\r\n" },
        { "plain 'text'", "C:\\1.jpg", "1.txt", "d,plain 'text',C:\\1.jpg,1.txt\r\n" },
    };
    for (auto& row : rows) {
        HistoryRecord r = MakeRecord("d", row.comment, row.image, row.text, 0);
        std::string line = Line(r);
        EXPECT_EQ(row.line, line) << row.comment;
        HistoryRecord back = Parse(line.substr(0, line.size() - 2));
        EXPECT_STREQ(row.comment, back.comment) << row.line;
        EXPECT_STREQ(row.image, back.imagePath) << row.line;
        EXPECT_STREQ(row.text, back.textPath) << row.line;
    }
}

// Older files never quoted: a field that only begins with a quote is read
// as it stands, and only a well-formed quoted field is unquoted.
TEST(HistoryCsv, FieldsBeginningWithAQuoteInOlderFiles) {
    struct { const char* line; const char* comment; const char* image; const char* text; } rows[] = {
        { "d,\"Hello\" said he,C:\\1.jpg,", "\"Hello\" said he", "C:\\1.jpg", "" },
        { "d,\"open,C:\\1.jpg,", "\"open", "C:\\1.jpg", "" },
        { "d,\"a\"b\",C:\\1.jpg,", "\"a\"b\"", "C:\\1.jpg", "" },
        { "d,\"a,b\",C:\\1.jpg,", "a,b", "C:\\1.jpg", "" },
        { "d,\"\",C:\\1.jpg,", "", "C:\\1.jpg", "" },
        { "d,c,C:\\1.jpg,\"t\",x", "c", "C:\\1.jpg", "\"t\",x" },
        { "d,c,C:\\1.jpg,\"t,x\"", "c", "C:\\1.jpg", "t,x" },
        { "d,c,\"C:\\1.jpg\"", "c", "C:\\1.jpg", "" },
    };
    for (auto& row : rows) {
        HistoryRecord r = Parse(row.line);
        EXPECT_STREQ(row.comment, r.comment) << row.line;
        EXPECT_STREQ(row.image, r.imagePath) << row.line;
        EXPECT_STREQ(row.text, r.textPath) << row.line;
    }
}

TEST(HistoryCsv, ParseSplitsAtTheFirstThreeCommas) {
    bool got;
    HistoryRecord r = Parse("2024/01/02 03:04:05,note,C:\\a.jpg,t,with,commas", &got);
    EXPECT_TRUE(got);
    EXPECT_STREQ("2024/01/02 03:04:05", r.dateTime);
    EXPECT_STREQ("note", r.comment);
    EXPECT_STREQ("C:\\a.jpg", r.imagePath);
    EXPECT_STREQ("t,with,commas", r.textPath);
    EXPECT_EQ(0, r.inHistoryFolder);
}

TEST(HistoryCsv, ParseWithoutThirdCommaHasNoTextFile) {
    HistoryRecord r = Parse("d,c,\\img.jpg");
    EXPECT_STREQ("\\img.jpg", r.imagePath);
    EXPECT_STREQ("", r.textPath);
    EXPECT_EQ(1, r.inHistoryFolder);
}

TEST(HistoryCsv, ShortLinesKeepWhatTheyHold) {
    struct { const char* line; const char* date; const char* comment; const char* image; } rows[] = {
        { "only a date", "only a date", "", "" },
        { "d,comment", "d", "comment", "" },
        { "d,c,", "d", "c", "" },
        { ",,,", "", "", "" },
    };
    for (auto& row : rows) {
        bool got;
        HistoryRecord r = Parse(row.line, &got);
        EXPECT_TRUE(got) << row.line;
        EXPECT_STREQ(row.date, r.dateTime) << row.line;
        EXPECT_STREQ(row.comment, r.comment) << row.line;
        EXPECT_STREQ(row.image, r.imagePath) << row.line;
    }
}

TEST(HistoryCsv, EmptyLineHoldsNoRecord) {
    bool got = true;
    Parse("", &got);
    EXPECT_FALSE(got);
}

TEST(HistoryCsv, NoTrimmingOrUnquoting) {
    HistoryRecord r = Parse(" d , \"c\" ,x, t ");
    EXPECT_STREQ(" d ", r.dateTime);
    EXPECT_STREQ(" \"c\" ", r.comment);
    EXPECT_STREQ("x", r.imagePath);
    EXPECT_STREQ(" t ", r.textPath);
}

TEST(HistoryCsv, CommaAfterDoubleByteCharacterIsFound) {
    // Characters whose trail bytes look like ASCII (ソ 83 5C, 表 95 5C,
    // ア 83 41) right before the separators.
    std::string comment = std::string("x") + So + Hyou + "\x83\x41";
    HistoryRecord r = Parse("d," + comment + ",C:\\" + Hyou + ".jpg," + So + ".txt");
    EXPECT_EQ(comment, r.comment);
    EXPECT_EQ(std::string("C:\\") + Hyou + ".jpg", r.imagePath);
    EXPECT_EQ(std::string(So) + ".txt", r.textPath);
}

TEST(HistoryCsv, ShiftJisCommentRoundTrips) {
    std::string comment = std::string(Hyou) + Ji + "\\" + So;
    HistoryRecord written = MakeRecord("2024/01/02 03:04:05", comment.c_str(), "C:\\a.jpg", "", 0);
    std::string line = Line(written);
    HistoryRecord r = Parse(line.substr(0, line.size() - 2));
    EXPECT_EQ(comment, r.comment);
    EXPECT_STREQ("C:\\a.jpg", r.imagePath);
}

TEST(HistoryCsv, OverlongFieldsAreCutOnCharacterBoundaries) {
    std::string longDate(40, '9');
    std::string longComment = "x";
    for (int i = 0; i < 100; i++)
        longComment += A;
    std::string longImage(400, 'i');
    std::string longText = std::string(300, 't');
    HistoryRecord r = Parse(longDate + "," + longComment + "," + longImage + "," + longText);
    EXPECT_EQ(std::string(19, '9'), r.dateTime);
    // 1 + 63 * 2 = 127 bytes: another two-byte character would need 129.
    EXPECT_EQ(127u, strlen(r.comment));
    EXPECT_EQ(longComment.substr(0, 127), r.comment);
    EXPECT_EQ(std::string(259, 'i'), r.imagePath);
    EXPECT_EQ(std::string(259, 't'), r.textPath);
}

TEST(HistoryCsv, EmbeddedZeroByteEndsTheField) {
    std::string line("d,ab\0cd,x,y", 11);
    HistoryRecord r = Parse(line);
    EXPECT_STREQ("ab", r.comment);
    EXPECT_STREQ("x", r.imagePath);
}

TEST(HistoryCsv, TemporaryFileIsBesideTheHistoryAndNeverLonger) {
    struct { std::string path, temp; } rows[] = {
        { "C:\\h\\keep.csv", "C:\\h\\~$ep.csv" },
        { "C:\\h\\ab", "C:\\h\\~$" },
        { "C:\\h\\a", "C:\\h\\~" },
        { "C:\\h\\~", "C:\\h\\$" },
        { "C:\\h\\~$ep.csv", "C:\\h\\~#ep.csv" },
        { std::string("C:\\h\\") + Hyou + Ji + ".csv", std::string("C:\\h\\~$") + Ji + ".csv" },
        { std::string("C:\\h\\a") + Hyou + ".csv", "C:\\h\\~$.csv" },
        { std::string("C:\\") + Hyou + "\\x.csv", std::string("C:\\") + Hyou + "\\~$csv" },
        { "plain.csv", "~$ain.csv" },
    };
    for (auto& r : rows) {
        char temp[PathSize];
        ASSERT_TRUE(HistoryTempPath(temp, countof(temp), r.path.c_str())) << r.path;
        EXPECT_EQ(r.temp, temp) << r.path;
    }
    std::string longest = "C:\\" + std::string(245, 'd') + "\\" + std::string(10, 'n');
    char temp[PathSize];
    ASSERT_EQ(259u, longest.size());
    ASSERT_TRUE(HistoryTempPath(temp, countof(temp), longest.c_str()));
    EXPECT_EQ(longest.size(), strlen(temp));
    char folder[PathSize];
    EXPECT_FALSE(HistoryTempPath(temp, countof(temp), "C:\\h\\")) << "no file name";
    EXPECT_FALSE(HistoryTempPath(folder, 8, "C:\\h\\keep.csv"));
}
