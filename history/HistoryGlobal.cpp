// The program's history list, set up while the global objects are
// constructed: empty, unchanged, untitled, in the working directory.
#include "history/HistoryFile.h"

#include "base/ByteString.h"

HistoryList gHistory;

namespace {

struct HistoryListInitializer {
    HistoryListInitializer() {
        char dir[MAX_PATH] = "";
        DWORD n = GetCurrentDirectoryA(countof(dir), dir);
        if (n == 0 || n >= countof(dir))
            dir[0] = '\0';
        InitHistoryList(gHistory, dir);
    }
};

HistoryListInitializer gHistoryListInitializer;

} // namespace
