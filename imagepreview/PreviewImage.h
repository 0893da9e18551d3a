// The preview's image: one packed device-independent bitmap in one heap
// block, exactly as the painter hands it to the display.
//
// Layout of the block: a 40-byte information header (size 40, width,
// height, planes 1, bits per pixel, compression, image size, resolutions,
// colour counts; little-endian) followed by the pixel rows.  The painter
// always takes the rows to begin 40 bytes after the start of the block.
//   From a JPEG: header built here, 24 bits, rows bottom-up in blue-green-red
//     order, each padded with zero bytes to a multiple of 4.
//   From a BMP: the file's bytes after its 14-byte file header, unchanged,
//     when its rows are 24 or 32 bits and follow the 40-byte header directly
//     (the program's own captures); any other BMP (1, 4 or 8 bits with a
//     colour table, 16 bits, bit fields, a longer header, rows further on)
//     is converted into 24-bit rows as from a JPEG.
// Neither source is trusted: a BMP's header must describe rows that lie
// inside the bytes read, and a JPEG is decoded with an error manager that
// returns here instead of ending the program.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

enum {
    BmpFileHeaderSize = 14,
    DibHeaderSize = 40,
};

// No image block may be larger: a file claiming more is refused before any
// allocation is tried.
const size_t MaxPreviewBlockSize = (size_t)512 << 20;

class PreviewImage {
public:
    PreviewImage() = default;
    PreviewImage(const PreviewImage&) = delete;
    PreviewImage& operator=(const PreviewImage&) = delete;
    ~PreviewImage() { Free(); }

    // Takes a block from malloc (NULL: no image).
    void Reset(unsigned char* newBlock, size_t newSize);
    void Free() { Reset(NULL, 0); }
    // Hands the block over (to be filled anew); no image afterwards.
    unsigned char* Release();
    bool Empty() const { return block == NULL; }
    const unsigned char* Block() const { return block; }
    size_t Size() const { return size; }
    const unsigned char* Rows() const { return block + DibHeaderSize; }
    int Width() const;
    int Height() const; // number of rows, whichever way they run

private:
    unsigned char* block = NULL;
    size_t size = 0;
};

enum PreviewLoader { LoaderNone, LoaderJpeg, LoaderBmp, LoaderPng };
// By the path's ending, exactly: the first ".jpg" in the path must end it,
// else the first ".bmp", else the first ".png"; upper-case extensions load
// nothing.
PreviewLoader ChooseLoader(const char* path);

// The blocks the decoders build: a 40-byte header, then bottom-up rows of
// `bits` (24 or 32) per pixel, each padded to a multiple of 4 bytes.
size_t DibRowLength(uint32_t width, unsigned bits);
// Bytes of such a block, or 0 when it would pass MaxPreviewBlockSize.
size_t DibBlockSize(uint32_t width, uint32_t height, unsigned bits);
void WriteDibHeader(unsigned char* block, uint32_t width, uint32_t height, unsigned bits);
// The 24-bit block the JPEG loader builds.
size_t JpegBlockSize(uint32_t width, uint32_t height);

// Size of the block a BMP file's 14-byte header leads to: its file-size
// field minus the header, but never more than the `fileSize` bytes the file
// really holds.  0 when the header is not a BMP's, is too small to hold an
// information header, or announces more than MaxPreviewBlockSize.
size_t BmpBlockSize(const unsigned char* fileHeader, uint64_t fileSize);
// Makes the picture of a BMP file: `fileHeader` is its 14-byte file header,
// `block` (from malloc; taken in every case) the `size` bytes that follow.
// The pixels are taken from where the file header's offset field says.
// Accepted: an information header of at least 40 bytes, a positive width, a
// non-zero height (negative: rows run top-down), uncompressed rows of 1, 4,
// 8, 16, 24 or 32 bits, or bit fields of 16 or 32 bits with contiguous
// masks; a colour table of at least one entry between the header and the
// pixels for 1, 4 and 8 bits (an index past it is black); every row inside
// the block.  Anything else is refused and `image` stays as it was.
bool DecodeBmpBlock(const unsigned char* fileHeader, unsigned char* block, size_t size, PreviewImage& image);

// Decodes a JPEG stream into `image` (replacing it only on success).  Fails
// on a damaged or truncated stream, on colours that cannot be given as RGB
// (CMYK), and on pictures whose block would pass MaxPreviewBlockSize.
bool DecodeJpegStream(FILE* stream, PreviewImage& image);
