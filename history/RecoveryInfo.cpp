#include "history/RecoveryInfo.h"

#include <stdio.h>
#include <string.h>

static const char FirstLine[] = "Gyrolens recovery 1";
static const char LastLine[] = "end";
static const char StampPattern[] = "0000/00/00 00:00:00"; // 0: a digit

size_t FormatRecoveryInfo(const RecoveryInfo& info, char* out, size_t outSize) {
    int n = snprintf(out, outSize,
                     "%s\r\ncopy=%d\r\nbytes=%llu\r\nrecords=%d\r\nnextImage=%d\r\nwritten=%s\r\nuntitled=%d\r\n"
                     "filePath=%s\r\nfileTitle=%s\r\nhistoryFolder=%s\r\n%s\r\n",
                     FirstLine, info.copy, info.bytes, info.records, info.nextImage, info.written, info.untitled,
                     info.filePath, info.fileTitle, info.historyFolder, LastLine);
    return n > 0 && (size_t)n < outSize ? (size_t)n : 0;
}

namespace {

// Walks the note line by line; every line must end in CR LF.
struct NoteReader {
    const char* at;
    const char* end;

    bool Line(const char** text, size_t* n) {
        for (const char* p = at; p + 1 < end; p++) {
            if (p[0] == '\r' && p[1] == '\n') {
                *text = at;
                *n = (size_t)(p - at);
                at = p + 2;
                return true;
            }
            // Paths hold no control characters, and no Shift_JIS byte is one.
            if ((unsigned char)*p < 0x20)
                return false;
        }
        return false;
    }
    bool Exactly(const char* expected) {
        const char* text;
        size_t n;
        return Line(&text, &n) && n == strlen(expected) && memcmp(text, expected, n) == 0;
    }
    // The value of a "key=value" line with exactly this key.
    bool Value(const char* key, const char** value, size_t* n) {
        const char* text;
        size_t len, keyLen = strlen(key);
        if (!Line(&text, &len) || len <= keyLen || memcmp(text, key, keyLen) != 0 || text[keyLen] != '=')
            return false;
        *value = text + keyLen + 1;
        *n = len - keyLen - 1;
        return true;
    }
    bool Number(const char* key, unsigned long long low, unsigned long long high, unsigned long long* out) {
        const char* value;
        size_t n;
        if (!Value(key, &value, &n) || n == 0)
            return false;
        unsigned long long v = 0;
        for (size_t i = 0; i < n; i++) {
            unsigned digit = (unsigned)(value[i] - '0');
            if (value[i] < '0' || value[i] > '9' || v > (~0ull - digit) / 10)
                return false;
            v = v * 10 + digit;
        }
        *out = v;
        return v >= low && v <= high;
    }
    bool Int(const char* key, int low, int high, int* out) {
        unsigned long long v = 0;
        bool ok = Number(key, (unsigned long long)low, (unsigned long long)high, &v);
        *out = (int)v;
        return ok;
    }
    // A text that fits its field whole; an empty one only where allowed.
    bool Text(const char* key, char* out, size_t size, bool mayBeEmpty) {
        const char* value;
        size_t n;
        if (!Value(key, &value, &n) || n >= size || (n == 0 && !mayBeEmpty))
            return false;
        memcpy(out, value, n);
        out[n] = '\0';
        return true;
    }
};

bool IsStamp(const char* s) {
    for (size_t i = 0; i < sizeof(StampPattern); i++) {
        bool digit = s[i] >= '0' && s[i] <= '9';
        if (StampPattern[i] == '0' ? !digit : s[i] != StampPattern[i])
            return false;
    }
    return true;
}

} // namespace

bool ParseRecoveryInfo(const char* text, size_t len, RecoveryInfo* info) {
    memset(info, 0, sizeof(*info));
    NoteReader r = { text, text + len };
    return r.Exactly(FirstLine) && r.Int("copy", 1, RecoveryCopyCount, &info->copy) &&
           r.Number("bytes", 0, ~0ull, &info->bytes) && r.Int("records", 0, MaxHistoryRecords, &info->records) &&
           r.Int("nextImage", 0, 0x7FFFFFFF, &info->nextImage) &&
           r.Text("written", info->written, sizeof(info->written), false) && IsStamp(info->written) &&
           r.Int("untitled", 0, 1, &info->untitled) &&
           r.Text("filePath", info->filePath, sizeof(info->filePath), false) &&
           r.Text("fileTitle", info->fileTitle, sizeof(info->fileTitle), false) &&
           r.Text("historyFolder", info->historyFolder, sizeof(info->historyFolder), true) &&
           r.Exactly(LastLine) && r.at == r.end;
}
