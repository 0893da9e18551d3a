// Arbitrary bytes as an included text file and as an image file name: the
// escaping must stay inside its work buffers (small ones here, so that the
// cutting is exercised), keep every result terminated and never split a
// double-byte character or an entity; the file name for a link must never
// carry a byte that could end the attribute.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "htmlexport/HtmlText.h"
#include "tests/fuzz/FuzzSupport.h"

static void FuzzEscaping(const uint8_t* data, size_t size, size_t bufferSize, bool preformatted) {
    std::vector<char> text(bufferSize), scratch(bufferSize);
    HtmlWorkBuffers work = { text.data(), scratch.data(), bufferSize };
    size_t n = size < bufferSize - 1 ? size : bufferSize - 1;
    memcpy(work.text, data, n);
    work.text[n] = '\0';
    EscapeIncludedText(work, preformatted);
    size_t len = strnlen(work.text, bufferSize);
    Check(len < bufferSize);
    for (size_t i = 0; i < len; i++) {
        // Every "<" and ">" of the input became an entity.
        Check(work.text[i] != '<' || (i + 3 < len && memcmp(work.text + i, "<BR>", 4) == 0));
        Check(work.text[i] != '>' || (i >= 3 && memcmp(work.text + i - 3, "<BR>", 4) == 0));
        if (!preformatted)
            Check(work.text[i] != '\r' && work.text[i] != '\n');
    }
}

static void FuzzUrlName(const uint8_t* data, size_t size) {
    char name[PathSize];
    CopyTextN(name, sizeof(name), (const char*)data, size);
    char url[HtmlUrlNameSize];
    FormatUrlFileName(url, sizeof(url), name);
    size_t len = strnlen(url, sizeof(url));
    Check(len < sizeof(url));
    for (size_t i = 0; i < len; i += SjisCharLength(url + i, len - i)) {
        if (SjisCharLength(url + i, len - i) == 2)
            continue;
        unsigned char c = (unsigned char)url[i];
        Check(c > 0x20 && c != '\'' && c != '"' && c != '<' && c != '>' && c != '&' && c != '=');
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzEscaping(data, size, 64, false);
    FuzzEscaping(data, size, 257, true);
    FuzzEscaping(data, size, HtmlWorkBufferSize, false);
    FuzzUrlName(data, size);
    return 0;
}
