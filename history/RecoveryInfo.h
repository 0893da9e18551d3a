// The note kept beside the recovery copy of an unsaved history.
//
// The copy itself is a history file (Gyrolens.recovery.1.csv or .2.csv, in
// the history file's own format); the note, Gyrolens.recovery.txt, says
// which of the two holds the list, how long that file is and how many
// records it holds, the number the next captured image was to take, when
// it was written, and which history file the list belonged to.  Shift_JIS, CR LF line ends, these lines in this order:
//
//   Gyrolens recovery 1
//   copy=2
//   bytes=123456
//   records=12
//   nextImage=7
//   written=2024/05/06 07:08:09
//   untitled=0
//   filePath=C:\data\history.csv
//   fileTitle=history.csv
//   historyFolder=C:\data
//   end
//
// A new copy goes into the file the note does not name, and only then is
// the note replaced: whatever moment a write stops at, the note names a
// whole list of the size it gives.  A note that differs in any way from
// this layout, or a copy that does not match it, is never taken for one.
#pragma once

#include <stddef.h>

#include "base/TextSizes.h"
#include "history/HistoryRecord.h"

enum {
    RecoveryCopyCount = 2,
    // The longest note: three paths and the short lines around them.
    RecoveryInfoMaxLength = 3 * PathSize + 256,
};

struct RecoveryInfo {
    int copy;                       // 1 or 2: Gyrolens.recovery.<copy>.csv
    unsigned long long bytes;       // that file's length
    int records;                    // 0 to MaxHistoryRecords
    int nextImage;                  // the capture engine's next file number
    char written[DateTimeSize];     // local time, YYYY/MM/DD hh:mm:ss
    int untitled;                   // 1: the list had no history file
    char filePath[PathSize];
    char fileTitle[FileTitleSize];
    char historyFolder[PathSize];   // where history-relative images lie
};

// The note's text; returns its length, 0 when `out` is too small.
size_t FormatRecoveryInfo(const RecoveryInfo& info, char* out, size_t outSize);
// True only for a note laid out exactly as above, every value in range.
bool ParseRecoveryInfo(const char* text, size_t len, RecoveryInfo* info);
