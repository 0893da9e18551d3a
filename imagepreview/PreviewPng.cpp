#include "imagepreview/PreviewPng.h"

#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <png.h>

// Limits for files from anywhere: the largest side a picture may claim
// (the block limit decides in the end), and the memory ancillary chunks
// (text, colour profiles) may take, against decompression bombs.
const png_uint_32 MaxPngSide = 1u << 20;
const png_alloc_size_t MaxPngChunk = (png_alloc_size_t)16 << 20;
const png_uint_32 MaxPngChunkCache = 1000;

static unsigned PngBits(bool alpha) {
    return alpha ? 32 : 24;
}

size_t PngBlockSize(uint32_t width, uint32_t height, bool alpha) {
    return DibBlockSize(width, height, PngBits(alpha));
}

// Blue, green, red and alpha laid over white, in place; the fourth byte
// becomes 0.
static void OverWhite(unsigned char* row, uint32_t width) {
    for (unsigned char* p = row; p < row + (size_t)4 * width; p += 4) {
        unsigned a = p[3], white = 255 * (255 - a);
        for (int c = 0; c < 3; c++)
            p[c] = (unsigned char)((p[c] * a + white + 127) / 255);
        p[3] = 0;
    }
}

// Warnings (a damaged text chunk, say) leave the picture as it is.
static void IgnoreWarning(png_structp, png_const_charp) {}

// Everything the decoder touches after setjmp lives here, in memory that
// a longjmp leaves as it was.
struct PngDecodeJob {
    png_structp png;
    png_infop info;
    unsigned char* block;
    png_bytep* rows;
    size_t size;
    png_uint_32 width, height;
    bool alpha;
};

// Any colour type and depth becomes 8-bit blue, green, red, with alpha
// when the picture has transparency.
static void ChooseTransforms(PngDecodeJob* job) {
    png_structp png = job->png;
    int colour = png_get_color_type(png, job->info);
    job->alpha = (colour & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, job->info, PNG_INFO_tRNS);
    png_set_expand(png); // palette to colours, low grey depths to 8 bits, transparency to alpha
    png_set_scale_16(png);
    if (!(colour & PNG_COLOR_MASK_COLOR))
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, job->info);
}

// Decodes into job->block; false when the picture is refused.  A libpng
// error returns here through the longjmp with false as well.
static bool RunPngDecode(PngDecodeJob* job, FILE* stream) {
    if (setjmp(png_jmpbuf(job->png)))
        return false;
    png_init_io(job->png, stream);
    png_set_user_limits(job->png, MaxPngSide, MaxPngSide);
    png_set_chunk_malloc_max(job->png, MaxPngChunk);
    png_set_chunk_cache_max(job->png, MaxPngChunkCache);
    png_read_info(job->png, job->info);
    job->width = png_get_image_width(job->png, job->info);
    job->height = png_get_image_height(job->png, job->info);
    ChooseTransforms(job);
    job->size = PngBlockSize(job->width, job->height, job->alpha);
    size_t rowLength = DibRowLength(job->width, PngBits(job->alpha)), rowBytes = png_get_rowbytes(job->png, job->info);
    if (job->size == 0 || png_get_channels(job->png, job->info) != (job->alpha ? 4 : 3) ||
        png_get_bit_depth(job->png, job->info) != 8 || rowBytes != (size_t)job->width * (job->alpha ? 4 : 3))
        return false;
    job->block = (unsigned char*)malloc(job->size);
    job->rows = (png_bytep*)malloc(sizeof(png_bytep) * job->height);
    if (!job->block || !job->rows)
        return false;
    // The picture's top row is the block's last; the padding is zero.
    for (png_uint_32 y = 0; y < job->height; y++) {
        job->rows[y] = job->block + DibHeaderSize + (size_t)(job->height - 1 - y) * rowLength;
        memset(job->rows[y] + rowBytes, 0, rowLength - rowBytes);
    }
    png_read_image(job->png, job->rows);
    // A file cut short after its pixels is refused all the same.
    png_read_end(job->png, NULL);
    return true;
}

bool DecodePngStream(FILE* stream, PreviewImage& image) {
    PngDecodeJob job;
    memset(&job, 0, sizeof(job));
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, IgnoreWarning);
    job.info = job.png ? png_create_info_struct(job.png) : NULL;
    bool ok = job.info && RunPngDecode(&job, stream);
    png_destroy_read_struct(&job.png, &job.info, NULL);
    free(job.rows);
    if (!ok) {
        free(job.block);
        return false;
    }
    if (job.alpha)
        for (png_uint_32 y = 0; y < job.height; y++)
            OverWhite(job.block + DibHeaderSize + (size_t)y * DibRowLength(job.width, 32), job.width);
    WriteDibHeader(job.block, job.width, job.height, PngBits(job.alpha));
    image.Reset(job.block, job.size);
    return true;
}
