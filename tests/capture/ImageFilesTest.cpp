// Image file naming, numbering and the three writers, on real files.
#include "capture/ImageFiles.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include <jpeglib.h>

#include "base/ByteString.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

namespace {

class ImageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureState(dir.Path());
    }
    void TearDown() override {
        ResetCaptureContext(gCapture);
        SetJpegStreamHook(NULL);
        SetCaptureShellLink({ NULL, NULL, NULL, NULL, NULL });
    }

    // A grabbed image of the given size showing the pattern, as a window
    // capture kept on black (so its size is its rectangle's).
    // By default a device bitmap; `asGrabbed` gives the grab's own kind.
    void GrabPattern(int width, int height, COLORREF (*colour)(int, int) = PatternColor, bool asGrabbed = false) {
        gSettings.keepOffscreen = 1;
        HDC screen = GetDC(NULL);
        HBITMAP bmp = asGrabbed ? CreateImageBitmap(screen, width, height) : CreateCompatibleBitmap(screen, width, height);
        BITMAPINFO bi = TopDown32(width, height);
        std::vector<uint32_t> px = Pixels(width, height, colour);
        SetDIBits(screen, bmp, 0, (UINT)height, px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(NULL, screen);
        ReplaceCaptureBitmap(gCapture, bmp);
        SetRect(&gCapture.captureRect, 100, 100, 100 + width, 100 + height);
        gCapture.captureKind = CaptureKindWindow;
    }

    std::string Path(const char* name) { return dir.File(name); }

    TempDir dir;
    MessageBoxRecorder boxes;
};

// Pixel bytes of a BMP row: blue, green, red per pixel, zero padding.
std::string BmpRows(int width, int height) {
    std::string rows;
    for (int y = height - 1; y >= 0; y--) {
        std::string row;
        for (int x = 0; x < width; x++) {
            COLORREF c = PatternColor(x, y);
            row += (char)GetBValue(c);
            row += (char)GetGValue(c);
            row += (char)GetRValue(c);
        }
        while (row.size() % 4)
            row += '\0';
        rows += row;
    }
    return rows;
}

// A smooth picture, like most screen content between edges.
COLORREF SmoothColor(int x, int y) {
    return RGB(40 + x * 2, 30 + y * 3, 200 - x - y);
}

// What libjpeg itself writes for the pixels with the writer's settings:
// quality as given with baseline tables, the fast integer DCT.
std::string LibjpegBytes(const std::string& path, int width, int height, int quality) {
    std::vector<uint32_t> px = Pixels(width, height, SmoothColor);
    FILE* f = fopen(path.c_str(), "wb");
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_IFAST;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row((size_t)width * 3);
    for (int y = 0; y < height; y++) {
        for (int i = 0; i < width * 3; i++)
            row[i] = (unsigned char)(px[y * width + i / 3] >> (16 - 8 * (i % 3)));
        JSAMPROW rows[1] = { row.data() };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(f);
    return ReadFileBytes(path);
}

int gSheetOpened;
void CountSheetOpening(HWND) {
    gSheetOpened++;
}

FILE* OpenReadOnlyStream(const char* path) {
    // Writes to a stream opened for reading fail, as on a full disk.
    return fopen(path, "rb");
}

} // namespace

// --- naming and numbering ----------------------------------------------------

