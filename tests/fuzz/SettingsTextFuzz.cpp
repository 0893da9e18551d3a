// The settings file's texts as the store reads them: the profile function
// hands over the value's first line, cut byte by byte to the 1024-byte read
// buffer, and the store cuts that to the width of its field.  Whatever the
// file holds, each field must end up a prefix of the value that ends on a
// character boundary and fits the field.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "tests/fuzz/FuzzSupport.h"

// The store's read buffer and the widths of the settings' text fields: face
// names, the CSV title, the fixed comment, folders, prefixes and programs.
static const size_t ReadBufferSize = 1024;
static const size_t FieldWidths[] = { 32, 64, 129, 260 };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* value = (const char*)data;
    size_t len = 0;
    while (len < size && data[len] != 0 && data[len] != '\r' && data[len] != '\n')
        len++;
    // What the profile function leaves in the read buffer: a byte-wise cut.
    char read[ReadBufferSize];
    size_t readLen = len < ReadBufferSize - 1 ? len : ReadBufferSize - 1;
    memcpy(read, value, readLen);
    read[readLen] = '\0';
    for (size_t width : FieldWidths) {
        std::vector<char> field(width + 1, '\x7F');
        CopyText(field.data(), width, read);
        Check(field[width] == '\x7F');
        // Judged against the whole value in the file, not the read buffer.
        CheckCut(value, len, field.data(), width);
    }
    return 0;
}
