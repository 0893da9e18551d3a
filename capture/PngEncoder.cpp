#include "capture/PngEncoder.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <png.h>

// Chosen by measuring 1920 x 1080 desktops (windows of text on black, and
// the same on a photo-like wallpaper): zlib's level 2 with the "up" filter
// on every row makes files of 4 to 7% of the BMP in about twice the JPEG
// writer's time; adaptive filters take three times as long for files no
// smaller, higher levels cost time for a few percent.
enum { PngCompressionLevel = 2, PngRowFilter = PNG_FILTER_UP };

// The file as it grows, in one block from malloc.
struct PngSink {
    unsigned char* data;
    size_t size;
    size_t capacity;
};

static void WriteToSink(png_structp png, png_bytep bytes, png_size_t n) {
    PngSink* sink = (PngSink*)png_get_io_ptr(png);
    if (n > sink->capacity - sink->size) {
        size_t capacity = sink->capacity * 2 > sink->size + n ? sink->capacity * 2 : sink->size + n;
        unsigned char* grown = (unsigned char*)realloc(sink->data, capacity);
        if (!grown)
            png_error(png, "out of memory");
        sink->data = grown;
        sink->capacity = capacity;
    }
    memcpy(sink->data + sink->size, bytes, n);
    sink->size += n;
}

static void FlushNothing(png_structp) {}

// Only plain data lives in this frame: the longjmp of a libpng error skips
// no destructor.  The rows go in top row first, as the file holds them;
// libpng turns blue-green-red round itself.
static bool Compress(png_structp png, png_infop info, PngSink* sink, const unsigned char* rows, int width,
                     int height, size_t stride) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, sink, WriteToSink, FlushNothing);
    png_set_compression_level(png, PngCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PngRowFilter);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = height - 1; y >= 0; y--)
        png_write_row(png, rows + (size_t)y * stride);
    png_write_end(png, info);
    return true;
}

PngBytes EncodePng(const unsigned char* rows, int width, int height, size_t stride) {
    PngBytes out = { NULL, 0 };
    if (width <= 0 || height <= 0)
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    // A first guess at the size: a tenth of the pixels.
    PngSink sink = { NULL, 0, stride * (size_t)height / 10 + 1024 };
    sink.data = (unsigned char*)malloc(sink.capacity);
    bool ok = info && sink.data && Compress(png, info, &sink, rows, width, height, stride);
    png_destroy_write_struct(&png, &info);
    if (!ok) {
        free(sink.data);
        return out;
    }
    out.data = sink.data;
    out.size = sink.size;
    return out;
}
