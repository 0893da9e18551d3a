#include "imagepreview/PreviewImage.h"

#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

#include <jerror.h>

#include "capture/JpegErrorManager.h"

static uint32_t Read32(const unsigned char* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint16_t Read16(const unsigned char* p) {
    return (uint16_t)(p[0] | p[1] << 8);
}

static void Write32(unsigned char* p, uint32_t v) {
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

void PreviewImage::Reset(unsigned char* newBlock, size_t newSize) {
    free(block);
    block = newBlock;
    size = newBlock ? newSize : 0;
}

unsigned char* PreviewImage::Release() {
    unsigned char* old = block;
    block = NULL;
    size = 0;
    return old;
}

int PreviewImage::Width() const {
    return block ? (int)Read32(block + 4) : 0;
}

int PreviewImage::Height() const {
    if (!block)
        return 0;
    int32_t h = (int32_t)Read32(block + 8);
    return h < 0 ? -h : h;
}

// --- choosing the loader ----------------------------------------------------

static bool FirstOccurrenceEnds(const char* path, const char* ext) {
    const char* at = strstr(path, ext);
    return at && at[strlen(ext)] == '\0';
}

PreviewLoader ChooseLoader(const char* path) {
    if (FirstOccurrenceEnds(path, ".jpg"))
        return LoaderJpeg;
    if (FirstOccurrenceEnds(path, ".bmp"))
        return LoaderBmp;
    if (FirstOccurrenceEnds(path, ".png"))
        return LoaderPng;
    return LoaderNone;
}

// --- BMP --------------------------------------------------------------------

size_t BmpBlockSize(const unsigned char* fileHeader, uint64_t fileSize) {
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return 0;
    uint64_t declared = Read32(fileHeader + 2);
    uint64_t available = declared < fileSize ? declared : fileSize;
    if (available < BmpFileHeaderSize + DibHeaderSize)
        return 0;
    uint64_t block = available - BmpFileHeaderSize;
    return block > MaxPreviewBlockSize ? 0 : (size_t)block;
}

enum { CompressionNone = 0, CompressionBitFields = 3, BitFieldMasksSize = 12, MaxColourTable = 256 };

bool IsDrawableDib(const unsigned char* block, size_t size) {
    if (!block || size < DibHeaderSize)
        return false;
    uint32_t headerSize = Read32(block);
    int32_t width = (int32_t)Read32(block + 4);
    int32_t height = (int32_t)Read32(block + 8);
    uint16_t bits = Read16(block + 14);
    uint32_t compression = Read32(block + 16);
    uint32_t colours = Read32(block + 32);
    if (headerSize < DibHeaderSize || headerSize > size || width <= 0 || height == 0 || height == INT32_MIN)
        return false;
    if ((bits != 24 && bits != 32) || (compression != CompressionNone && compression != CompressionBitFields))
        return false;
    // The display reads the masks after a 40-byte header, and may read a
    // colour table even for these depths.
    uint64_t tables = headerSize + (uint64_t)colours * 4;
    if (compression == CompressionBitFields && headerSize == DibHeaderSize)
        tables += BitFieldMasksSize;
    if (colours > MaxColourTable || tables > size)
        return false;
    uint64_t rowLength = ((uint64_t)width * bits + 31) / 32 * 4;
    uint64_t rows = height < 0 ? (uint64_t)-(int64_t)height : (uint64_t)height;
    return DibHeaderSize + rowLength * rows <= size;
}

// --- JPEG -------------------------------------------------------------------

static size_t JpegRowLength(uint32_t width) {
    return 4 * (((size_t)3 * width + 3) / 4);
}

size_t JpegBlockSize(uint32_t width, uint32_t height) {
    uint64_t total = DibHeaderSize + (uint64_t)JpegRowLength(width) * height;
    return width == 0 || height == 0 || total > MaxPreviewBlockSize ? 0 : (size_t)total;
}

// Everything the decoder touches after setjmp lives here, in memory that a
// longjmp leaves as it was.
struct JpegDecodeJob {
    jpeg_decompress_struct cinfo; // first: the warning handler finds the job from it
    JpegErrorManager err;
    unsigned char* block;
    size_t size;
    bool truncated;
};

// libjpeg only warns when the file ends early and fills the rest of the
// picture with grey; a truncated file is refused like a damaged one.
static void NoteWarning(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        ((JpegDecodeJob*)cinfo)->truncated = true;
}

static void WriteJpegHeader(unsigned char* block, uint32_t width, uint32_t height) {
    memset(block, 0, DibHeaderSize);
    Write32(block, DibHeaderSize);
    Write32(block + 4, width);
    Write32(block + 8, height);
    block[12] = 1;  // planes
    block[14] = 24; // bits per pixel
    Write32(block + 20, (uint32_t)(JpegRowLength(width) * height));
}

#ifdef JCS_EXTENSIONS
// libjpeg-turbo writes blue-green-red itself, straight into the block.
static const J_COLOR_SPACE BlockColourSpace = JCS_EXT_BGR;
static void ToBlueGreenRed(unsigned char*, size_t) {}
#else
static const J_COLOR_SPACE BlockColourSpace = JCS_RGB;
static void ToBlueGreenRed(unsigned char* row, size_t width) {
    for (unsigned char* end = row + 3 * width; row < end; row += 3) {
        unsigned char red = row[0];
        row[0] = row[2];
        row[2] = red;
    }
}
#endif

// Decodes into job->block; false when the picture is refused.  A libjpeg
// error returns here through the longjmp with false as well.
static bool RunJpegDecode(JpegDecodeJob* job, FILE* stream) {
    if (setjmp(job->err.jump))
        return false;
    jpeg_decompress_struct* cinfo = &job->cinfo;
    jpeg_create_decompress(cinfo);
    // A hostile progressive file could ask for gigabytes of coefficients.
    cinfo->mem->max_memory_to_use = (long)MaxPreviewBlockSize;
    jpeg_stdio_src(cinfo, stream);
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK)
        return false;
    if (JpegBlockSize(cinfo->image_width, cinfo->image_height) == 0)
        return false;
    // Colour output also for greyscale files.
    cinfo->out_color_space = BlockColourSpace;
    jpeg_start_decompress(cinfo);
    job->size = JpegBlockSize(cinfo->output_width, cinfo->output_height);
    if (cinfo->output_components != 3 || job->size == 0)
        return false;
    job->block = (unsigned char*)malloc(job->size);
    if (!job->block)
        return false;
    size_t width = cinfo->output_width, rowLength = JpegRowLength(cinfo->output_width);
    // Scanline by scanline into the block's rows: the first scanline is the
    // picture's top row, the block's last.  Each row is padded with zeros.
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = job->block + DibHeaderSize + (cinfo->output_height - 1 - cinfo->output_scanline) * rowLength;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1 || job->truncated)
            return false;
        ToBlueGreenRed(row, width);
        memset(row + 3 * width, 0, rowLength - 3 * width);
    }
    jpeg_finish_decompress(cinfo);
    if (job->truncated)
        return false;
    WriteJpegHeader(job->block, cinfo->output_width, cinfo->output_height);
    return true;
}

bool DecodeJpegStream(FILE* stream, PreviewImage& image) {
    JpegDecodeJob job;
    memset(&job, 0, sizeof(job));
    job.cinfo.err = InitJpegErrorManager(&job.err);
    job.err.base.emit_message = NoteWarning;
    bool ok = RunJpegDecode(&job, stream);
    // Safe also when the error came before the decompressor existed.
    jpeg_destroy_decompress(&job.cinfo);
    if (!ok) {
        free(job.block);
        return false;
    }
    image.Reset(job.block, job.size);
    return true;
}
