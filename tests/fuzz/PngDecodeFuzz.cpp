// Decodes arbitrary bytes as a PNG file into the preview's block.
#include "imagepreview/PreviewPng.h"
#include "tests/fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPictureDecoder(data, size, DecodePngStream, true);
    return 0;
}
