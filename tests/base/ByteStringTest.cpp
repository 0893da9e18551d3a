#include "base/ByteString.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

// Shift_JIS bytes spelled out, so that the tests do not depend on the
// compiler's conversion of the very texts they check.
static const char Hyou[] = "\x95\x5C";  // 表: trail byte is a backslash
static const char So[] = "\x83\x5C";    // ソ
static const char A[] = "\x82\xA0";     // あ

TEST(ByteString, CountofCountsArrayElements) {
    char buf[37];
    int nums[5];
    EXPECT_EQ(37u, countof(buf));
    EXPECT_EQ(5u, countof(nums));
}

TEST(ByteString, LeadByteRanges) {
    struct { unsigned char byte; bool lead; } rows[] = {
        { 0x40, false }, { 0x5C, false }, { 0x80, false }, { 0x81, true }, { 0x9F, true },
        { 0xA0, false }, { 0xDF, false }, { 0xE0, true }, { 0xFC, true }, { 0xFD, false },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.lead, IsSjisLeadByte(r.byte)) << "byte " << std::hex << (int)r.byte;
}

// Characters whose trail byte lies in the lead range (字 8E 9A, 亜 88 9F,
// ゑ 82 EF) and ones whose trail does not (あ 82 A0, 表 95 5C).
static const char Ji[] = "\x8E\x9A";  // 字
static const char Ai[] = "\x88\x9F";  // 亜
static const char We[] = "\x82\xEF";  // ゑ

static std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; i++)
        out += s;
    return out;
}

TEST(ByteString, CutsKeepWholeCharacters) {
    struct { std::string src; size_t size; std::string copied; } rows[] = {
        { std::string(Ji) + " x", 3, Ji },
        { std::string(Ji) + " x", 4, std::string(Ji) + " " },
        { std::string(Ji) + Ji, 4, Ji },
        { std::string(Ai) + "1", 3, Ai },
        { std::string(We) + "1", 3, We },
        { std::string(A) + "1", 3, A },
        { std::string(Hyou) + "1", 3, Hyou },
        { "a" + std::string(Ji) + "bc", 4, "a" + std::string(Ji) },
        { "a" + std::string(Ji) + "bc", 3, "a" },
        { Repeat(Ji, 64) + "1", 129, Repeat(Ji, 64) },
        { Repeat(Ai, 70), 129, Repeat(Ai, 64) },
        { "ab\x81\x20zz", 4, "ab" },   // a stray lead byte is not kept last
        { "ab\x81", 8, "ab\x81" },     // but a whole text is copied as it is
        { "x", 1, "" },
    };
    for (auto& r : rows) {
        char buf[256];
        memset(buf, 0x7F, sizeof(buf));
        bool whole = CopyText(buf, r.size, r.src.c_str());
        EXPECT_EQ(r.copied, buf) << "copy of " << r.src << " into " << r.size;
        EXPECT_EQ(whole, r.copied == r.src) << r.src;
        EXPECT_EQ(0x7F, buf[r.size]) << "wrote past the buffer";
        FormatText(buf, r.size, "%s", r.src.c_str());
        EXPECT_EQ(r.copied, buf) << "format of " << r.src << " into " << r.size;
    }
}

// A mixed text cut at every size: the result is always the longest run of
// whole characters that fits, for copying, appending and formatting alike.
TEST(ByteString, CutAtEveryPositionOfAMixedText) {
    const std::string chars[] = { "a", Ji, " ", Ai, "1", Hyou, We, "\xB1", A, So, ",", Ji, "z" };
    std::string text;
    for (auto& c : chars)
        text += c;
    for (size_t size = 1; size <= text.size() + 1; size++) {
        std::string expected;
        for (auto& c : chars)
            if (expected.size() + c.size() < size)
                expected += c;
            else
                break;
        char buf[64];
        CopyText(buf, size, text.c_str());
        EXPECT_EQ(expected, buf) << "copy into " << size;
        FormatText(buf, size, "%s", text.c_str());
        EXPECT_EQ(expected, buf) << "format into " << size;
        buf[0] = '\0';
        AppendText(buf, size, text.c_str());
        EXPECT_EQ(expected, buf) << "append into " << size;
    }
}