TEST_F(ImageFilesTest, FileNamesFromFolderPrefixAndNumber) {
    struct {
        const char* folder;
        int pad, jpeg;
        const char* prefix;
        int number;
        const char* path;
    } rows[] = {
        { "C:\\cap\\", 0, 1, "a", 7, "C:\\cap\\a7.jpg" },
        { "C:\\cap\\", 1, 1, "a", 7, "C:\\cap\\a000007.jpg" },
        { "C:\\cap\\", 0, 0, "a", 7, "C:\\cap\\a7.bmp" },
        { "C:\\cap", 0, 0, "a", 7, "C:\\cap\\a7.bmp" },
        { "C:\\cap", 1, 2, "a", 7, "C:\\cap\\a000007.png" },
        { "C:\\cap\\\\", 0, 1, "a", 7, "C:\\cap\\\\a7.jpg" },
        { "C:\\cap", 2, 1, "AAA", 8, "C:\\cap\\AAA8.jpg" },
        { "C:\\cap", 0, 1, "", 8, "C:\\cap\\8.jpg" },
        { "C:\\表", 0, 1, "ソ", 3, "C:\\表\\ソ3.jpg" },
        { "C:\\表\\", 0, 1, "a", 3, "C:\\表\\a3.jpg" },
    };
    for (auto& r : rows) {
        CopyText(gSettings.imageFolder, countof(gSettings.imageFolder), r.folder);
        gSettings.zeroPadNumber = r.pad;
        gCapture.imageFormat = ImageFormatOf(r.jpeg);
        CopyText(gCapture.filePrefix, countof(gCapture.filePrefix), r.prefix);
        gCapture.nextNumber = r.number;
        EXPECT_STREQ(r.path, NextImageFilePath(gCapture)) << r.folder;
        EXPECT_STREQ(r.path, gCapture.imageFilePath);
    }
}

TEST_F(ImageFilesTest, HistoryFolderModeWritesBesideTheHistoryFile) {
    BindHistoryFile(gHistory, "D:\\hist\\h.csv", "h.csv");
    gSettings.imageFolderMode = 1;
    gCapture.nextNumber = 4;
    EXPECT_STREQ("D:\\hist\\a4.bmp", NextImageFilePath(gCapture));
    EXPECT_STREQ("D:\\hist", gCapture.saveFolder);
    gSettings.imageFolderMode = 2;
    EXPECT_EQ(dir.Path() + "\\a4.bmp", NextImageFilePath(gCapture));
}

// Numbers past the maximum wrap to zero; a negative maximum keeps writing 0.
TEST_F(ImageFilesTest, NumbersWrapToZeroPastTheMaximum) {
    struct { int max, number; const char* name; int next; } rows[] = {
        { 5, 6, "\\a0.bmp", 1 }, // one ahead after a declined overwrite of file 5
        { 5, 5, "\\a5.bmp", 6 },
        { -1, 3, "\\a0.bmp", 0 },
        { -1, 0, "\\a0.bmp", 0 },
    };
    for (const auto& r : rows) {
        gSettings.maxImageNumber = r.max;
        gCapture.nextNumber = r.number;
        EXPECT_EQ(dir.Path() + r.name, NextImageFilePath(gCapture)) << r.number;
        AdvanceImageNumber(gCapture);
        EXPECT_EQ(r.next, gCapture.nextNumber) << r.number;
    }
}

TEST_F(ImageFilesTest, PathThatDoesNotFitIsLeftEmpty) {
    CopyText(gSettings.imageFolder, countof(gSettings.imageFolder), std::string(255, 'f').c_str());
    EXPECT_STREQ("", NextImageFilePath(gCapture));
}

