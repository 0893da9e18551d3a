// Captured pixels as a PNG file: 24-bit truecolour, not interlaced, made
// in memory so that the file is written in one piece.  No Win32 here.
#pragma once

#include <stddef.h>

// A whole PNG file in a block from malloc; data is NULL when encoding failed.
struct PngBytes {
    unsigned char* data;
    size_t size;
};

// Encodes `height` bottom-up rows of blue-green-red pixels, each row
// `stride` bytes apart.  The caller frees data.
PngBytes EncodePng(const unsigned char* rows, int width, int height, size_t stride);
