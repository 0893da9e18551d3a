// Benchmark: writes and reads a full history file (1000 records with every
// field at its longest) and prints the median times.  Not a test.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "history/HistoryFile.h"
#include "tests/support/TestSupport.h"

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)freq.QuadPart;
}

static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

static void FillLongest(HistoryList& list) {
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

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 21;
    TempDir dir("gyrolens-bench");
    static HistoryList list;
    static HistoryList back;
    InitHistoryList(list, dir.Path().c_str());
    FillLongest(list);
    std::string path = dir.File("bench.csv");
    BindHistoryFile(list, path.c_str(), "bench.csv");

    std::vector<double> writes, reads;
    for (int i = 0; i < rounds; i++) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        if (!WriteHistoryFile(list, NULL))
            return 1;
        QueryPerformanceCounter(&t1);
        InitHistoryList(back, dir.Path().c_str());
        BindHistoryFile(back, path.c_str(), "bench.csv");
        if (!ReadHistoryFile(back, NULL) || back.count != MaxHistoryRecords)
            return 1;
        QueryPerformanceCounter(&t2);
        writes.push_back(Milliseconds(t0, t1));
        reads.push_back(Milliseconds(t1, t2));
    }
    printf("history file: %d records, %lu bytes, %d rounds\n", MaxHistoryRecords,
           (unsigned long)ReadFileBytes(path).size(), rounds);
    printf("median write: %.2f ms\n", Median(writes));
    printf("median read:  %.2f ms\n", Median(reads));
    return 0;
}
