// Feeds arbitrary bytes to the preview's BMP decoding as a whole file, the
// way the loader reads one: the block is allocated at exactly the bytes
// after the file header, so any read past it shows up under
// AddressSanitizer, and a picture that is made must be one the painter can
// hand to the display as it is.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "imagepreview/PreviewImage.h"
#include "tests/fuzz/PictureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < BmpFileHeaderSize)
        return 0;
    size_t blockSize = BmpBlockSize(data, size);
    if (blockSize == 0)
        return 0;
    Check(blockSize <= size - BmpFileHeaderSize && blockSize <= MaxPreviewBlockSize);
    unsigned char* block = (unsigned char*)malloc(blockSize);
    memcpy(block, data + BmpFileHeaderSize, blockSize);
    PreviewImage image;
    if (DecodeBmpBlock(data, block, blockSize, image))
        CheckPaintable(image);
    else
        Check(image.Empty());
    return 0;
}
