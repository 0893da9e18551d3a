// What the picture decoders' fuzz targets share: a decoded picture must be
// one the preview's painter can hand to the display as it is, a 40-byte
// header of 24 or 32 bits without compression or colour table and rows
// inside the block from 40 bytes on, every one of which is read
// (AddressSanitizer sees a block shorter than it claims).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/FuzzSupport.h"

// The block's size that the header describes.
inline uint64_t CheckPaintable(const PreviewImage& image) {
    const unsigned char* b = image.Block();
    Check(b && image.Size() >= DibHeaderSize && b[0] == DibHeaderSize && (b[14] == 24 || b[14] == 32));
    Check((b[1] | b[2] | b[3] | b[15] | b[16] | b[17] | b[18] | b[19] | b[32] | b[33] | b[34] | b[35]) == 0);
    Check(image.Width() > 0 && image.Height() > 0);
    uint64_t end = DibHeaderSize + ((uint64_t)image.Width() * b[14] + 31) / 32 * 4 * (uint64_t)image.Height();
    Check(end <= image.Size());
    volatile unsigned sum = 0;
    for (uint64_t i = 0; i < end; i++)
        sum += b[i];
    (void)sum;
    return end;
}

// Decodes the bytes with `decode` from a stdio stream, as the preview's
// loaders read files; an accepted block must be exactly the bitmap its
// header describes, of 24 bits or, when `alpha` allows, 32.
inline void FuzzPictureDecoder(const uint8_t* data, size_t size, bool (*decode)(FILE*, PreviewImage&), bool alpha) {
    if (size == 0)
        return;
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream)
        return;
    PreviewImage image;
    if (decode(stream, image)) {
        Check(CheckPaintable(image) == image.Size());
        Check(alpha || image.Block()[14] == 24);
    }
    fclose(stream);
}
