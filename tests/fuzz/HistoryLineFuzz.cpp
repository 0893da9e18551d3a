// Feeds arbitrary bytes through the history file reader's line splitter in
// 128-byte chunks, as ReadHistoryFile does, and parses every line.  Any
// overrun shows up under AddressSanitizer; the checks below catch fields
// that lose their terminator or grow past their widths.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>

#include "history/HistoryCsv.h"

static void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

static void CheckRecord(const HistoryRecord& r) {
    Check(memchr(r.dateTime, 0, sizeof(r.dateTime)) != nullptr);
    Check(memchr(r.comment, 0, sizeof(r.comment)) != nullptr);
    Check(memchr(r.imagePath, 0, sizeof(r.imagePath)) != nullptr);
    Check(memchr(r.textPath, 0, sizeof(r.textPath)) != nullptr);
    Check(r.inHistoryFolder == (IsHistoryRelative(r.imagePath) ? 1 : 0));

    // Writing the record back never exceeds the longest line.
    char line[MaxHistoryLineLength + 1];
    size_t n = FormatHistoryLine(r, line, sizeof(line));
    Check(n <= MaxHistoryLineLength);
    Check(n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n');
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HistoryLineSplitter splitter;
    size_t pos = 0;
    for (;;) {
        const char* line;
        size_t len;
        while (splitter.NextLine(&line, &len)) {
            Check(len <= HistoryPendingCapacity);
            HistoryRecord r;
            if (ParseHistoryLine(line, len, r))
                CheckRecord(r);
        }
        if (pos >= size)
            break;
        size_t n = std::min<size_t>(HistoryReadChunk, size - pos);
        splitter.Append((const char*)data + pos, n);
        pos += n;
    }
    return 0;
}
