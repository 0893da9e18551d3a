// Decoding pictures into the preview's block and checking BMP files before
// they are drawn.
#include "imagepreview/PreviewImage.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "tests/imagepreview/TestImages.h"

namespace {

void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++)
        s[at + i] = (char)(v >> (8 * i));
}

void Set16(std::string& s, size_t at, unsigned v) {
    s[at] = (char)v;
    s[at + 1] = (char)(v >> 8);
}

bool Decode(const std::string& bytes, PreviewImage& image) {
    return DecodeThroughFile(bytes, DecodeJpegStream, image);
}

bool Near(unsigned a, unsigned b) {
    return ::Near(a, b, 12);
}

unsigned Grey(int x, int, int width, int) {
    return x < width / 2 ? 0x404040 : 0xC0C0C0;
}

} // namespace

TEST(PreviewImage, LoaderByExactEnding) {
    struct { const char* path; PreviewLoader loader; } rows[] = {
        { "C:\\h\\cap1.jpg", LoaderJpeg },     { "C:\\h\\cap1.bmp", LoaderBmp },
        { "C:\\h\\cap1.JPG", LoaderNone },     { "C:\\h\\cap1.BMP", LoaderNone },
        { "C:\\x.jpg\\y.jpg", LoaderNone },    { "C:\\x.jpg\\y.bmp", LoaderBmp },
        { "C:\\h\\cap1.png", LoaderPng },      { "C:\\h\\cap1.jpg.txt", LoaderNone },
        { "C:\\h\\cap1.PNG", LoaderNone },     { "C:\\x.png\\y.png", LoaderNone },
        { "", LoaderNone },
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.loader, ChooseLoader(r.path)) << r.path;
}

TEST(PreviewImage, JpegBecomesBottomUpBgrRowsWithTheirHeader) {
    PreviewImage image;
    ASSERT_TRUE(Decode(TestJpegBytes(18, 16, 3, Quadrants), image));
    const unsigned char* h = image.Block();
    const unsigned rowLength = 56; // 18 * 3 = 54, padded to 56
    EXPECT_EQ(40u + rowLength * 16, image.Size());
    unsigned char expected[40] = { 40, 0, 0, 0, 18, 0, 0, 0, 16, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0 };
    expected[20] = (unsigned char)(rowLength * 16);
    expected[21] = (unsigned char)((rowLength * 16) >> 8);
    EXPECT_EQ(0, memcmp(expected, h, 40));
    EXPECT_TRUE(Near(0xFF0000, BlockPixel(image, 1, 1))) << std::hex << BlockPixel(image, 1, 1);
    EXPECT_TRUE(Near(0x00FF00, BlockPixel(image, 16, 1))) << std::hex << BlockPixel(image, 16, 1);
    EXPECT_TRUE(Near(0x0000FF, BlockPixel(image, 1, 14))) << std::hex << BlockPixel(image, 1, 14);
    EXPECT_TRUE(Near(0xFFFFFF, BlockPixel(image, 16, 14))) << std::hex << BlockPixel(image, 16, 14);
    for (int row = 0; row < 16; row++) {
        const unsigned char* pad = image.Rows() + row * rowLength + 54;
        EXPECT_EQ(0, pad[0] | pad[1]) << "padding of row " << row;
    }
}

TEST(PreviewImage, GreyJpegShowsGrey) {
    PreviewImage image;
    ASSERT_TRUE(Decode(TestJpegBytes(16, 8, 1, Grey), image));
    EXPECT_TRUE(Near(0x404040, BlockPixel(image, 2, 2))) << std::hex << BlockPixel(image, 2, 2);
    EXPECT_TRUE(Near(0xC0C0C0, BlockPixel(image, 13, 5))) << std::hex << BlockPixel(image, 13, 5);
}

TEST(PreviewImage, DamagedJpegsAreRefusedAndKeepTheOldImage) {
    std::string good = TestJpegBytes(64, 48, 3, Quadrants);
    std::string huge = good;
    size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(std::string::npos, sof);
    // Height and width 60000, big-endian.
    huge[sof + 5] = (char)0xEA;
    huge[sof + 6] = (char)0x60;
    huge[sof + 7] = (char)0xEA;
    huge[sof + 8] = (char)0x60;
    struct { const char* name; std::string bytes; } rows[] = {
        { "empty", "" },
        { "not a JPEG", "hello, world" },
        { "header only", good.substr(0, 200) },
        { "truncated data", good.substr(0, good.size() / 2) },
        { "60000 x 60000", huge },
        { "CMYK", TestJpegBytes(16, 16, 4, Quadrants) },
    };
    for (const auto& r : rows) {
        PreviewImage image;
        ASSERT_TRUE(Decode(good, image));
        const unsigned char* before = image.Block();
        EXPECT_FALSE(Decode(r.bytes, image)) << r.name;
        EXPECT_EQ(before, image.Block()) << r.name;
    }
}

