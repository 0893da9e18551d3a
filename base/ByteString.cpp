#include "base/ByteString.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

size_t SjisCharLength(const char* s, size_t remaining) {
    if (remaining >= 2 && IsSjisLeadByte((unsigned char)s[0]) && IsSjisTrailByte((unsigned char)s[1]))
        return 2;
    return 1;
}

size_t SjisFitLength(const char* s, size_t len, size_t maxBytes) {
    if (len <= maxBytes)
        return len;
    // Only a walk from the start knows where characters begin: a trail byte
    // can itself lie in the lead range (字 is 8E 9A), so no byte judged on
    // its own or with its neighbour tells whether a cut falls inside one.
    size_t pos = 0, last = 0;
    while (pos < len) {
        size_t n = SjisCharLength(s + pos, len - pos);
        if (pos + n > maxBytes)
            break;
        pos += n;
        last = n;
    }
    // A cut text never ends in a lead byte, even a stray one: whatever reads
    // it next would pair that byte with the terminator.
    if (last == 1 && IsSjisLeadByte((unsigned char)s[pos - 1]))
        pos--;
    return pos;
}

void DropCutHalfCharacter(char* text, size_t size) {
    if (size == 0)
        return;
    size_t len = strnlen(text, size - 1);
    text[len] = '\0';
    // Walked with the terminator, a last lead byte has no trail and goes.
    if (len == size - 1)
        text[SjisFitLength(text, len + 1, len)] = '\0';
}

bool CopyTextN(char* dst, size_t dstSize, const char* src, size_t srcLen) {
    if (dstSize == 0)
        return srcLen == 0;
    size_t n = SjisFitLength(src, srcLen, dstSize - 1);
    memmove(dst, src, n);
    dst[n] = '\0';
    return n == srcLen;
}

bool CopyText(char* dst, size_t dstSize, const char* src) {
    return CopyTextN(dst, dstSize, src, strlen(src));
}

bool AppendText(char* dst, size_t dstSize, const char* src) {
    if (dstSize == 0)
        return false;
    size_t used = strnlen(dst, dstSize - 1);
    return CopyText(dst + used, dstSize - used, src);
}

bool FormatText(char* dst, size_t dstSize, const char* format, ...) {
    if (dstSize == 0)
        return false;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(dst, dstSize, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = '\0';
        return false;
    }
    if ((size_t)n < dstSize)
        return true;
    // vsnprintf cut the text byte-wise; trim it back to a character boundary.
    size_t len = strlen(dst);
    size_t fit = SjisFitLength(dst, len + 1, len);
    dst[fit] = '\0';
    return false;
}

const char* FindCharSjisN(const char* s, size_t len, char ch) {
    size_t pos = 0;
    while (pos < len) {
        if (s[pos] == ch)
            return s + pos;
        pos += SjisCharLength(s + pos, len - pos);
    }
    return NULL;
}

const char* FindCharSjis(const char* s, char ch) {
    return FindCharSjisN(s, strlen(s), ch);
}

const char* FindLastCharSjis(const char* s, char ch) {
    size_t len = strlen(s);
    const char* found = NULL;
    size_t pos = 0;
    while (pos < len) {
        if (s[pos] == ch)
            found = s + pos;
        pos += SjisCharLength(s + pos, len - pos);
    }
    return found;
}

const char* FileNamePart(const char* path) {
    const char* slash = FindLastCharSjis(path, '\\');
    return slash ? slash + 1 : path;
}

void RemoveTrailingBackslash(char* s) {
    const char* slash = FindLastCharSjis(s, '\\');
    if (slash && slash[1] == '\0')
        s[slash - s] = '\0';
}

size_t FolderPartLength(const char* path) {
    const char* slash = FindLastCharSjis(path, '\\');
    return slash ? (size_t)(slash - path) : 0;
}

bool EndsWith(const char* s, const char* suffix) {
    size_t n = strlen(s), m = strlen(suffix);
    return n >= m && memcmp(s + n - m, suffix, m) == 0;
}
