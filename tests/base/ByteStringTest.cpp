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

TEST(ByteString, CopyFitsOrCutsOnCharacterBoundary) {
    char buf[6];
    EXPECT_TRUE(CopyText(buf, countof(buf), "abcde"));
    EXPECT_STREQ("abcde", buf);

    EXPECT_FALSE(CopyText(buf, countof(buf), "abcdef"));
    EXPECT_STREQ("abcde", buf);

    // "a" + あ + あ + あ: 7 bytes; 5 fit as "a" + あ + あ.
    std::string text = std::string("a") + A + A + A;
    EXPECT_FALSE(CopyText(buf, countof(buf), text.c_str()));
    EXPECT_EQ(std::string("a") + A + A, buf);

    // あ あ あ: 6 bytes; only two characters fit in 5, never a lone lead byte.
    text = std::string(A) + A + A;
    EXPECT_FALSE(CopyText(buf, countof(buf), text.c_str()));
    EXPECT_EQ(std::string(A) + A, buf);
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

TEST(ByteString, CutNeverEndsInStrayLeadByte) {
    // "ab" followed by a lead byte and a byte that cannot be its trail.
    char buf[4];
    EXPECT_FALSE(CopyText(buf, countof(buf), "ab\x81\x20zz"));
    EXPECT_STREQ("ab", buf);
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

TEST(ByteString, FormatCutsOnCharacterBoundary) {
    char buf[6];
    EXPECT_TRUE(FormatText(buf, countof(buf), "%d", -1234));
    EXPECT_STREQ("-1234", buf);
    EXPECT_FALSE(FormatText(buf, countof(buf), "x%s", (std::string(A) + A + A).c_str()));
    EXPECT_EQ(std::string("x") + A + A, buf);
    EXPECT_FALSE(FormatText(buf, countof(buf), "%s", (std::string(A) + A + A).c_str()));
    EXPECT_EQ(std::string(A) + A, buf);
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
