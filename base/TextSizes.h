// Buffer sizes shared by the records of several modules.  Each counts the
// terminating zero byte.
#pragma once

enum {
    PathSize = 260,    // a path or a file name (MAX_PATH)
    CommentSize = 129, // a record's comment: at most 128 bytes
};
