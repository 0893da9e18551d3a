// Feeds arbitrary bytes through the history file reader's line splitter in
// 128-byte chunks, as ReadHistoryFile does, and parses every line.  Any
// overrun shows up under AddressSanitizer; the checks below catch fields
// that lose their terminator or grow past their widths, and records that
// do not survive being written and read again.  The bytes are also taken
// as the path of a history file, for the name of its temporary file, and
// as the note beside a recovery copy.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "history/HistoryCsv.h"
#include "history/RecoveryInfo.h"
#include "tests/fuzz/FuzzSupport.h"

static bool SameRecord(const HistoryRecord& a, const HistoryRecord& b) {
    return strcmp(a.dateTime, b.dateTime) == 0 && strcmp(a.comment, b.comment) == 0 &&
           strcmp(a.imagePath, b.imagePath) == 0 && strcmp(a.textPath, b.textPath) == 0 &&
           a.inHistoryFolder == b.inHistoryFolder;
}

static void CheckRecord(const HistoryRecord& r) {
    Check(memchr(r.dateTime, 0, sizeof(r.dateTime)) != nullptr);
    Check(memchr(r.comment, 0, sizeof(r.comment)) != nullptr);
    Check(memchr(r.imagePath, 0, sizeof(r.imagePath)) != nullptr);
    Check(memchr(r.textPath, 0, sizeof(r.textPath)) != nullptr);
    Check(r.inHistoryFolder == (IsHistoryRelative(r.imagePath) ? 1 : 0));

    // Writing the record back never exceeds the longest line, and reading
    // that line gives the record as it will be written (a history-relative
    // path keeps only its last backslash and name) and the same line again.
    char line[MaxHistoryLineLength + 1];
    size_t n = FormatHistoryLine(r, line, sizeof(line));
    Check(n <= MaxHistoryLineLength);
    Check(n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n');
    HistoryRecord back;
    Check(ParseHistoryLine(line, n - 2, back));
    HistoryRecord expected = r;
    HistoryImageField(r, expected.imagePath, sizeof(expected.imagePath));
    Check(SameRecord(expected, back));
    char again[MaxHistoryLineLength + 1];
    Check(FormatHistoryLine(back, again, sizeof(again)) == n && memcmp(line, again, n) == 0);
}

static void CheckTempPath(const uint8_t* data, size_t size) {
    std::string path((const char*)data, strnlen((const char*)data, std::min<size_t>(size, PathSize - 1)));
    char temp[PathSize];
    if (!HistoryTempPath(temp, sizeof(temp), path.c_str()))
        return;
    // Beside the file, never longer, never the file itself.
    size_t folder = (size_t)(FileNamePart(path.c_str()) - path.c_str());
    Check(strlen(temp) <= path.size() && strlen(temp) > folder);
    Check(memcmp(temp, path.c_str(), folder) == 0);
    Check(strcmp(temp, path.c_str()) != 0);
    Check(FileNamePart(temp) == temp + folder);
}

// A note that reads is written back within the longest note's room and
// reads again as the same note.
static void CheckRecoveryNote(const uint8_t* data, size_t size) {
    RecoveryInfo info, back;
    if (!ParseRecoveryInfo((const char*)data, size, &info))
        return;
    char text[RecoveryInfoMaxLength];
    size_t n = FormatRecoveryInfo(info, text, sizeof(text));
    Check(n > 0 && n <= size);
    Check(ParseRecoveryInfo(text, n, &back) && memcmp(&info, &back, sizeof(info)) == 0);
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
    CheckTempPath(data, size);
    CheckRecoveryNote(data, size);
    return 0;
}
