// Checks shared by the fuzz targets: a failed check stops the run at once,
// and the cut property of the bounded text helpers.
#pragma once

#include <stddef.h>
#include <string.h>

#include "base/ByteString.h"

inline void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

// True when `at` is where a character of s[0..len) begins (or len itself),
// walking from the start as every reader of the text does.
inline bool IsCharBoundary(const char* s, size_t len, size_t at) {
    size_t pos = 0;
    while (pos < at)
        pos += SjisCharLength(s + pos, len - pos);
    return pos == at;
}

// Where the character that ends at `at` (a boundary) begins.
inline size_t LastCharStart(const char* s, size_t len, size_t at) {
    size_t pos = 0, last = 0;
    while (pos < at) {
        last = pos;
        pos += SjisCharLength(s + pos, len - pos);
    }
    return last;
}

// What a bounded copy of src[0..len) into size bytes must give: a terminated
// text of at most size - 1 bytes that is a prefix of src ending on one of its
// character boundaries; when it is cut, it does not end in a stray lead byte
// and falls short of the room by at most a character and such a byte.
inline void CheckCut(const char* src, size_t len, const char* dst, size_t size) {
    size_t n = strnlen(dst, size);
    Check(n < size);
    Check(n <= len && memcmp(dst, src, n) == 0);
    Check(IsCharBoundary(src, len, n));
    if (n < strnlen(src, len)) {
        Check(n + 3 >= size);
        if (n > 0) {
            size_t last = LastCharStart(src, len, n);
            Check(n - last == 2 || !IsSjisLeadByte((unsigned char)src[last]));
        }
    }
}
