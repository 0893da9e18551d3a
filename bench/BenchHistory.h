// The history the benchmarks time: 1000 records with every field at its
// longest.
#pragma once

#include <string.h>

#include "history/HistoryRecord.h"

inline void FillLongestHistory(HistoryList& list) {
    for (int i = 0; i < MaxHistoryRecords; i++) {
        HistoryRecord& r = list.records[i];
        memset(&r, 0, sizeof(r));
        strcpy(r.dateTime, "2024/01/02 03:04:05");
        for (int j = 0; j < 64; j++)
            memcpy(r.comment + 2 * j, "表", 2);
        memset(r.imagePath, 'i', 259);
        r.imagePath[0] = 'C';
        r.imagePath[1] = ':';
        r.imagePath[2] = '\\';
        memset(r.textPath, 't', 259);
    }
    list.count = MaxHistoryRecords;
}
