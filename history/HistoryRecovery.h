// The recovery copy of an unsaved history, and when it is written.
//
// While the history has unsaved changes, a copy of the whole list lies in
// the working folder beside Gyrolens.ini: a history file,
// Gyrolens.recovery.1.csv or .2.csv, and the note Gyrolens.recovery.txt that
// names it and the history file it belongs to (layout in RecoveryInfo.h).
// Both are written with the history file's safe save.  A crash, a forced
// restart or a power cut then costs nothing: the next start offers the list
// back.  The copy never replaces the history file; only the user's save
// does.
//
// Every change of the list goes through MarkHistoryChanged, which has a
// fresh copy written from a timer: once the change's row has been painted,
// and no more often than about once a second.  A save removes the copy, and
// so does a discard the user confirmed.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "history/HistoryRecord.h"
#include "history/RecoveryInfo.h"

// --- the files -------------------------------------------------------------

// Writes the list and then its note into `folder`; false when either could
// not be written, and the copy that was there before is then whole and named
// as it was.
bool WriteRecoveryCopy(const HistoryList& list, const char* folder);
// The note first: without it, what is left is no copy.
void RemoveRecoveryCopy(const char* folder);

enum RecoveryFound { RecoveryNone, RecoveryWhole, RecoveryUnreadable };
// Looks for a copy in `folder`.  A whole one is read into `found` (records
// and count only) with its note in `info`; a note that cannot be read, or a
// list that does not match it, is unreadable.
RecoveryFound FindRecoveryCopy(const char* folder, HistoryList& found, RecoveryInfo* info);
// Renames the note and the copies to Gyrolens.recovery.<date>.txt and
// .<date>.<n>.csv, dated by when the note was written.  `kept` gets the
// path of the files without their endings (as they were when one could not
// be renamed: false then).
bool KeepRecoveryAside(const char* folder, char* kept, size_t keptSize);
// The found list becomes `list`: changed, bound to its history file (or
// untitled), its history-relative images in the folder they were in.
void TakeRecoveredList(HistoryList& list, const HistoryList& found, const RecoveryInfo& info);

// --- the running program ---------------------------------------------------

// From now on changes of the program's history are copied into `folder`.
// False when another Gyrolens started in the same folder is keeping its own
// copy there: this one then keeps none.
bool StartRecovery(const char* folder);
// No more copies in this run (the files there stay as they are).
void StopRecovery();
// Sets the changed flag of the program's history and has a copy written.
void MarkHistoryChanged();
// After a save or an edit that ended: a changed list gets a fresh copy (a
// failed save may have left it under another name), an unchanged one none.
void RecoveryFollowsList();
// The user chose to lose the changes: the copy goes at once.
void DiscardRecoveryCopy();

// How the copying asks the shell above it whether a modal window of the
// program is open; the copy then waits, since the list may be half edited.
struct RecoveryLink {
    int (*modalWindowOpen)();
};
void SetRecoveryLink(const RecoveryLink& link);
