// Fixed-width text buffers holding Shift_JIS (code page 932) bytes.
//
// Every text in the program lives in a zero-terminated char array of a fixed
// size.  The helpers here copy, append and format into such arrays without
// ever writing past them: a text that does not fit is cut, and the cut never
// leaves the lead byte of a double-byte character at the end of a buffer.
// Searches step over double-byte characters as a whole, because 0x5C (the
// backslash) and other ASCII values can appear as trail bytes.
#pragma once

#include <stddef.h>

// countof(array): number of elements of a real array; refuses pointers.
template <typename T, size_t N>
char (&CountofHelper(T (&)[N]))[N];
#define countof(a) (sizeof(CountofHelper(a)))

inline bool IsSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline bool IsSjisTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Length in bytes (1 or 2) of the character at s, given `remaining` bytes
// from s on.  A lead byte counts as a double-byte character only when a
// valid trail byte follows it; a stray lead byte is a character of its own.
size_t SjisCharLength(const char* s, size_t remaining);

// Longest prefix of s[0..len) of at most maxBytes bytes that does not split a
// character; when the prefix is shorter than len it never ends in a lead byte.
size_t SjisFitLength(const char* s, size_t len, size_t maxBytes);

// After a platform call read a text into `size` bytes, cutting it byte-wise:
// a text that filled the buffer may end in the first half of a character,
// which is dropped.
void DropCutHalfCharacter(char* text, size_t size);

// Copies src (or its first srcLen bytes) into dst, cutting it to fit.
// Returns true when the whole text fit.  dstSize must be at least 1.
bool CopyText(char* dst, size_t dstSize, const char* src);
bool CopyTextN(char* dst, size_t dstSize, const char* src, size_t srcLen);
// Appends src to the text already in dst, cutting it to fit.
bool AppendText(char* dst, size_t dstSize, const char* src);
// snprintf into dst; a cut result is trimmed to a character boundary.
bool FormatText(char* dst, size_t dstSize, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// First occurrence of ch in s (zero-terminated, or the first len bytes),
// stepping over double-byte characters; NULL when absent.
const char* FindCharSjis(const char* s, char ch);
const char* FindCharSjisN(const char* s, size_t len, char ch);
// Last occurrence of ch in s, stepping over double-byte characters.
const char* FindLastCharSjis(const char* s, char ch);

// The file-name part of a path: what follows its last backslash, or the
// whole path when it has none.
const char* FileNamePart(const char* path);

// Removes one trailing backslash (a real one, not a trail byte) from s.
void RemoveTrailingBackslash(char* s);

// Length of the folder part of path (up to, not including, its last
// backslash), or 0 when the path has no backslash.
size_t FolderPartLength(const char* path);

bool EndsWith(const char* s, const char* suffix);
