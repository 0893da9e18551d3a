// The history list and its CSV file: reading, writing, the append made by a
// capture, and the binding of the list to a file chosen in the common
// dialogs.  Data only: the list view refreshes itself after calling these.
#pragma once

#include <windows.h>

#include "history/HistoryCsv.h"
#include "history/HistoryRecord.h"

// The program's one history list, empty and untitled at start-up.
extern HistoryList gHistory;

extern const char UntitledName[]; // "新規"

// Empty, unchanged, untitled, named "<startFolder>\新規".
void InitHistoryList(HistoryList& list, const char* startFolder);
// count 0 with every slot cleared.
void ClearHistoryRecords(HistoryList& list);

// Appends a capture's record stamped with the local time; nothing when the
// list is full (the caller refuses the capture before that).  Always 1.
int AppendCapture(HistoryList& list, const char* imagePath, const char* comment);

// Reads filePath (created empty when missing) into the list; 1 or 0.  On
// failure (the file cannot be opened or read to its end, or is no history
// file) the list is no longer bound to it: what was read stays, but the list
// is untitled, so that no save can silently replace the file with less.
int ReadHistoryFile(HistoryList& list, HWND owner);
// Writes the list to filePath; 1 or 0.  The old file is replaced only once
// the new contents are safely on disk.
int WriteHistoryFile(HistoryList& list, HWND owner);

// The safe save under both: `write` fills a temporary file beside `path`
// (and flushes it), which then takes the place of `path`.  False, with the
// error in GetLastError, when anything failed; `path` is then as it was
// (or, where the platform lost it on the way, the new contents wait under
// the temporary name).  A user's file keeps what it carries besides
// its contents (attributes, security, creation time); the program's own
// files are simply renamed over.
enum ReplaceMode { ReplaceKeepingFile, ReplaceByRename };
typedef bool (*ContentWriter)(HANDLE file, void* context);
bool ReplaceFileContents(const char* path, ContentWriter write, void* context, ReplaceMode mode);
// The list as a history file at `path`, saved that way, without a word to
// the user and without touching the list's flags; `bytes` (may be NULL)
// gets the file's length.
bool WriteHistoryCopy(const HistoryList& list, const char* path, unsigned long long* bytes, ReplaceMode mode);
// Reads a history file that must be whole: true only when it opened, was
// read to its end and held no more records than the list takes.  Shows
// nothing; the flags and the file binding stay as they are.
bool ReadHistoryCopy(HistoryList& list, const char* path);

// Open dialog; binds the list to the chosen file without reading it.
int ChooseFileToOpen(HistoryList& list, HWND owner);
// Save dialog, then WriteHistoryFile; 1 when a name was chosen.
int SaveHistoryListAs(HistoryList& list, HWND owner);
// SaveHistoryListAs while untitled, else WriteHistoryFile.
int SaveHistoryList(HistoryList& list, HWND owner);
// Back to the untitled name (the records stay); always 1.
int ResetToNew(HistoryList& list, HWND owner);

// Binds the list to a path and file title as a file dialog reports them.
void BindHistoryFile(HistoryList& list, const char* path, const char* title);

// How the history reaches the capture engine and the main window, which are
// built on top of it: whether capture monitoring is on, and a request to
// stop it (the main window's stop command).
struct CaptureMonitorLink {
    int (*isMonitoring)();
    void (*requestStop)();
};
void SetCaptureMonitorLink(const CaptureMonitorLink& link);
