// Decodes arbitrary bytes as a JPEG file into the preview's block: the
// decoder must return, never end the process, and give 24 bits.
#include "tests/fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPictureDecoder(data, size, DecodeJpegStream, false);
    return 0;
}
