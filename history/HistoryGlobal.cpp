// The program's history list, set up while the global objects are
// constructed: empty, unchanged, untitled, in the working directory.
#include "history/HistoryFile.h"

#include "base/ByteString.h"
#include "base/FileIo.h"

HistoryList gHistory;

namespace {

struct HistoryListInitializer {
    HistoryListInitializer() {
        char dir[MAX_PATH] = "";
        GetWorkingDirectory(dir, countof(dir));
        InitHistoryList(gHistory, dir);
    }
};

HistoryListInitializer gHistoryListInitializer;

} // namespace
