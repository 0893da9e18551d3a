// PNG files decoded into the preview's block: every colour type and depth,
// transparency over white, and damaged, cut or oversized files refused.
#include "imagepreview/PreviewPng.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include <zlib.h>

#include "capture/PngEncoder.h"
#include "tests/imagepreview/TestImages.h"

namespace {

bool Decode(const std::string& bytes, PreviewImage& image) {
    return DecodeThroughFile(bytes, DecodePngStream, image);
}

} // namespace

// The quadrants red, green, blue, white in each kind, read back at the
// quadrants' centres.  Grey takes the red byte; alpha lies over white.
TEST(PreviewPng, EveryKindIsDrawnAsItsColours) {
    const unsigned Rgb[4] = { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF };
    const unsigned Grey[4] = { 0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF };
    // Blue at alpha 128 over white: red and green (255 * 127) / 255.
    const unsigned RgbOverWhite[4] = { 0xFF0000, 0xFFFFFF, 0x7F7FFF, 0xFFFFFF };
    const unsigned GreyOverWhite[4] = { 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0xFFFFFF };
    struct {
        const char* name;
        int colorType, depth;
        bool interlaced, alpha;
        const unsigned* expected;
    } kinds[] = {
        { "rgb 8", 2, 8, false, false, Rgb },
        { "rgb 16", 2, 16, false, false, Rgb },
        { "rgb 8 interlaced", 2, 8, true, false, Rgb },
        { "palette 8", 3, 8, false, false, Rgb },
        { "palette 2", 3, 2, false, false, Rgb },
        { "grey 1", 0, 1, false, false, Grey },
        { "grey 4", 0, 4, false, false, Grey },
        { "grey 16", 0, 16, false, false, Grey },
        { "rgba 8", 6, 8, false, true, RgbOverWhite },
        { "rgba 16 interlaced", 6, 16, true, true, RgbOverWhite },
        { "grey alpha 8", 4, 8, false, true, GreyOverWhite },
        { "palette with transparency", 3, 8, false, true, RgbOverWhite },
    };
    const int width = 21, height = 13; // odd sizes: partial bytes, padded rows, short interlace passes
    for (const auto& k : kinds) {
        std::string png = TestPngBytes(width, height, k.colorType, k.depth, k.interlaced, Quadrants,
                                       k.alpha ? AlphaQuadrants : nullptr);
        ASSERT_FALSE(png.empty()) << k.name;
        PreviewImage image;
        ASSERT_TRUE(Decode(png, image)) << k.name;
        ASSERT_EQ(width, image.Width()) << k.name;
        ASSERT_EQ(height, image.Height()) << k.name;
        EXPECT_EQ(k.alpha ? 32 : 24, image.Block()[14]) << k.name;
        int points[4][2] = { { 2, 2 }, { width - 3, 2 }, { 2, height - 3 }, { width - 3, height - 3 } };
        for (int q = 0; q < 4; q++)
            EXPECT_EQ(k.expected[q], BlockPixel(image, points[q][0], points[q][1]))
                << k.name << " quadrant " << q << std::hex << " got " << BlockPixel(image, points[q][0], points[q][1]);
    }
}

// What the capture's writer encodes comes back as the very rows it was
// given, padding included.
TEST(PreviewPng, CapturedRowsComeBackExactly) {
    const int width = 37, height = 19;
    const size_t stride = 112; // 37 * 3 = 111, padded
    std::string rows(stride * height, '\0');
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width * 3; x++)
            rows[y * stride + x] = (char)((x * 37 + y * 11) & 0xFF);
    PngBytes png = EncodePng((const unsigned char*)rows.data(), width, height, stride);
    ASSERT_TRUE(png.data != NULL);
    std::string file((const char*)png.data, png.size);
    free(png.data);
    PreviewImage image;
    ASSERT_TRUE(Decode(file, image));
    EXPECT_EQ(24, image.Block()[14]);
    EXPECT_TRUE(rows == std::string((const char*)image.Rows(), image.Size() - 40));
}

// A damaged file never replaces the picture already held.
TEST(PreviewPng, DamagedFilesAreRefused) {
    std::string good = TestPngBytes(64, 48, 2, 8, false, Quadrants);
    size_t idat = good.find("IDAT");
    std::string badCrc = good;
    badCrc[idat + 10] ^= 0x55;
    std::string huge = good; // IHDR claims 30000 x 30000, far past the block limit, with its checksum
    huge.replace(16, 8, std::string("\x00\x00\x75\x30\x00\x00\x75\x30", 8));
    uLong crc = crc32(0, (const Bytef*)huge.data() + 12, 17);
    for (int i = 0; i < 4; i++)
        huge[29 + i] = (char)(crc >> (24 - 8 * i));
    struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        { "signature only", good.substr(0, 8) },
        { "cut in the header", good.substr(0, 20) },
        { "cut in the pixels", good.substr(0, idat + 30) },
        { "cut before the end", good.substr(0, good.size() - 12) },
        { "damaged pixels", badCrc },
        { "too large", huge },
        { "not a picture", "not a picture at all" },
    };
    for (const auto& c : cases) {
        PreviewImage image;
        ASSERT_TRUE(Decode(TestPngBytes(4, 4, 2, 8, false, Quadrants), image));
        const unsigned char* held = image.Block();
        EXPECT_FALSE(Decode(c.bytes, image)) << c.name;
        EXPECT_EQ(held, image.Block()) << c.name;
    }
    EXPECT_EQ(0u, PngBlockSize(30000, 30000, false));
    EXPECT_EQ(0u, PngBlockSize(16384, 8193, true));
    EXPECT_EQ(40u + 16384u * 4 * 8191, PngBlockSize(16384, 8191, true));
}
