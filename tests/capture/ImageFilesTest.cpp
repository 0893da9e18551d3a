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

COLORREF Orange(int, int) {
    return RGB(230, 120, 20);
}

Image Expected(int width, int height, COLORREF (*colour)(int, int)) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels = Pixels(width, height, colour);
    return img;
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

TEST_F(ImageFilesTest, NumbersWrapToZeroPastTheMaximum) {
    gSettings.maxImageNumber = 5;
    gCapture.nextNumber = 6; // one ahead after a declined overwrite of file 5
    EXPECT_EQ(dir.Path() + "\\a0.bmp", NextImageFilePath(gCapture));
    AdvanceImageNumber(gCapture);
    EXPECT_EQ(1, gCapture.nextNumber);

    gCapture.nextNumber = 5;
    EXPECT_EQ(dir.Path() + "\\a5.bmp", NextImageFilePath(gCapture));
    AdvanceImageNumber(gCapture);
    EXPECT_EQ(6, gCapture.nextNumber);
}

TEST_F(ImageFilesTest, NegativeMaximumKeepsWritingNumberZero) {
    gSettings.maxImageNumber = -1;
    gCapture.nextNumber = 3;
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(dir.Path() + "\\a0.bmp", NextImageFilePath(gCapture));
        AdvanceImageNumber(gCapture);
        EXPECT_EQ(0, gCapture.nextNumber);
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

TEST_F(ImageFilesTest, BmpOfWidthOneIsByteExact) {
    GrabPattern(1, 2);
    ASSERT_EQ(0, WriteBmpFile(gCapture, NULL, Path("w1.bmp").c_str()));
    const unsigned char header[54] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,
        0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    std::string expected((const char*)header, 54);
    expected += BmpRows(1, 2);
    EXPECT_EQ(62u, expected.size());
    EXPECT_EQ(expected, ReadFileBytes(Path("w1.bmp")));
    EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(ImageFilesTest, BmpOfWidthFourIsByteExact) {
    GrabPattern(4, 3);
    ASSERT_EQ(0, WriteBmpFile(gCapture, NULL, Path("w4.bmp").c_str()));
    const unsigned char header[54] = {
        'B', 'M', 90, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,
        0, 36, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(std::string((const char*)header, 54) + BmpRows(4, 3), ReadFileBytes(Path("w4.bmp")));
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

TEST_F(ImageFilesTest, OverwriteLeavesNothingOfTheOldBytes) {
    ASSERT_TRUE(WriteFileBytes(Path("a1.bmp"), std::string(5000, 'x')));
    GrabPattern(4, 3);
    gCapture.confirmOverwrite = 1;
    boxes.QueueAnswer(IDOK);
    EXPECT_EQ(0, WriteBmpFile(gCapture, NULL, Path("a1.bmp").c_str()));
    EXPECT_EQ(90u, ReadFileBytes(Path("a1.bmp")).size());
    EXPECT_EQ(1u, boxes.messages.size());
}

TEST_F(ImageFilesTest, NoQuestionWhenConfirmationIsOff) {
    ASSERT_TRUE(WriteFileBytes(Path("a1.bmp"), std::string(5000, 'x')));
    GrabPattern(4, 3);
    gCapture.confirmOverwrite = 0;
    EXPECT_EQ(0, WriteBmpFile(gCapture, NULL, Path("a1.bmp").c_str()));
    EXPECT_EQ(90u, ReadFileBytes(Path("a1.bmp")).size());
    EXPECT_TRUE(boxes.messages.empty());
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

TEST_F(ImageFilesTest, JpegDecodesCloseToTheImage) {
    GrabPattern(64, 48, SmoothColor);
    gCapture.jpegQuality = 90;
    ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("q90.jpg").c_str()));
    Image decoded = ReadJpegFile(Path("q90.jpg"));
    ASSERT_EQ(64, decoded.width);
    ASSERT_EQ(48, decoded.height);
    EXPECT_GE(Psnr(decoded, Expected(64, 48, SmoothColor)), 30.0);
    EXPECT_TRUE(boxes.messages.empty());
}

// The writer's bytes are libjpeg's own for the required settings: quality
// as given with baseline tables, the fast integer DCT, all tables written.
TEST_F(ImageFilesTest, JpegIsExactlyLibjpegWithTheRequiredSettings) {
    GrabPattern(37, 21, SmoothColor);
    gCapture.jpegQuality = 75;
    ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("w.jpg").c_str()));
    std::vector<uint32_t> px = Pixels(37, 21, SmoothColor);
    FILE* f = fopen(Path("expected.jpg").c_str(), "wb");
    ASSERT_TRUE(f != NULL);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    cinfo.image_width = 37;
    cinfo.image_height = 21;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    jpeg_set_quality(&cinfo, 75, TRUE);
    cinfo.dct_method = JDCT_IFAST;
    jpeg_start_compress(&cinfo, TRUE);
    unsigned char row[37 * 3];
    for (int y = 0; y < 21; y++) {
        for (int x = 0; x < 37; x++)
            for (int c = 0; c < 3; c++)
                row[x * 3 + c] = (unsigned char)(px[y * 37 + x] >> (16 - 8 * c));
        JSAMPROW rows[1] = { row };
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    fclose(f);
    EXPECT_TRUE(ReadFileBytes(Path("expected.jpg")) == ReadFileBytes(Path("w.jpg")));
}

TEST_F(ImageFilesTest, JpegKeepsRedGreenAndBlueApart) {
    GrabPattern(32, 16, Orange);
    gCapture.jpegQuality = 90;
    ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("orange.jpg").c_str()));
    Image decoded = ReadJpegFile(Path("orange.jpg"));
    ASSERT_EQ(32, decoded.width);
    uint32_t px = decoded.At(16, 8);
    EXPECT_NEAR(230, (int)(px >> 16), 4);
    EXPECT_NEAR(120, (int)((px >> 8) & 255), 4);
    EXPECT_NEAR(20, (int)(px & 255), 4);
    EXPECT_GE(Psnr(decoded, Expected(32, 16, Orange)), 40.0);
}

