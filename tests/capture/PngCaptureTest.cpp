// PNG captures and the clipboard on a 1024 x 768 display under Wine: the
// file holds the screen exactly, read by libpng itself and by the preview,
// and the clipboard gets the capture only when the setting asks for it.
#include "capture/ScreenCapture.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <thread>

#include <png.h>

#include "capture/ImageFiles.h"
#include "imagepreview/PreviewPng.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

namespace {

const int ScreenWidth = 1024, ScreenHeight = 768;

class PngCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureState(dir.Path());
        SetCursorPos(ScreenWidth - 1, ScreenHeight - 1);
        window.BringToFront();
    }
    void TearDown() override {
        ResetCaptureContext(gCapture);
        gSettings.copyToClipboard = 0;
    }
    std::string CaptureAs(ImageFormat format) {
        gCapture.imageFormat = format;
        EXPECT_EQ(CaptureKindScreen, CaptureImage(gCapture, NULL, WholeScreen));
        return gCapture.imageFilePath;
    }

    PatternWindow window{ 0, 0, ScreenWidth, ScreenHeight };
    TempDir dir;
    MessageBoxRecorder boxes;
};

// The file decoded by libpng to 0x00RRGGBB pixels, top row first.
Image ReadPngWithLibrary(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    Image img;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        return img;
    png.format = PNG_FORMAT_BGRA;
    img.pixels.resize((size_t)png.width * png.height);
    if (!png_image_finish_read(&png, NULL, img.pixels.data(), 0, NULL))
        return Image();
    for (auto& px : img.pixels)
        px &= 0xFFFFFF;
    img.width = (int)png.width;
    img.height = (int)png.height;
    return img;
}

std::string ClipboardData(UINT format) {
    std::string data;
    HANDLE h = GetClipboardData(format);
    const char* p = h ? (const char*)GlobalLock(h) : NULL;
    if (p) {
        data.assign(p, GlobalSize(h));
        GlobalUnlock(h);
    }
    return data;
}

void PutTextOnClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(NULL));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    memcpy(GlobalLock(h), text, strlen(text) + 1);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

} // namespace

TEST_F(PngCaptureTest, PngHoldsTheScreenExactlyAndIsFarSmallerThanTheBmp) {
    std::string png = CaptureAs(ImagePng);
    EXPECT_EQ(dir.File("a1.png"), png);
    Image screen = ScreenImage(0, 0, ScreenWidth, ScreenHeight);
    Image byLibrary = ReadPngWithLibrary(png);
    ASSERT_EQ(ScreenWidth, byLibrary.width);
    ASSERT_EQ(ScreenHeight, byLibrary.height);
    EXPECT_TRUE(screen.pixels == byLibrary.pixels);

    // The preview's block of the PNG is the BMP of the same screen after
    // its 14-byte file header.
    std::string bmp = ReadFileBytes(CaptureAs(ImageBmp));
    PreviewImage preview;
    FILE* f = fopen(png.c_str(), "rb");
    ASSERT_TRUE(f && DecodePngStream(f, preview));
    fclose(f);
    EXPECT_TRUE(bmp.substr(14) == std::string((const char*)preview.Block(), preview.Size()));
    EXPECT_LT(ReadFileBytes(png).size() * 4, bmp.size());
    EXPECT_TRUE(boxes.messages.empty());
}

// With the setting on, CF_DIB holds the capture's pixels as the BMP file
// does, and a PNG capture adds the file's own bytes as "PNG"; with it off,
// what was on the clipboard stays.
TEST_F(PngCaptureTest, ClipboardGetsTheCaptureOnlyWhenAsked) {
    struct {
        const char* name;
        int option;
        ImageFormat format;
    } cases[] = {
        { "off", 0, ImagePng }, { "BMP", 1, ImageBmp }, { "PNG", 1, ImagePng }, { "JPEG", 1, ImageJpeg },
    };
    UINT pngFormat = RegisterClipboardFormatA("PNG");
    for (const auto& c : cases) {
        PutTextOnClipboard("before");
        gSettings.copyToClipboard = c.option;
        std::string file = ReadFileBytes(CaptureAs(c.format));
        ASSERT_TRUE(OpenClipboard(NULL));
        std::string dib = ClipboardData(CF_DIB), text = ClipboardData(CF_TEXT), png = ClipboardData(pngFormat);
        CloseClipboard();
        if (!c.option) {
            EXPECT_EQ(std::string("before", 7), text.substr(0, 7)) << c.name;
            EXPECT_TRUE(dib.empty()) << c.name;
            continue;
        }
        ASSERT_GE(dib.size(), 40u + 3072 * ScreenHeight) << c.name;
        const BITMAPINFOHEADER* h = (const BITMAPINFOHEADER*)dib.data();
        EXPECT_EQ(ScreenWidth, h->biWidth) << c.name;
        EXPECT_EQ(ScreenHeight, h->biHeight) << c.name;
        EXPECT_EQ(24, h->biBitCount) << c.name;
        if (c.format == ImageBmp) {
            EXPECT_TRUE(file.substr(14) == dib.substr(0, file.size() - 14)) << c.name;
        }
        EXPECT_EQ(c.format == ImagePng ? file : "", png.substr(0, c.format == ImagePng ? file.size() : 0)) << c.name;
    }
    EXPECT_TRUE(boxes.messages.empty());
}

// Another program holding the clipboard costs a short wait, no message and
// no failed capture.
TEST_F(PngCaptureTest, ClipboardHeldElsewhereIsSkippedSilently) {
    PutTextOnClipboard("held");
    gSettings.copyToClipboard = 1;
    HANDLE opened = CreateEventA(NULL, TRUE, FALSE, NULL), release = CreateEventA(NULL, TRUE, FALSE, NULL);
    bool held = false;
    std::thread holder([&] {
        HWND other = CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 1, 1, HWND_MESSAGE, NULL, NULL, NULL);
        held = OpenClipboard(other) != FALSE;
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(other);
    });
    WaitForSingleObject(opened, 5000);
    DWORD start = GetTickCount();
    CaptureAs(ImagePng);
    DWORD waited = GetTickCount() - start;
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    ASSERT_TRUE(held);
    EXPECT_GE(waited, 100u);
    EXPECT_LT(waited, 1500u);
    EXPECT_TRUE(boxes.messages.empty());
    ASSERT_TRUE(OpenClipboard(NULL));
    EXPECT_EQ(std::string("held", 5), ClipboardData(CF_TEXT).substr(0, 5));
    CloseClipboard();
}
