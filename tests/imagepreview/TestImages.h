// Picture files for the preview's tests and benchmark, written with libjpeg
// itself or byte by byte as the capture engine writes its BMP files.
#pragma once

#include <stdio.h>

#include <string>

#include "imagepreview/PreviewImage.h"

// Colour of a pixel, 0xRRGGBB.
typedef unsigned (*PixelColour)(int x, int y, int width, int height);

// Four solid quadrants: red, green (top); blue, white (bottom).
unsigned Quadrants(int x, int y, int width, int height);
// Alpha by the same quadrants: opaque, clear (top); half, opaque (bottom).
unsigned AlphaQuadrants(int x, int y, int width, int height);

// JPEG file of `components` 3 (RGB), 1 (grey: the red byte) or 4 (CMYK: the
// colour's bytes as C, M, Y and K 0), quality 95.
bool WriteTestJpeg(const std::string& path, int width, int height, int components, PixelColour colour);
// The bytes of a JPEG file as WriteTestJpeg writes it.
std::string TestJpegBytes(int width, int height, int components, PixelColour colour);
// A PNG file written with libpng in any colour type (0 grey, 2 RGB, 3
// palette, 4 grey and alpha, 6 RGB and alpha) and bit depth the format
// allows.  Grey samples are the colour's red byte, scaled to the depth;
// 16-bit samples are the 8-bit ones times 257; a palette holds the colours
// and alphas in the order met, with a transparency chunk when one is not
// opaque.  `alpha` (NULL: opaque) gives the alpha byte of a pixel.
std::string TestPngBytes(int width, int height, int colorType, int bitDepth, bool interlaced, PixelColour colour,
                         PixelColour alpha = nullptr);
// A 24-bit bottom-up BMP file with no colour table.
std::string TestBmpBytes(int width, int height, PixelColour colour);
// Writes the bytes to a scratch file and decodes it with `decode` from a
// stdio stream, as the preview's loaders do.
bool DecodeThroughFile(const std::string& bytes, bool (*decode)(FILE*, PreviewImage&), PreviewImage& image);
// 0xRRGGBB of a pixel of a decoded block (24 or 32 bits), (0, 0) top-left.
unsigned BlockPixel(const PreviewImage& image, int x, int y);
// Whether two 0xRRGGBB colours differ by at most `slack` in each channel.
bool Near(unsigned a, unsigned b, int slack);

// A BMP file written field by field from what a test spells out: the file
// header, an information header of `headerSize` bytes (zero past its first
// 40, except `headerMasks` at 40), then `tables` (colour table or bit-field
// masks), `gap` spare bytes, and the pixel rows exactly as given.
struct BmpSpec {
    int bits;
    int compression; // 0 BI_RGB, 3 BI_BITFIELDS
    int width;
    int height;      // negative: rows top-down
    unsigned colours; // the colour-count field
    std::string tables;
    std::string rows;
    unsigned headerSize = 40;
    std::string headerMasks = "";
    unsigned gap = 0;
};
std::string HandBmpBytes(const BmpSpec& spec);
// Little-endian bytes of a number, and a colour-table entry of 0xRRGGBB.
std::string Le16(unsigned v);
std::string Le32(unsigned v);
std::string PaletteEntry(unsigned rgb);
// Native paths and Windows paths alike.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
