// Benchmark: writes and reads a full history file (1000 records with every
// field at its longest) and prints the median times.  Not a test.  The read
// is timed side by side with its floor: one ReadFile of the whole file, then
// the same line splitter (fed 128 bytes at a time from memory) and parser.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchHistory.h"
#include "history/HistoryFile.h"
#include "tests/support/TestSupport.h"

// The floor: the whole file in one read, then the parser.
static int ReadWholeThenParse(const char* path, HistoryList& list, std::vector<char>& data) {
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD size = GetFileSize(h, NULL), got = 0;
    data.resize(size);
    ReadFile(h, data.data(), size, &got, NULL);
    CloseHandle(h);
    memset(list.records, 0, sizeof(list.records));
    list.count = 0;
    HistoryLineSplitter splitter;
    size_t pos = 0;
    bool header = true;
    for (;;) {
        const char* line;
        size_t len;
        while (list.count < MaxHistoryRecords && splitter.NextLine(&line, &len)) {
            if (header)
                header = false;
            else if (ParseHistoryLine(line, len, list.records[list.count]))
                list.count++;
        }
        if (pos >= got)
            break;
        size_t n = std::min<size_t>(HistoryReadChunk, got - pos);
        splitter.Append(data.data() + pos, n);
        pos += n;
    }
    return list.count;
}

int main(int argc, char** argv) {
    int rounds = argc > 1 ? atoi(argv[1]) : 21;
    TempDir dir("gyrolens-bench");
    static HistoryList list;
    static HistoryList back;
    static HistoryList floor;
    InitHistoryList(list, dir.Path().c_str());
    FillLongestHistory(list);
    std::string path = dir.File("bench.csv");
    BindHistoryFile(list, path.c_str(), "bench.csv");
    std::vector<char> data;

    std::vector<double> writes, reads, floors;
    for (int i = 0; i < rounds; i++) {
        double t0 = NowMs();
        if (!WriteHistoryFile(list, NULL))
            return 1;
        double t1 = NowMs();
        InitHistoryList(back, dir.Path().c_str());
        BindHistoryFile(back, path.c_str(), "bench.csv");
        double t2 = NowMs();
        if (!ReadHistoryFile(back, NULL) || back.count != MaxHistoryRecords)
            return 1;
        double t3 = NowMs();
        if (ReadWholeThenParse(path.c_str(), floor, data) != MaxHistoryRecords)
            return 1;
        double t4 = NowMs();
        writes.push_back(t1 - t0);
        reads.push_back(t3 - t2);
        floors.push_back(t4 - t3);
    }
    printf("history file: %d records, %lu bytes, %d rounds, medians:\n", MaxHistoryRecords,
           (unsigned long)ReadFileBytes(path).size(), rounds);
    printf("  write: %8.2f ms\n", Median(writes));
    printf("  read:  %8.2f ms  floor (one read of the whole file, then the parser) %.2f ms  ratio %.2f\n",
           Median(reads), Median(floors), Median(reads) / Median(floors));
    return 0;
}
