// What the picture decoders' fuzz targets share: the bytes reach the
// decoder through a stdio stream, as the preview's loaders read files, and
// an accepted picture must be a block the painter can draw to its last byte.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/FuzzSupport.h"

// Decodes the bytes with `decode`; an accepted picture must pass
// `wellFormed` and the BMP check, and its last byte must be readable.
inline void FuzzPictureDecoder(const uint8_t* data, size_t size, bool (*decode)(FILE*, PreviewImage&),
                               bool (*wellFormed)(const PreviewImage&)) {
    if (size == 0)
        return;
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream)
        return;
    PreviewImage image;
    if (decode(stream, image)) {
        Check(image.Width() > 0 && image.Height() > 0);
        Check(wellFormed(image));
        Check(IsDrawableDib(image.Block(), image.Size()));
        volatile unsigned char last = image.Block()[image.Size() - 1];
        (void)last;
    }
    fclose(stream);
}