TEST(PreviewImage, JpegBlockSizeLimit) {
    EXPECT_EQ(44u, JpegBlockSize(1, 1));
    EXPECT_EQ(40u + 11520u * 2160u, JpegBlockSize(3840, 2160));
    EXPECT_EQ(0u, JpegBlockSize(65500, 65500));
    EXPECT_EQ(0u, JpegBlockSize(0, 10));
    EXPECT_NE(0u, JpegBlockSize(10000, 10000));
}

TEST(PreviewImage, BmpFileHeaderGivesTheBlockSize) {
    std::string file = TestBmpBytes(3, 2, Quadrants); // 54 + 2 rows of 12 = 78 bytes
    const unsigned char* h = (const unsigned char*)file.data();
    EXPECT_EQ(64u, BmpBlockSize(h, 78));
    EXPECT_EQ(64u, BmpBlockSize(h, 1000)) << "the size field rules when the file is longer";
    EXPECT_EQ(56u, BmpBlockSize(h, 70)) << "never more than the file holds";
    std::string bad = file;
    bad[0] = 'M';
    EXPECT_EQ(0u, BmpBlockSize((const unsigned char*)bad.data(), 78));
    bad = file;
    Set32(bad, 2, 53);
    EXPECT_EQ(0u, BmpBlockSize((const unsigned char*)bad.data(), 78)) << "no room for a header";
    bad = file;
    Set32(bad, 2, 0xFFFFFFF0u);
    EXPECT_EQ(0u, BmpBlockSize((const unsigned char*)bad.data(), 0xFFFFFFF0u)) << "past the limit";
}

namespace {

// The picture DecodeBmpBlock makes of a whole file, as the loader reads it.
bool DecodeBmp(const std::string& file, PreviewImage& image) {
    if (file.size() < 14)
        return false;
    size_t size = file.size() - 14;
    unsigned char* block = (unsigned char*)malloc(size ? size : 1);
    memcpy(block, file.data() + 14, size);
    return DecodeBmpBlock((const unsigned char*)file.data(), block, size, image);
}

} // namespace

TEST(PreviewImage, BmpFilesThatDoNotFitAreRefused) {
    std::string own = TestBmpBytes(3, 2, Quadrants);
    auto with32 = [&](size_t at, uint32_t v) { std::string b = own; Set32(b, at, v); return b; };
    auto with16 = [&](size_t at, unsigned v) { std::string b = own; Set16(b, at, v); return b; };
    std::string twoColours = PaletteEntry(0xFF0000) + PaletteEntry(0x0000FF);
    std::string pixels1 = std::string("\x40\0\0\0", 4) + std::string("\x80\0\0\0", 4);
    std::string masks = Le32(0xF800) + Le32(0x07E0) + Le32(0x001F);
    struct { const char* name; std::string file; bool drawn; } rows[] = {
        { "the program's own 24-bit file", own, true },
        { "top-down rows", with32(22, (uint32_t)-2), true },
        { "a colour count past what 1 bit indexes", HandBmpBytes({ 1, 0, 2, 2, 300, twoColours, pixels1 }), true },
        { "16 bits with fields", HandBmpBytes({ 16, 3, 2, 2, 0, masks, std::string(8, '\0') }), true },
        { "one byte short", own.substr(0, own.size() - 1), false },
        { "shorter than a header", own.substr(0, 14 + 39), false },
        { "header size 12", with32(14, 12), false },
        { "header larger than the block", with32(14, 200), false },
        { "width 0", with32(18, 0), false },
        { "negative width", with32(18, (uint32_t)-3), false },
        { "height 0", with32(22, 0), false },
        { "lowest height", with32(22, 0x80000000u), false },
        { "huge width", with32(18, 0x7FFFFFFF), false },
        { "2 bits per pixel", with16(28, 2), false },
        { "24 bits with fields", with32(30, 3), false },
        { "RLE compression", with32(30, 1), false },
        { "JPEG compression", with32(30, 4), false },
        { "pixels inside the header", with32(10, 14 + 39), false },
        { "pixels past the end", with32(10, (uint32_t)own.size()), false },
        { "no room for a colour table", HandBmpBytes({ 8, 0, 2, 2, 0, "", std::string(8, '\0') }), false },
        { "fields without room for masks", HandBmpBytes({ 16, 3, 2, 2, 0, "", std::string(8, '\0') }), false },
        { "a mask with a hole", HandBmpBytes({ 16, 3, 2, 2, 0, Le32(0xF00F) + Le32(0x07E0) + Le32(0),
                                               std::string(8, '\0') }), false },
        { "a mask wider than the pixel", HandBmpBytes({ 16, 3, 2, 2, 0, Le32(0x1F0000) + Le32(0x07E0) + Le32(0x1F),
                                                        std::string(8, '\0') }), false },
    };
    for (const auto& r : rows) {
        PreviewImage image;
        ASSERT_TRUE(DecodeBmp(own, image));
        const unsigned char* before = image.Block();
        EXPECT_EQ(r.drawn, DecodeBmp(r.file, image)) << r.name;
        if (!r.drawn) {
            EXPECT_EQ(before, image.Block()) << r.name;
        }
    }
}
