// Benchmark: ReloadPreview of a 3840 x 2160 JPEG and PNG in the real main
// window against the floor, the library (libjpeg-turbo, libpng) decoding
// the same file to memory in the same process, timed alternately.  Prints
// median times.  Not a test.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "history/HistoryView.h"
#include "imagepreview/PreviewWindow.h"
#include "tests/history/ShellTestSupport.h"
#include "tests/imagepreview/TestImages.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"
#include "bench/BenchClock.h"

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)freq.QuadPart;
}

// Something like a screen: smooth areas, edges and fine detail.
static unsigned ScreenLike(int x, int y, int width, int height) {
    unsigned r = (unsigned)(x * 255 / width), g = (unsigned)(y * 255 / height);
    unsigned b = ((x / 8) ^ (y / 8)) & 1 ? 0xE0 : (unsigned)((x * y) & 0xFF);
    return r << 16 | g << 8 | b;
}

// The floors: the whole picture decoded into one RGB buffer.
static bool DecodeJpegToMemory(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    size_t stride = (size_t)cinfo.output_width * 3;
    unsigned char* pixels = (unsigned char*)malloc(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    fclose(f);
    free(pixels);
    return true;
}

// Only plain data in the frame of the setjmp.
static bool ReadPngRows(png_structp png, png_infop info, FILE* f, unsigned char** pixels) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, f);
    png_read_info(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    size_t stride = png_get_rowbytes(png, info);
    *pixels = (unsigned char*)malloc(stride * height);
    png_bytep* rows = (png_bytep*)malloc(sizeof(png_bytep) * height);
    for (png_uint_32 y = 0; y < height; y++)
        rows[y] = *pixels + stride * y;
    png_read_image(png, rows);
    png_read_end(png, NULL);
    free(rows);
    return true;
}

static bool DecodePngToMemory(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    unsigned char* pixels = NULL;
    bool ok = ReadPngRows(png, info, f, &pixels);
    png_destroy_read_struct(&png, &info, NULL);
    free(pixels);
    fclose(f);
    return ok;
}

static bool WriteJpeg(const std::string& path) {
    return WriteTestJpeg(path, 3840, 2160, 3, ScreenLike);
}

static bool WritePng(const std::string& path) {
    return WriteWholeFile(path, TestPngBytes(3840, 2160, 2, 8, false, ScreenLike));
}

static bool BenchReload(const TempDir& dir, const char* name, bool (*write)(const std::string&),
                        bool (*floorDecode)(const char*), int rounds) {
    std::string path = dir.File(name);
    if (!write(path))
        return false;
    LoadHistory(dir.Path(), { { name, std::string("\\") + name, "" } });
    SelectRows({ 0 });
    PumpFor(200);
    std::vector<double> floor, reload;
    for (int i = 0; i < rounds; i++) {
        // A picture already shown is not decoded again: drop it first.
        gPreview.image.Free();
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (!floorDecode(path.c_str()))
            return false;
        QueryPerformanceCounter(&t1);
        ReloadPreview();
        QueryPerformanceCounter(&t2);
        if (gPreview.image.Width() != 3840)
            return false;
        floor.push_back(Milliseconds(t0, t1));
        reload.push_back(Milliseconds(t1, t2));
        PumpFor(20);
    }
    printf("3840 x 2160 %s (%lu bytes), median of %d rounds:\n", name, (unsigned long)ReadFileBytes(path).size(),
           rounds);
    printf("  the library to memory (floor): %7.2f ms\n", Median(floor));
    printf("  ReloadPreview:                 %7.2f ms\n", Median(reload));
    printf("  ratio: %.3f (target <= 1.2)\n", Median(reload) / Median(floor));
    return true;
}

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 11;
    TempDir dir("gyrolens-bench");
    bool ok = BenchReload(dir, "uhd.jpg", WriteJpeg, DecodeJpegToMemory, rounds) &&
              BenchReload(dir, "uhd.png", WritePng, DecodePngToMemory, rounds);
    return ok ? 0 : 1;
}
