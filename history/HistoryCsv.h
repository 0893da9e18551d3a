// The CSV history file, line by line.
//
// Shift_JIS text, CR LF line ends, no byte-order mark.  Line 1 is the header
// "日時,コメント,ファイルパス,テキスト情報"; then one line per record:
//   dateTime,comment,imageField,textPath CR LF
// A field that holds a comma or a double quote is written the usual CSV way,
// enclosed in double quotes with its quotes doubled; every other field is
// written as it is (neither byte can be the trail byte of a double-byte
// character).  The image field is the stored path, or for a record kept in
// the history folder a backslash and its file name.
//
// A reader takes a field that begins with a double quote as quoted when it
// is well formed: inner quotes doubled, and the closing quote followed by the
// field's comma or, for the last field, by the line end.  Any other field,
// including one of an older file that merely begins with a quote, is read as
// it stands up to the next comma (the last field: to the line end, further
// commas included), stepping over double-byte characters.
#pragma once

#include <stddef.h>

#include "history/HistoryRecord.h"

extern const char HistoryHeaderLine[]; // with its CR LF

enum {
    HistoryReadChunk = 128,
    // Longest line the writer produces, every field quoted and made of
    // quotes: (2*19+2)+1 + (2*128+2)+1 + (2*259+2)+1 + (2*259+2) + 2.
    MaxHistoryLineLength = 1343,
    // The reader keeps an unfinished line plus one more chunk; a line that
    // outgrows this is kept up to its first PendingLineLimit bytes.
    HistoryPendingCapacity = 2048,
    PendingLineLimit = HistoryPendingCapacity - HistoryReadChunk,
};

bool IsHistoryRelative(const char* path);
bool IsImageFile(const char* path); // .jpg .bmp .png .gif, exact case
bool IsTextFile(const char* path);  // .txt, exact case

// "YYYY/MM/DD hh:mm:ss"
void FormatDateStamp(char* out, size_t outSize, int year, int month, int day, int hour,
                     int minute, int second);

// The image field of a record as the file stores it.
void HistoryImageField(const HistoryRecord& r, char* out, size_t outSize);

// The temporary file a save writes before it puts it in the history file's
// place: in the same folder, under a name no longer than the history file's
// own, so that it fits wherever the history file does.  The name is the
// history file's with its first two bytes' worth of characters replaced by
// "~$" ("~#" when the name begins with "~$"); a one-byte name becomes "~"
// ("$" for "~").  It is the same at every save of a file, so the next save
// replaces one that an interrupted save left behind.  False when path has
// no file name or out is too small.
bool HistoryTempPath(char* out, size_t outSize, const char* path);

// One record line with its CR LF; returns its length.  out needs room for
// MaxHistoryLineLength + 1 bytes.
size_t FormatHistoryLine(const HistoryRecord& r, char* out, size_t outSize);

// Fills r from one line (without its line end).  Fields longer than their
// widths are cut on a character boundary; missing fields stay empty.
// Returns false for an empty line, which holds no record.
bool ParseHistoryLine(const char* line, size_t len, HistoryRecord& r);

// Splits the byte stream of a history file into lines, 128-byte chunk by
// chunk.  A line ends at the first CR of the pending text when another byte
// follows it (that byte, normally LF, is skipped unseen); without a CR, at
// the first LF that is not the last pending byte.  So the last line of a
// file is taken only when it ends in CR LF.
class HistoryLineSplitter {
public:
    // Adds up to HistoryReadChunk bytes; call only after NextLine has
    // returned false.
    void Append(const char* data, size_t n);
    // Takes the next complete line; false when none is complete yet.
    bool NextLine(const char** line, size_t* len);
    // True while bytes of an unfinished line are waiting.
    bool HasPendingText() const;

private:
    enum Mode { Normal, Discarding, DiscardingAfterCr, DiscardingAfterLf };

    void CompactTaken();
    void DiscardInto(const char* data, size_t n);

    char buffer[HistoryPendingCapacity];
    size_t start = 0;  // first pending byte
    size_t length = 0; // pending bytes from start
    // An over-long line: its first PendingLineLimit bytes wait in the
    // buffer while the rest is skipped up to the line end.
    Mode mode = Normal;
    size_t readyLength = 0; // >0: the kept head of an over-long line is complete
};
