#include "history/HistoryCsv.h"

#include <string.h>

#include "base/ByteString.h"

const char HistoryHeaderLine[] = "日時,コメント,ファイルパス,テキスト情報\r\n";

bool IsHistoryRelative(const char* path) {
    return path[0] == '\\' && path[1] != '\\';
}

// Extensions are compared byte for byte: ".JPG" is not an image.
static bool HasExtension(const char* path, const char* ext) {
    return strlen(path) >= 4 && EndsWith(path, ext);
}

bool IsImageFile(const char* path) {
    return HasExtension(path, ".jpg") || HasExtension(path, ".bmp") || HasExtension(path, ".png") ||
           HasExtension(path, ".gif");
}

bool IsTextFile(const char* path) {
    return HasExtension(path, ".txt");
}

void FormatDateStamp(char* out, size_t outSize, int year, int month, int day, int hour, int minute,
                     int second) {
    FormatText(out, outSize, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
}

void HistoryImageField(const HistoryRecord& r, char* out, size_t outSize) {
    if (!r.inHistoryFolder || r.imagePath[0] == '\0') {
        CopyText(out, outSize, r.imagePath);
        return;
    }
    // The backslash is searched character-wise: in a name such as 表.jpg the
    // byte 0x5C is the second half of 表, not a folder separator.
    const char* slash = FindLastCharSjis(r.imagePath, '\\');
    if (slash)
        CopyText(out, outSize, slash);
    else
        FormatText(out, outSize, "\\%s", r.imagePath);
}

bool HistoryTempPath(char* out, size_t outSize, const char* path) {
    const char* name = FileNamePart(path);
    size_t folderLen = (size_t)(name - path), nameLen = strlen(name);
    char temp[PathSize];
    if (nameLen == 0)
        return false;
    if (nameLen == 1) {
        CopyText(temp, countof(temp), name[0] == '~' ? "$" : "~");
    } else {
        size_t skip = 0;
        while (skip < 2)
            skip += SjisCharLength(name + skip, nameLen - skip);
        const char* marker = strncmp(name, "~$", 2) == 0 ? "~#" : "~$";
        FormatText(temp, countof(temp), "%s%s", marker, name + skip);
    }
    if (folderLen + strlen(temp) >= outSize)
        return false;
    memcpy(out, path, folderLen);
    CopyText(out + folderLen, outSize - folderLen, temp);
    return true;
}

// Collects one line in a fixed buffer, whole characters only: once a piece
// does not fit, nothing more is added.
struct LineBuilder {
    char* out;
    size_t size;
    size_t used = 0;
    bool full = false;

    void Put(const char* text, size_t n) {
        if (full)
            return;
        size_t fit = SjisFitLength(text, n, size - 1 - used);
        memcpy(out + used, text, fit);
        used += fit;
        out[used] = '\0';
        full = fit < n;
    }
    void PutField(const char* text) {
        size_t n = strlen(text);
        if (!memchr(text, ',', n) && !memchr(text, '"', n)) {
            Put(text, n);
            return;
        }
        Put("\"", 1);
        for (const char* quote; (quote = (const char*)memchr(text, '"', n)) != NULL;) {
            size_t run = (size_t)(quote - text) + 1;
            Put(text, run);
            Put("\"", 1);
            text += run;
            n -= run;
        }
        Put(text, n);
        Put("\"", 1);
    }
};

size_t FormatHistoryLine(const HistoryRecord& r, char* out, size_t outSize) {
    if (outSize == 0)
        return 0;
    char image[PathSize + 1];
    HistoryImageField(r, image, countof(image));
    LineBuilder line = { out, outSize };
    out[0] = '\0';
    line.PutField(r.dateTime);
    line.Put(",", 1);
    line.PutField(r.comment);
    line.Put(",", 1);
    line.PutField(image);
    line.Put(",", 1);
    line.PutField(r.textPath);
    line.Put("\r\n", 2);
    return line.used;
}

// A quoted field from its opening quote: the value with doubled quotes
// undone (kept up to valueSize bytes, enough to cut it to any field width),
// and in *next where it ends.  False when the field is not well formed.
static bool UnquoteField(const char* p, const char* end, bool last, char* value, size_t valueSize,
                         size_t* valueLen, const char** next) {
    size_t n = 0;
    bool full = false;
    for (const char* q = p + 1; q < end;) {
        size_t take, step;
        if (*q == '"') {
            if (q + 1 == end || q[1] != '"') {
                *next = q + 1;
                *valueLen = n;
                return *next == end || (!last && **next == ',');
            }
            take = 1;
            step = 2;
        } else {
            take = step = SjisCharLength(q, (size_t)(end - q));
        }
        full = full || n + take > valueSize;
        if (!full) {
            memcpy(value + n, q, take);
            n += take;
        }
        q += step;
    }
    return false;
}

// Reads the field that starts at p into out (cut to its width) and returns
// where it ends: at its comma, or at the line end.
static const char* TakeField(const char* p, const char* end, bool last, char* out, size_t outSize) {
    if (p < end && *p == '"') {
        char value[PathSize + 2];
        size_t len;
        const char* next;
        if (UnquoteField(p, end, last, value, countof(value), &len, &next)) {
            CopyTextN(out, outSize, value, len);
            return next;
        }
    }
    const char* stop = last ? NULL : FindCharSjisN(p, (size_t)(end - p), ',');
    if (!stop)
        stop = end;
    CopyTextN(out, outSize, p, (size_t)(stop - p));
    return stop;
}

bool ParseHistoryLine(const char* line, size_t len, HistoryRecord& r) {
    memset(&r, 0, sizeof(r));
    if (len == 0)
        return false;
    const char* end = line + len;
    // Fields are taken in order; a short line leaves the later ones empty
    // rather than losing what it does hold.  The last field runs to the line
    // end, further commas included.
    char* fields[4] = { r.dateTime, r.comment, r.imagePath, r.textPath };
    size_t sizes[4] = { countof(r.dateTime), countof(r.comment), countof(r.imagePath), countof(r.textPath) };
    const char* p = line;
    for (int i = 0; i < 4; i++) {
        p = TakeField(p, end, i == 3, fields[i], sizes[i]);
        if (p == end)
            break;
        p++; // the comma
    }
    r.inHistoryFolder = IsHistoryRelative(r.imagePath) ? 1 : 0;
    return true;
}

// --- HistoryLineSplitter ----------------------------------------------------

// Every line the writer makes is read back whole, however it falls on the
// chunks.
static_assert(MaxHistoryLineLength + HistoryReadChunk <= PendingLineLimit, "pending text too small");

void HistoryLineSplitter::CompactTaken() {
    if (start > 0) {
        memmove(buffer, buffer + start, length);
        start = 0;
    }
}

void HistoryLineSplitter::Append(const char* data, size_t n) {
    if (n > HistoryReadChunk)
        n = HistoryReadChunk;
    CompactTaken();
    if (mode == Normal && length + n > HistoryPendingCapacity) {
        // The pending text is one unfinished line that has outgrown the
        // buffer.  Keep its head; skip the rest up to its line end.  Within
        // the skipped part the first CR or LF ends the line.
        const char* cr = (const char*)memchr(buffer, '\r', length);
        const char* lf = (const char*)memchr(buffer, '\n', length);
        size_t head = length;
        if (cr) {
            mode = DiscardingAfterCr; // the CR is the last pending byte
            head = (size_t)(cr - buffer);
        } else if (lf) {
            mode = DiscardingAfterLf;
            head = (size_t)(lf - buffer);
        } else {
            mode = Discarding;
        }
        length = head < (size_t)PendingLineLimit ? head : (size_t)PendingLineLimit;
    }
    if (mode != Normal) {
        DiscardInto(data, n);
        return;
    }
    memcpy(buffer + length, data, n);
    length += n;
}

void HistoryLineSplitter::DiscardInto(const char* data, size_t n) {
    size_t rest = 0;
    if (mode == DiscardingAfterCr) {
        if (n == 0)
            return;
        rest = 1;
    } else if (mode == DiscardingAfterLf) {
        if (n == 0)
            return;
        rest = 0;
    } else {
        size_t p = 0;
        while (p < n && data[p] != '\r' && data[p] != '\n')
            p++;
        if (p == n)
            return;
        bool isCr = data[p] == '\r';
        if (p + 1 >= n) {
            mode = isCr ? DiscardingAfterCr : DiscardingAfterLf;
            return;
        }
        rest = isCr ? p + 2 : p + 1;
    }
    // The over-long line is complete: its head is the next line, and what
    // follows its end becomes pending text.
    readyLength = length;
    mode = Normal;
    if (rest < n) {
        memcpy(buffer + length, data + rest, n - rest);
        length += n - rest;
    }
}

bool HistoryLineSplitter::NextLine(const char** line, size_t* len) {
    if (mode != Normal)
        return false;
    const char* p = buffer + start;
    if (readyLength != 0) {
        size_t n = readyLength;
        *line = p;
        *len = n;
        start += n;
        length -= n;
        readyLength = 0;
        return true;
    }
    size_t consumed;
    const char* cr = (const char*)memchr(p, '\r', length);
    if (cr) {
        if ((size_t)(cr - p) + 1 >= length)
            return false;
        *len = (size_t)(cr - p);
        consumed = *len + 2;
    } else {
        const char* lf = (const char*)memchr(p, '\n', length);
        if (!lf || (size_t)(lf - p) + 1 >= length)
            return false;
        *len = (size_t)(lf - p);
        consumed = *len + 1;
    }
    *line = p;
    start += consumed;
    length -= consumed;
    return true;
}

bool HistoryLineSplitter::HasPendingText() const {
    return length > 0 || mode != Normal || readyLength != 0;
}