TEST_F(ImageFilesTest, ExhaustedNumbersRefuseAndOpenTheSettings) {
    SetCaptureShellLink({ NULL, NULL, NULL, CountSheetOpening, NULL });
    gSheetOpened = 0;
    gSettings.maxImageNumber = 5;
    gSettings.nextImageNumber = 5;
    EXPECT_TRUE(CheckImageNumberLeft((HWND)0x42));
    EXPECT_TRUE(boxes.messages.empty());
    gSettings.nextImageNumber = 6;
    EXPECT_FALSE(CheckImageNumberLeft((HWND)0x42));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("開始番号が最大番号を超えています", boxes.messages[0].text);
    EXPECT_EQ("ファイル番号設定エラー", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_EQ((HWND)0x42, boxes.messages[0].owner);
    EXPECT_EQ(1, gSheetOpened);
}

// --- BMP writer ----------------------------------------------------------------

// 1 x 2: rows of 3 pixel bytes and 1 of padding; 4 x 3: rows of 12 bytes.
TEST_F(ImageFilesTest, BmpIsByteExact) {
    struct { int width, height; unsigned char fileSize, imageSize; } rows[] = { { 1, 2, 62, 8 }, { 4, 3, 90, 36 } };
    for (const auto& r : rows) {
        GrabPattern(r.width, r.height);
        ASSERT_EQ(0, WriteBmpFile(gCapture, NULL, Path("w.bmp").c_str()));
        const unsigned char header[54] = {
            'B', 'M', r.fileSize, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, (unsigned char)r.width, 0, 0, 0,
            (unsigned char)r.height, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, r.imageSize, 0, 0, 0,
        };
        EXPECT_EQ(std::string((const char*)header, 54) + BmpRows(r.width, r.height), ReadFileBytes(Path("w.bmp")));
    }
    EXPECT_TRUE(boxes.messages.empty());
}

// The grab's DIB section is written as it is; a device bitmap goes through
// GetDIBits.  Both give the same bytes, and writing never alters the image.
TEST_F(ImageFilesTest, GrabbedSectionAndDeviceBitmapGiveTheSameFiles) {
    struct { const char* name; int (*write)(CaptureContext&, HWND, const char*); } writers[] = {
        { "BMP", WriteBmpFile }, { "JPEG", WriteJpegFile }, { "PNG", WritePngFile },
    };
    for (const auto& w : writers) {
        GrabPattern(37, 21, SmoothColor, false);
        ASSERT_EQ(0, w.write(gCapture, NULL, Path("device").c_str()));
        GrabPattern(37, 21, SmoothColor, true);
        ASSERT_EQ(0, w.write(gCapture, NULL, Path("section").c_str()));
        ASSERT_EQ(0, w.write(gCapture, NULL, Path("again").c_str()));
        std::string device = ReadFileBytes(Path("device"));
        EXPECT_FALSE(device.empty());
        EXPECT_EQ(device, ReadFileBytes(Path("section"))) << w.name;
        EXPECT_EQ(device, ReadFileBytes(Path("again"))) << w.name;
    }
}

TEST_F(ImageFilesTest, OverwriteQuestionCancelLeavesTheOldFile) {
    std::string old = "old contents that must survive";
    ASSERT_TRUE(WriteFileBytes(Path("a1.bmp"), old));
    GrabPattern(8, 8);
    gCapture.confirmOverwrite = 1;
    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(-1, WriteBmpFile(gCapture, (HWND)0x77, Path("a1.bmp").c_str()));
    EXPECT_EQ(old, ReadFileBytes(Path("a1.bmp")));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("同じ名前のファイルがあります。上書きしますか？", boxes.messages[0].text);
    EXPECT_EQ(Path("a1.bmp"), boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_EQ((HWND)0x77, boxes.messages[0].owner);

    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(-1, WriteJpegFile(gCapture, NULL, Path("a1.bmp").c_str()));
    EXPECT_EQ(old, ReadFileBytes(Path("a1.bmp")));
}

// A larger old file is replaced whole, after the question when it is on.
TEST_F(ImageFilesTest, OverwriteLeavesNothingOfTheOldBytes) {
    struct { const char* name; int (*write)(CaptureContext&, HWND, const char*); int confirm; } rows[] = {
        { "BMP, asked", WriteBmpFile, 1 }, { "BMP", WriteBmpFile, 0 }, { "JPEG", WriteJpegFile, 0 },
    };
    GrabPattern(16, 16);
    for (const auto& r : rows) {
        gCapture.confirmOverwrite = 0;
        ASSERT_EQ(0, r.write(gCapture, NULL, Path("fresh").c_str()));
        ASSERT_TRUE(WriteFileBytes(Path("a1"), std::string(100000, 'x')));
        gCapture.confirmOverwrite = r.confirm;
        boxes.messages.clear();
        EXPECT_EQ(0, r.write(gCapture, NULL, Path("a1").c_str())) << r.name;
        EXPECT_TRUE(ReadFileBytes(Path("fresh")) == ReadFileBytes(Path("a1"))) << r.name;
        EXPECT_EQ((size_t)r.confirm, boxes.messages.size()) << r.name;
    }
}

TEST_F(ImageFilesTest, NoBitmapIsReported) {
    struct { const char* name; int (*write)(CaptureContext&, HWND, const char*); } writers[] = {
        { "bmp", WriteBmpFile }, { "jpeg", WriteJpegFile },
    };
    for (auto& w : writers) {
        boxes.messages.clear();
        EXPECT_EQ(-1, w.write(gCapture, NULL, Path("none.bmp").c_str())) << w.name;
        EXPECT_FALSE(PathExists(Path("none.bmp")));
        ASSERT_EQ(1u, boxes.messages.size());
        EXPECT_EQ("スクリーンキャプチャが行われていません", boxes.messages[0].text);
        EXPECT_EQ("S00011 <SYSTEM ERROR>", boxes.messages[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
    }
}

TEST_F(ImageFilesTest, FileThatCannotBeOpenedIsReported) {
    GrabPattern(4, 3);
    EXPECT_EQ(-1, WriteBmpFile(gCapture, NULL, Path("missing\\a.bmp").c_str()));
    EXPECT_EQ(-1, WriteJpegFile(gCapture, NULL, Path("missing\\a.jpg").c_str()));
    ASSERT_EQ(2u, boxes.messages.size());
    for (auto& m : boxes.messages) {
        EXPECT_EQ("ファイルのオープンに失敗しました", m.text);
        EXPECT_EQ("S00011 <SYSTEM ERROR>", m.caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), m.flags);
    }
}

TEST_F(ImageFilesTest, FullDiskFailsTheFileAndRemovesIt) {
    struct { const char* name; int (*write)(CaptureContext&, HWND, const char*); } writers[] = {
        { "full.bmp", WriteBmpFile }, { "full.png", WritePngFile },
    };
    GrabPattern(64, 64);
    for (const auto& w : writers) {
        boxes.messages.clear();
        {
            DiskFullAfter full(100);
            EXPECT_EQ(-1, w.write(gCapture, NULL, Path(w.name).c_str())) << w.name;
        }
        EXPECT_FALSE(PathExists(Path(w.name))) << w.name;
        ASSERT_EQ(1u, boxes.messages.size()) << w.name;
        EXPECT_EQ("画像ファイルの書き込みに失敗しました\r\n" + Path(w.name), boxes.messages[0].text);
        EXPECT_EQ("S00011 <SYSTEM ERROR>", boxes.messages[0].caption);
        EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), boxes.messages[0].flags);
    }
}

// --- JPEG writer ---------------------------------------------------------------

// The writer's bytes are libjpeg's own with the required settings, at any
// quality.
TEST_F(ImageFilesTest, JpegIsExactlyLibjpegWithTheRequiredSettings) {
    GrabPattern(37, 21, SmoothColor);
    for (int quality : { 0, 75, 100 }) {
        gCapture.jpegQuality = quality;
        ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("w.jpg").c_str()));
        EXPECT_TRUE(LibjpegBytes(Path("expected.jpg"), 37, 21, quality) == ReadFileBytes(Path("w.jpg"))) << quality;
    }
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(ImageFilesTest, FailingJpegWriteLeavesNoFileAndSaysSo) {
    GrabPattern(256, 256);
    gCapture.jpegQuality = 100;
    SetJpegStreamHook(OpenReadOnlyStream);
    EXPECT_EQ(-1, WriteJpegFile(gCapture, NULL, Path("bad.jpg").c_str()));
    EXPECT_FALSE(PathExists(Path("bad.jpg")));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("画像ファイルの書き込みに失敗しました\r\n" + Path("bad.jpg"), boxes.messages[0].text);
    EXPECT_EQ("S00011 <SYSTEM ERROR>", boxes.messages[0].caption);
}
