// Benchmark: ReloadPreview of a 3840 x 2160 JPEG in the real main window
// against the floor, libjpeg-turbo decoding the same file to memory in the
// same process, timed alternately.  Prints median times.  Not a test.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include <jpeglib.h>

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

// The floor: the whole picture decoded into one RGB buffer.
static bool DecodeToMemory(const char* path) {
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

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 11;
    TempDir dir("gyrolens-bench");
    std::string path = dir.File("uhd.jpg");
    if (!WriteTestJpeg(path, 3840, 2160, 3, ScreenLike))
        return 1;
    LoadHistory(dir.Path(), { { "uhd", "\\uhd.jpg", "" } });
    SelectRows({ 0 });
    PumpFor(200);
    std::vector<double> floor, reload;
    for (int i = 0; i < rounds; i++) {
        // A picture already shown is not decoded again: drop it first.
        gPreview.image.Free();
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (!DecodeToMemory(path.c_str()))
            return 1;
        QueryPerformanceCounter(&t1);
        ReloadPreview();
        QueryPerformanceCounter(&t2);
        if (gPreview.image.Width() != 3840)
            return 1;
        floor.push_back(Milliseconds(t0, t1));
        reload.push_back(Milliseconds(t1, t2));
        PumpFor(20);
    }
    printf("3840 x 2160 JPEG (%lu bytes), median of %d rounds:\n", (unsigned long)ReadFileBytes(path).size(),
           rounds);
    printf("  libjpeg-turbo to memory (floor): %7.2f ms\n", Median(floor));
    printf("  ReloadPreview:                   %7.2f ms\n", Median(reload));
    printf("  ratio: %.3f\n", Median(reload) / Median(floor));
    return 0;
}
