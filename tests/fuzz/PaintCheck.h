// What the preview's painter hands the display, checked on a decoded
// picture: a 40-byte header of 24 or 32 bits without compression or colour
// table, and every row inside the block from 40 bytes after its start.
// Every row is then read, so that a block shorter than it claims shows up
// under AddressSanitizer.
#pragma once

#include <stdint.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/FuzzSupport.h"

inline uint32_t BlockField(const PreviewImage& image, size_t at) {
    const unsigned char* p = image.Block() + at;
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

inline void CheckPaintable(const PreviewImage& image) {
    Check(!image.Empty() && image.Size() >= DibHeaderSize);
    unsigned bits = image.Block()[14] | image.Block()[15] << 8;
    Check(BlockField(image, 0) == DibHeaderSize && (bits == 24 || bits == 32));
    Check(BlockField(image, 16) == 0 && BlockField(image, 32) == 0);
    Check(image.Width() > 0 && image.Height() > 0);
    uint64_t rowLength = ((uint64_t)image.Width() * bits + 31) / 32 * 4;
    uint64_t rows = DibHeaderSize + rowLength * (uint64_t)image.Height();
    Check(rows <= image.Size());
    volatile unsigned sum = 0;
    for (uint64_t i = 0; i < rows; i++)
        sum += image.Block()[i];
    (void)sum;
}
