// Feeds arbitrary bytes to the preview's BMP checks as a whole file, the
// way the loader reads one, and then reads everything the painter would
// read from an accepted block: its header, masks, colour table and rows.
// The block is allocated at exactly the bytes read, so any read past it
// shows up under AddressSanitizer.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "imagepreview/PreviewImage.h"

static void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

static uint32_t Read32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24;
}

static unsigned SumBytes(const unsigned char* p, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; i++)
        sum += p[i];
    return sum;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < BmpFileHeaderSize)
        return 0;
    size_t blockSize = BmpBlockSize(data, size);
    if (blockSize == 0)
        return 0;
    Check(blockSize <= size - BmpFileHeaderSize && blockSize <= MaxPreviewBlockSize);
    unsigned char* block = (unsigned char*)malloc(blockSize);
    memcpy(block, data + BmpFileHeaderSize, blockSize);
    if (IsDrawableDib(block, blockSize)) {
        uint32_t header = Read32(block);
        int32_t width = (int32_t)Read32(block + 4);
        int32_t height = (int32_t)Read32(block + 8);
        unsigned bits = block[14] | block[15] << 8;
        uint32_t colours = Read32(block + 32);
        uint64_t rows = height < 0 ? (uint64_t)-(int64_t)height : (uint64_t)height;
        uint64_t rowLength = ((uint64_t)width * bits + 31) / 32 * 4;
        Check(width > 0 && rows > 0 && (bits == 24 || bits == 32));
        volatile unsigned sink = SumBytes(block, header + colours * 4);
        sink += SumBytes(block + DibHeaderSize, (size_t)(rowLength * rows));
        (void)sink;
    }
    free(block);
    return 0;
}
