// PNG files for the preview: any colour type and depth (palette, grey,
// 16 bits, alpha, interlaced) decoded into the block the painter draws.
// The file is not trusted: it is refused when it is damaged or cut short,
// and before any allocation when its block would pass MaxPreviewBlockSize.
//
// The block: a 40-byte information header, then bottom-up rows of blue,
// green, red, 24 bits per pixel with rows padded to 4 bytes; or, for a
// picture with transparency, 32 bits per pixel (the fourth byte 0), each
// pixel laid over white.  No gamma correction is applied.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewImage.h"

// Bytes of the block for a picture of `width` x `height`, 24 or 32 bits
// per pixel, or 0 when that would pass MaxPreviewBlockSize.
size_t PngBlockSize(uint32_t width, uint32_t height, bool alpha);

// Decodes a PNG stream into `image`, replacing it only on success.
bool DecodePngStream(FILE* stream, PreviewImage& image);