TEST_F(ImageFilesTest, JpegIsBaselineJfif) {
    GrabPattern(16, 16);
    gCapture.jpegQuality = 75;
    ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("b.jpg").c_str()));
    std::string bytes = ReadFileBytes(Path("b.jpg"));
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ("\xFF\xD8\xFF\xE0", bytes.substr(0, 4));
    EXPECT_EQ("JFIF", bytes.substr(6, 4));
    EXPECT_NE(std::string::npos, bytes.find("\xFF\xC0")) << "baseline frame";
    EXPECT_EQ(std::string::npos, bytes.find("\xFF\xC2")) << "no progressive frame";
    EXPECT_EQ("\xFF\xD9", bytes.substr(bytes.size() - 2));
}

TEST_F(ImageFilesTest, QualityIsPassedUnchanged) {
    GrabPattern(64, 48);
    size_t sizes[3];
    int qualities[3] = { 0, 50, 100 };
    for (int i = 0; i < 3; i++) {
        gCapture.jpegQuality = qualities[i];
        std::string path = Path("q.jpg");
        ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, path.c_str()));
        sizes[i] = ReadFileBytes(path).size();
        EXPECT_EQ(64, ReadJpegFile(path).width) << "quality " << qualities[i];
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_LT(sizes[1], sizes[2]);
}

TEST_F(ImageFilesTest, JpegReplacesALargerOldFile) {
    ASSERT_TRUE(WriteFileBytes(Path("a.jpg"), std::string(100000, 'x')));
    GrabPattern(16, 16);
    gCapture.jpegQuality = 75;
    ASSERT_EQ(0, WriteJpegFile(gCapture, NULL, Path("a.jpg").c_str()));
    std::string bytes = ReadFileBytes(Path("a.jpg"));
    EXPECT_LT(bytes.size(), 5000u);
    EXPECT_EQ("\xFF\xD9", bytes.substr(bytes.size() - 2));
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
