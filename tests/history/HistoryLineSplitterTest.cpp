// The reader's line rule, fed in 128-byte chunks as the file is read.
#include "history/HistoryCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Feeds `stream` chunk by chunk and returns the lines taken, as the reader
// does; `pending` tells whether text was left over at the end.
static std::vector<std::string> Split(const std::string& stream, bool* pending = nullptr,
                                      size_t chunk = HistoryReadChunk) {
    HistoryLineSplitter splitter;
    std::vector<std::string> lines;
    size_t pos = 0;
    for (;;) {
        const char* line;
        size_t len;
        while (splitter.NextLine(&line, &len))
            lines.emplace_back(line, len);
        if (pos >= stream.size())
            break;
        size_t n = std::min(chunk, stream.size() - pos);
        splitter.Append(stream.data() + pos, n);
        pos += n;
    }
    if (pending)
        *pending = splitter.HasPendingText();
    return lines;
}

typedef std::vector<std::string> Lines;

TEST(HistoryLineSplitter, LineRule) {
    struct { const char* name; std::string stream; Lines lines; bool pending; } rows[] = {
        { "crlf lines", "a\r\nb\r\n", { "a", "b" }, false },
        { "last line without end is dropped", "a\r\nb", { "a" }, true },
        { "lone CR at the end waits", "a\r\nb\r", { "a" }, true },
        { "lone LF at the end waits", "a\r\nb\n", { "a" }, true },
        { "LF-only: all but the last", "a\nb\nc\n", { "a", "b" }, true },
        { "byte after CR is skipped unseen", "a\rxb\r\n", { "a", "b" }, false },
        { "first CR wins over an earlier LF", "a\nb\r\nc\r\n", { "a\nb", "c" }, false },
        { "empty lines are lines", "\r\n\r\nx\r\n", { "", "", "x" }, false },
        { "empty stream", "", {}, false },
    };
    for (auto& r : rows) {
        bool pending;
        EXPECT_EQ(r.lines, Split(r.stream, &pending)) << r.name;
        EXPECT_EQ(r.pending, pending) << r.name;
    }
}

TEST(HistoryLineSplitter, LineEndsSplitAcrossChunks) {
    // CR as the last byte of a chunk, its LF at the start of the next.
    std::string first(127, 'a');
    std::string stream = first + "\r\nsecond\r\n";
    EXPECT_EQ(Lines({ first, "second" }), Split(stream));
    // CR LF as the very last bytes of the file, at a chunk boundary.
    std::string exact(126, 'b');
    EXPECT_EQ(Lines({ exact }), Split(exact + "\r\n"));
}

TEST(HistoryLineSplitter, AnyChunkSizeGivesTheSameLines) {
    std::string stream;
    Lines expected;
    for (int i = 0; i < 50; i++) {
        std::string line = "line " + std::to_string(i) + std::string(i * 13 % 700, 'x');
        stream += line + "\r\n";
        expected.push_back(line);
    }
    for (size_t chunk : { 1u, 2u, 7u, 64u, 128u })
        EXPECT_EQ(expected, Split(stream, nullptr, chunk)) << "chunk " << chunk;
}

TEST(HistoryLineSplitter, LongestWrittenLineFitsWhole) {
    std::string line(MaxHistoryLineLength - 2, 'z');
    EXPECT_EQ(Lines({ line, "next" }), Split(line + "\r\nnext\r\n"));
}

TEST(HistoryLineSplitter, OverlongLineKeepsItsHeadAndTheLinesAfterIt) {
    std::string huge(10000, 'h');
    Lines lines = Split("first\r\n" + huge + "\r\nafter\r\n");
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("first", lines[0]);
    EXPECT_EQ(huge.substr(0, PendingLineLimit), lines[1]);
    EXPECT_EQ("after", lines[2]);
}

TEST(HistoryLineSplitter, OverlongLineEndedByLfOrCrAtChunkEdges) {
    std::string huge(5000, 'h');
    for (const std::string end : { "\n", "\r\n", "\rX" }) {
        for (size_t pad = 0; pad < 3; pad++) {
            std::string body = huge + std::string(pad, 'p');
            Lines lines = Split(body + end + "next\r\n");
            ASSERT_EQ(2u, lines.size()) << "pad " << pad;
            EXPECT_EQ(body.substr(0, PendingLineLimit), lines[0]);
            EXPECT_EQ("next", lines[1]) << "pad " << pad;
        }
    }
}

TEST(HistoryLineSplitter, OverlongLastLineWithoutEndIsDropped) {
    bool pending;
    Lines lines = Split("a\r\n" + std::string(9000, 'q'), &pending);
    EXPECT_EQ(Lines({ "a" }), lines);
    EXPECT_TRUE(pending);
}
