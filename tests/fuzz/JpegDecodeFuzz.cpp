// Decodes arbitrary bytes as a JPEG file into the preview's block, through
// a stdio stream as the loader does.  The decoder must return (never end
// the process), and a block it accepts must be exactly the 24-bit bitmap
// its header describes, one the painter can hand to the display as it is.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/PaintCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    FILE* stream = fmemopen((void*)data, size, "rb");
    if (!stream)
        return 0;
    PreviewImage image;
    if (DecodeJpegStream(stream, image)) {
        size_t rowLength = ((size_t)image.Width() * 3 + 3) / 4 * 4;
        Check(image.Width() > 0 && image.Height() > 0);
        Check(image.Size() == DibHeaderSize + rowLength * image.Height());
        CheckPaintable(image);
    }
    fclose(stream);
    return 0;
}
