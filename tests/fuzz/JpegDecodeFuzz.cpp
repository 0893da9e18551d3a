// Decodes arbitrary bytes as a JPEG file into the preview's block.  The
// decoder must return (never end the process), and a block it accepts must
// be exactly the 24-bit bitmap its header describes, one the painter can
// hand to the display as it is.
#include "tests/fuzz/PictureFuzz.h"

static bool WellFormed(const PreviewImage& image) {
    size_t rowLength = ((size_t)image.Width() * 3 + 3) / 4 * 4;
    return image.Size() == DibHeaderSize + rowLength * image.Height();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzPictureDecoder(data, size, DecodeJpegStream, WellFormed);
    return 0;
}
