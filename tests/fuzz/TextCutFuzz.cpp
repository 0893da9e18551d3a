// The bounded text helpers on any bytes and any buffer size: copies,
// appends and formatted texts are always prefixes that end on a character
// boundary and fit their buffers; the searches and path helpers only ever
// point at real characters of their text.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/fuzz/FuzzSupport.h"

static void FuzzCopies(const char* src, size_t len, size_t size) {
    std::vector<char> dst(size + 1, '\x7F');
    bool whole = CopyTextN(dst.data(), size, src, len);
    Check(dst[size] == '\x7F');
    CheckCut(src, len, dst.data(), size);
    Check(whole == (len <= size - 1));

    std::string text(src, strnlen(src, len));
    CopyText(dst.data(), size, text.c_str());
    CheckCut(text.c_str(), text.size(), dst.data(), size);
}

static void FuzzFormat(const char* src, size_t len, size_t size, int number) {
    std::string text(src, strnlen(src, len));
    char full[4096];
    snprintf(full, sizeof(full), "%s%d%s", text.c_str(), number, text.c_str());
    std::vector<char> dst(size + 1, '\x7F');
    FormatText(dst.data(), size, "%s%d%s", text.c_str(), number, text.c_str());
    Check(dst[size] == '\x7F');
    CheckCut(full, strlen(full), dst.data(), size);
}

static void FuzzAppend(const char* src, size_t len, size_t size, size_t head) {
    std::vector<char> dst(size + 1, '\x7F');
    std::string first(src, strnlen(src, head < len ? head : len));
    CopyText(dst.data(), size, first.c_str());
    std::string kept(dst.data());
    std::string text(src, strnlen(src, len));
    AppendText(dst.data(), size, text.c_str());
    Check(dst[size] == '\x7F');
    Check(strncmp(dst.data(), kept.c_str(), kept.size()) == 0);
    CheckCut(text.c_str(), text.size(), dst.data() + kept.size(), size - kept.size());
}

static void CheckFound(const char* s, const char* hit, char ch) {
    if (!hit)
        return;
    size_t len = strlen(s);
    Check(hit >= s && hit < s + len && *hit == ch);
    Check(IsCharBoundary(s, len, (size_t)(hit - s)));
}

static void FuzzPaths(const char* src, size_t len) {
    std::string text(src, strnlen(src, len));
    const char* s = text.c_str();
    CheckFound(s, FindCharSjis(s, '\\'), '\\');
    CheckFound(s, FindCharSjisN(s, text.size(), ','), ',');
    const char* last = FindLastCharSjis(s, '\\');
    CheckFound(s, last, '\\');
    const char* name = FileNamePart(s);
    Check(name == (last ? last + 1 : s));
    Check(FolderPartLength(s) == (last ? (size_t)(last - s) : 0));
    std::string trimmed = text;
    RemoveTrailingBackslash(&trimmed[0]);
    size_t n = strlen(trimmed.c_str());
    Check(n == text.size() || (n + 1 == text.size() && last == s + n));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    // Two bytes choose the buffer size (1 to 512) and where an append starts.
    size_t bufferSize = 1 + (((size_t)data[0] << 8 | data[1]) % 512);
    size_t head = data[2];
    const char* text = (const char*)data + 3;
    size_t len = size - 3;
    FuzzCopies(text, len, bufferSize);
    FuzzFormat(text, len < 1000 ? len : 1000, bufferSize, (int)(bufferSize * 7919) - 2000);
    FuzzAppend(text, len, bufferSize, head);
    FuzzPaths(text, len);
    return 0;
}
