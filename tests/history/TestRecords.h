// Records as the history file tests build them.
#pragma once

#include <string.h>

#include "base/ByteString.h"
#include "history/HistoryRecord.h"

// Appends a record dated 2024/05/06 07:08:09.
inline void AddTestRecord(HistoryList& list, const char* comment, const char* image, const char* text = "",
                          int inFolder = 0) {
    HistoryRecord& r = list.records[list.count++];
    memset(&r, 0, sizeof(r));
    strcpy(r.dateTime, "2024/05/06 07:08:09");
    CopyText(r.comment, countof(r.comment), comment);
    CopyText(r.imagePath, countof(r.imagePath), image);
    CopyText(r.textPath, countof(r.textPath), text);
    r.inHistoryFolder = inFolder;
}
