// Decodes arbitrary bytes as a PNG file into the preview's block, through a
// stdio stream as the loader does.  The decoder must return, and a block it
// accepts must be exactly the 24- or 32-bit bitmap its header describes,
// one the BMP check would also let the painter draw.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewPng.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream)
        return 0;
    PreviewImage image;
    if (DecodePngStream(stream, image)) {
        int bits = image.Block()[14];
        Check(bits == 24 || bits == 32);
        Check(image.Width() > 0 && image.Height() > 0);
        Check(image.Size() == PngBlockSize(image.Width(), image.Height(), bits == 32));
        Check(IsDrawableDib(image.Block(), image.Size()));
        volatile unsigned char last = image.Block()[image.Size() - 1];
        (void)last;
    }
    fclose(stream);
    return 0;
}
