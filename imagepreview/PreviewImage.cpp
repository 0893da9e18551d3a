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

// --- blocks the decoders build -----------------------------------------------

size_t DibRowLength(uint32_t width, unsigned bits) {
    return ((size_t)width * bits + 31) / 32 * 4;
}

size_t DibBlockSize(uint32_t width, uint32_t height, unsigned bits) {
    uint64_t total = DibHeaderSize + (uint64_t)DibRowLength(width, bits) * height;
    return width == 0 || height == 0 || total > MaxPreviewBlockSize ? 0 : (size_t)total;
}

size_t JpegBlockSize(uint32_t width, uint32_t height) {
    return DibBlockSize(width, height, 24);
}

void WriteDibHeader(unsigned char* block, uint32_t width, uint32_t height, unsigned bits) {
    memset(block, 0, DibHeaderSize);
    Write32(block, DibHeaderSize);
    Write32(block + 4, width);
    Write32(block + 8, height);
    block[12] = 1;                   // planes
    block[14] = (unsigned char)bits; // bits per pixel
    Write32(block + 20, (uint32_t)(DibRowLength(width, bits) * height));
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

enum {
    CompressionNone = 0,
    CompressionBitFields = 3,
    BitFieldMasksSize = 12,
    BmpColourCountField = 32,
};

// Where one colour lies in a packed pixel: `width` bits from `shift` on.
struct ChannelMask {
    uint32_t mask;
    unsigned shift, width;
};

// What a BMP's headers say about its pixels, checked against the bytes read.
struct BmpLayout {
    uint32_t width, rows;
    bool topDown;
    unsigned bits;
    const unsigned char* palette; // blue, green, red, unused; NULL above 8 bits
    uint32_t paletteEntries;
    ChannelMask masks[3];         // red, green, blue; 16 and 32 bits
    const unsigned char* pixels;  // the bottom row first, unless topDown
    size_t rowLength;
};

// A mask is a single run of ones inside the pixel, or empty (no such
// colour: it reads as 0).
static bool SetMask(ChannelMask* c, uint32_t mask, unsigned bits) {
    c->mask = mask;
    c->shift = c->width = 0;
    if (bits < 32 && (mask >> bits) != 0)
        return false;
    if (mask == 0)
        return true;
    while (!(mask >> c->shift & 1))
        c->shift++;
    while (c->shift + c->width < 32 && (mask >> (c->shift + c->width) & 1))
        c->width++;
    return c->shift + c->width == 32 || (mask >> (c->shift + c->width)) == 0;
}

// Bit fields are red, green and blue masks; without them 16-bit pixels are
// 5-5-5 and 32-bit ones 8-8-8.
static bool ReadMasks(const unsigned char* at, unsigned bits, ChannelMask* masks) {
    static const uint32_t Masks16[] = { 0x7C00u, 0x03E0u, 0x001Fu };
    static const uint32_t Masks32[] = { 0xFF0000u, 0x00FF00u, 0x0000FFu };
    for (int i = 0; i < 3; i++) {
        uint32_t mask = at ? Read32(at + 4 * i) : bits == 16 ? Masks16[i] : Masks32[i];
        if (!SetMask(&masks[i], mask, bits))
            return false;
    }
    return true;
}

static bool IsKnownFormat(unsigned bits, uint32_t compression) {
    if (compression == CompressionNone)
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return compression == CompressionBitFields && (bits == 16 || bits == 32);
}

// The colour table lies between the header (and its masks) and the pixels;
// it holds the entries it declares, all that the depth can index when it
// declares none, and never more than lie before the pixels.
static bool FindPalette(const unsigned char* block, uint64_t tableStart, uint64_t pixelStart, BmpLayout* l) {
    uint32_t most = 1u << l->bits;
    uint32_t declared = Read32(block + BmpColourCountField);
    uint64_t entries = declared == 0 || declared > most ? most : declared;
    uint64_t room = (pixelStart - tableStart) / 4;
    l->paletteEntries = (uint32_t)(entries < room ? entries : room);
    l->palette = block + tableStart;
    return l->paletteEntries > 0;
}

static bool ReadBmpLayout(const unsigned char* fileHeader, const unsigned char* block, size_t size, BmpLayout* l) {
    memset(l, 0, sizeof(*l));
    if (!block || size < DibHeaderSize)
        return false;
    uint32_t headerSize = Read32(block);
    int32_t width = (int32_t)Read32(block + 4);
    int32_t height = (int32_t)Read32(block + 8);
    l->bits = Read16(block + 14);
    uint32_t compression = Read32(block + 16);
    if (headerSize < DibHeaderSize || headerSize > size || width <= 0 || height == 0 || height == INT32_MIN ||
        !IsKnownFormat(l->bits, compression))
        return false;
    l->width = (uint32_t)width;
    l->topDown = height < 0;
    l->rows = l->topDown ? (uint32_t)-(int64_t)height : (uint32_t)height;
    // Bit fields follow a 40-byte header; a longer header holds them itself.
    uint64_t tableStart = headerSize;
    if (compression == CompressionBitFields && headerSize < DibHeaderSize + BitFieldMasksSize)
        tableStart += BitFieldMasksSize;
    uint64_t pixelOffset = Read32(fileHeader + 10);
    if (pixelOffset < BmpFileHeaderSize + tableStart)
        return false;
    uint64_t pixelStart = pixelOffset - BmpFileHeaderSize;
    uint64_t rowLength = ((uint64_t)l->width * l->bits + 31) / 32 * 4;
    if (pixelStart > size || rowLength > size || rowLength * l->rows > size - pixelStart)
        return false;
    l->pixels = block + pixelStart;
    l->rowLength = (size_t)rowLength;
    if (l->bits <= 8)
        return FindPalette(block, tableStart, pixelStart, l);
    return ReadMasks(compression == CompressionBitFields ? block + DibHeaderSize : NULL, l->bits, l->masks);
}

// The rows as the display draws them without help: 24 or 32 bits, no
// masks, directly after a 40-byte header.
static bool IsDrawableAsItIs(const unsigned char* block, const BmpLayout& l) {
    return Read32(block) == DibHeaderSize && Read32(block + 16) == CompressionNone &&
           (l.bits == 24 || l.bits == 32) && l.pixels == block + DibHeaderSize;
}

// One channel of a packed pixel, widened or narrowed to 8 bits.
static unsigned char Channel(uint32_t pixel, const ChannelMask& c) {
    if (c.width == 0)
        return 0;
    uint32_t value = (pixel & c.mask) >> c.shift;
    if (c.width >= 8)
        return (unsigned char)(value >> (c.width - 8));
    uint32_t most = (1u << c.width) - 1;
    return (unsigned char)((value * 255 + most / 2) / most);
}

static void PutPacked(unsigned char* out, uint32_t pixel, const ChannelMask* masks) {
    out[0] = Channel(pixel, masks[2]);
    out[1] = Channel(pixel, masks[1]);
    out[2] = Channel(pixel, masks[0]);
}

static void PutIndexed(unsigned char* out, unsigned index, const BmpLayout& l) {
    if (index >= l.paletteEntries) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    memcpy(out, l.palette + 4 * index, 3);
}

// One source row into blue-green-red triples.
static void ConvertRow(const unsigned char* row, const BmpLayout& l, unsigned char* out) {
    for (uint32_t x = 0; x < l.width; x++, out += 3) {
        switch (l.bits) {
        case 1:  PutIndexed(out, row[x >> 3] >> (7 - (x & 7)) & 1, l); break;
        case 4:  PutIndexed(out, row[x >> 1] >> ((x & 1) ? 0 : 4) & 0xF, l); break;
        case 8:  PutIndexed(out, row[x], l); break;
        case 16: PutPacked(out, Read16(row + 2 * x), l.masks); break;
        case 24: memcpy(out, row + 3 * x, 3); break;
        case 32: PutPacked(out, Read32(row + 4 * x), l.masks); break;
        }
    }
}

// Converts into a new bottom-up 24-bit block; NULL when it would be too
// large or cannot be allocated.
static unsigned char* ConvertBmp(const BmpLayout& l, size_t* outSize) {
    *outSize = JpegBlockSize(l.width, l.rows);
    unsigned char* out = *outSize ? (unsigned char*)malloc(*outSize) : NULL;
    if (!out)
        return NULL;
    size_t outRow = DibRowLength(l.width, 24);
    for (uint32_t y = 0; y < l.rows; y++) {
        // Output row y counts from the bottom, like a bottom-up source.
        uint32_t source = l.topDown ? l.rows - 1 - y : y;
        unsigned char* row = out + DibHeaderSize + (size_t)y * outRow;
        ConvertRow(l.pixels + (size_t)source * l.rowLength, l, row);
        memset(row + 3 * (size_t)l.width, 0, outRow - 3 * (size_t)l.width);
    }
    WriteDibHeader(out, l.width, l.rows, 24);
    return out;
}

bool DecodeBmpBlock(const unsigned char* fileHeader, unsigned char* block, size_t size, PreviewImage& image) {
    BmpLayout layout;
    if (!ReadBmpLayout(fileHeader, block, size, &layout)) {
        free(block);
        return false;
    }
    if (IsDrawableAsItIs(block, layout)) {
        // The display would read a colour table these rows do not use.
        Write32(block + BmpColourCountField, 0);
        image.Reset(block, size);
        return true;
    }
    size_t converted = 0;
    unsigned char* out = ConvertBmp(layout, &converted);
    free(block);
    if (!out)
        return false;
    image.Reset(out, converted);
    return true;
}

// --- JPEG -------------------------------------------------------------------

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
    size_t width = cinfo->output_width, rowLength = DibRowLength(cinfo->output_width, 24);
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
    WriteDibHeader(job->block, cinfo->output_width, cinfo->output_height, 24);
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
