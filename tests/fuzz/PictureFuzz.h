// What the picture decoders' fuzz targets share: the bytes reach the
// decoder through a stdio stream, as the preview's loaders read files, and
// an accepted picture must be one the painter can hand to the display.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/PaintCheck.h"

// Decodes the bytes with `decode`; an accepted picture must pass
// `wellFormed` and the painter's check.
inline void FuzzPictureDecoder(const uint8_t* data, size_t size, bool (*decode)(FILE*, PreviewImage&),
                               bool (*wellFormed)(const PreviewImage&)) {
    if (size == 0)
        return;
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream)
        return;
    PreviewImage image;
    if (decode(stream, image)) {
        Check(wellFormed(image));
        CheckPaintable(image);
    }
    fclose(stream);
}
