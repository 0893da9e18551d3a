// The capture history: one record per capture, held in a single list of
// fixed capacity that is bound to a CSV history file.
//
// A record's image path is either a full path or history-relative: a path
// that starts with exactly one backslash names a file in the history folder
// (the folder of the history file), the folder text followed directly by the
// stored text.  Attached text files are bare file names in that folder.
#pragma once

#include "base/TextSizes.h"

enum {
    MaxHistoryRecords = 1000,
    DateTimeSize = 20,
    FileTitleSize = 64,
};

struct HistoryRecord {
    char dateTime[DateTimeSize];       // YYYY/MM/DD hh:mm:ss
    char comment[CommentSize];
    char imagePath[PathSize];   // full or history-relative
    char textPath[PathSize];    // file name in the history folder, or empty
    int inHistoryFolder;               // 1: saved history-relative
};

struct HistoryList {
    HistoryRecord records[MaxHistoryRecords]; // slots past count are cleared
    int count;
    int modified;  // changed since last read or written
    int untitled;  // no file name of the user's choosing yet
    char filePath[PathSize];
    char fileTitle[FileTitleSize];
    char historyFolder[PathSize];
    char startFolder[PathSize]; // working directory at start-up
};
