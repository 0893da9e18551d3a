// Decodes arbitrary bytes as a PNG file into the preview's block.  The
// decoder must return, and a block it accepts must be exactly the 24- or
// 32-bit bitmap its header describes.
#include "imagepreview/PreviewPng.h"
#include "tests/fuzz/PictureFuzz.h"

static bool WellFormed(const PreviewImage& image) {
    int bits = image.Block()[14];
    return (bits == 24 || bits == 32) && image.Size() == PngBlockSize(image.Width(), image.Height(), bits == 32);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPictureDecoder(data, size, DecodePngStream, WellFormed);
    return 0;
}