TEST(ByteString, CopyIntoOneByteBufferGivesEmptyText) {
    char buf[1];
    EXPECT_FALSE(CopyText(buf, countof(buf), "x"));
    EXPECT_STREQ("", buf);
}

TEST(ByteString, CopyTextNStopsAtLength) {
    char buf[16];
    EXPECT_TRUE(CopyTextN(buf, countof(buf), "abcdef", 3));
    EXPECT_STREQ("abc", buf);
}

TEST(ByteString, AppendCutsToBuffer) {
    char buf[8] = "abc";
    EXPECT_TRUE(AppendText(buf, countof(buf), "de"));
    EXPECT_STREQ("abcde", buf);
    EXPECT_TRUE(AppendText(buf, countof(buf), A));
    EXPECT_EQ(std::string("abcde") + A, buf);
    // Full: a further character is left out whole.
    char full[8] = "abcdef";
    EXPECT_FALSE(AppendText(full, countof(full), A));
    EXPECT_STREQ("abcdef", full);
}

TEST(ByteString, FormatNumbers) {
    char buf[6];
    EXPECT_TRUE(FormatText(buf, countof(buf), "%d", -1234));
    EXPECT_STREQ("-1234", buf);
    EXPECT_FALSE(FormatText(buf, countof(buf), "%d", 123456));
    EXPECT_STREQ("12345", buf);
}

TEST(ByteString, SearchesStepOverTrailBackslash) {
    std::string path = std::string("C:\\") + Hyou + "\\x" + So + ".jpg";
    const char* p = path.c_str();
    EXPECT_EQ(p + 2, FindCharSjis(p, '\\'));
    EXPECT_EQ(p + 5, FindLastCharSjis(p, '\\'));
    EXPECT_EQ(std::string("x") + So + ".jpg", FileNamePart(p));

    // Only the trail byte of ソ is a 0x5C here: there is no backslash at all.
    std::string name = std::string(So) + So + ".bmp";
    EXPECT_EQ(nullptr, FindCharSjis(name.c_str(), '\\'));
    EXPECT_STREQ(name.c_str(), FileNamePart(name.c_str()));
    EXPECT_EQ(0u, FolderPartLength(name.c_str()));
}

TEST(ByteString, RemoveTrailingBackslash) {
    struct { std::string in, out; } rows[] = {
        { "C:\\cap\\", "C:\\cap" },
        { "C:\\cap\\\\", "C:\\cap\\" },
        { "C:\\cap", "C:\\cap" },
        { std::string("C:\\") + Hyou, std::string("C:\\") + Hyou },
        { std::string("C:\\") + Hyou + "\\", std::string("C:\\") + Hyou },
        { "", "" },
    };
    for (auto& r : rows) {
        char buf[64];
        CopyText(buf, countof(buf), r.in.c_str());
        RemoveTrailingBackslash(buf);
        EXPECT_EQ(r.out, buf) << "input " << r.in;
    }
}

TEST(ByteString, FolderPartLength) {
    EXPECT_EQ(6u, FolderPartLength("C:\\cap\\a.jpg"));
    EXPECT_EQ(2u, FolderPartLength("C:\\a.jpg"));
    EXPECT_EQ(0u, FolderPartLength("a.jpg"));
}

TEST(ByteString, EndsWith) {
    EXPECT_TRUE(EndsWith("a.jpg", ".jpg"));
    EXPECT_FALSE(EndsWith("a.JPG", ".jpg"));
    EXPECT_FALSE(EndsWith("jpg", ".jpg"));
}

TEST(ByteString, DropCutHalfCharacter) {
    // A read that filled 4 bytes; the last row did not fill its buffer.
    struct { std::string read; size_t size; std::string kept; } rows[] = {
        { "ab\x82", 4, "ab" }, { "a\x82\xA0", 4, "a\x82\xA0" }, { "\x8E\x9A\x8E", 4, "\x8E\x9A" }, { "ab\x82", 8, "ab\x82" },
    };
    for (const auto& r : rows) {
        std::string buffer = r.read;
        buffer.resize(r.size, '\0');
        DropCutHalfCharacter(&buffer[0], r.size);
        EXPECT_EQ(r.kept, buffer.c_str()) << r.read;
    }
}
