#include "history/HistoryRecovery.h"

#include <string.h>

#include "base/ByteString.h"
#include "base/FileIo.h"
#include "base/WinHandles.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

static const char RecoveryName[] = "Gyrolens.recovery";
// Held open, unshared, by the program that keeps its copy in the folder.
static const char RecoveryLockName[] = "Gyrolens.recovery.lock";

enum {
    NoteFile = 0, // the part number of the note; the copies are 1 and 2
    RecoveryFirstDelay = 100, // ms after a change when no copy was written lately
    RecoveryInterval = 1000,  // ms at least between two copies
    RecoveryRetryDelay = 5000,
    MaxAsideSuffix = 100,
};

// <folder>\<base>.txt for the note, <folder>\<base>.<part>.csv for a copy.
static bool PartPath(char* out, size_t outSize, const char* folder, const char* base, int part) {
    if (part == NoteFile)
        return FormatText(out, outSize, "%s\\%s.txt", folder, base);
    return FormatText(out, outSize, "%s\\%s.%d.csv", folder, base, part);
}

// The copy the note in a folder names, as this program last wrote it: a
// write need not read the note back first.
static struct {
    char folder[PathSize];
    int copy;
} gLastNote;

static bool ReadNote(const char* path, RecoveryInfo* info) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    char text[RecoveryInfoMaxLength + 1];
    DWORD got = 0;
    if (!file.IsValid() || !ReadSome(file.Get(), text, sizeof(text), &got) || got >= sizeof(text))
        return false;
    return ParseRecoveryInfo(text, got, info);
}

struct NoteText {
    const char* text;
    size_t length;
};

static bool WriteNoteText(HANDLE file, void* context) {
    const NoteText* note = (const NoteText*)context;
    return WriteAll(file, note->text, note->length) && FlushFileBuffers(file);
}

static void DescribeList(const HistoryList& list, RecoveryInfo* info) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FormatDateStamp(info->written, countof(info->written), now.wYear, now.wMonth, now.wDay, now.wHour,
                    now.wMinute, now.wSecond);
    info->records = list.count;
    info->nextImage = gSettings.nextImageNumber > 0 ? gSettings.nextImageNumber : 0;
    info->untitled = list.untitled ? 1 : 0;
    CopyText(info->filePath, countof(info->filePath), list.filePath);
    CopyText(info->fileTitle, countof(info->fileTitle), list.fileTitle);
    CopyText(info->historyFolder, countof(info->historyFolder), list.historyFolder);
}

// The new list goes into the copy the note does not name; the note then
// names it, and only then does the other copy go.
bool WriteRecoveryCopy(const HistoryList& list, const char* folder) {
    char notePath[PathSize], copyPath[PathSize], oldPath[PathSize];
    RecoveryInfo info;
    if (!PartPath(notePath, countof(notePath), folder, RecoveryName, NoteFile))
        return false;
    int current = RecoveryCopyCount;
    if (strcmp(gLastNote.folder, folder) == 0)
        current = gLastNote.copy;
    else if (ReadNote(notePath, &info))
        current = info.copy;
    memset(&info, 0, sizeof(info));
    info.copy = current % RecoveryCopyCount + 1;
    if (!PartPath(copyPath, countof(copyPath), folder, RecoveryName, info.copy) ||
        !PartPath(oldPath, countof(oldPath), folder, RecoveryName, current))
        return false;
    if (!WriteHistoryCopy(list, copyPath, &info.bytes, ReplaceByRename))
        return false;
    DescribeList(list, &info);
    char text[RecoveryInfoMaxLength];
    NoteText note = { text, FormatRecoveryInfo(info, text, countof(text)) };
    if (note.length == 0 || !ReplaceFileContents(notePath, WriteNoteText, &note, ReplaceByRename)) {
        DeleteFileA(copyPath);
        return false;
    }
    DeleteFileA(oldPath);
    CopyText(gLastNote.folder, countof(gLastNote.folder), folder);
    gLastNote.copy = info.copy;
    return true;
}

// A temporary file that a write cut short left goes as well.
static void DeletePart(const char* folder, int part) {
    char path[PathSize], temp[PathSize];
    if (!PartPath(path, countof(path), folder, RecoveryName, part))
        return;
    DeleteFileA(path);
    if (HistoryTempPath(temp, countof(temp), path))
        DeleteFileA(temp);
}

void RemoveRecoveryCopy(const char* folder) {
    gLastNote.folder[0] = '\0';
    for (int part = NoteFile; part <= RecoveryCopyCount; part++)
        DeletePart(folder, part);
}

static bool FileLength(const char* path, unsigned long long* length) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *length = ((unsigned long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    return true;
}

RecoveryFound FindRecoveryCopy(const char* folder, HistoryList& found, RecoveryInfo* info) {
    char notePath[PathSize], copyPath[PathSize];
    if (!PartPath(notePath, countof(notePath), folder, RecoveryName, NoteFile) || !FileExists(notePath))
        return RecoveryNone;
    unsigned long long length = 0;
    if (!ReadNote(notePath, info) || !PartPath(copyPath, countof(copyPath), folder, RecoveryName, info->copy) ||
        !FileLength(copyPath, &length) || length != info->bytes)
        return RecoveryUnreadable;
    if (!ReadHistoryCopy(found, copyPath) || found.count != info->records) {
        ClearHistoryRecords(found);
        return RecoveryUnreadable;
    }
    return RecoveryWhole;
}

// "Gyrolens.recovery.YYYYMMDD-hhmmss" from the note's last write, with
// "-2", "-3" ... when files of that name are there already.
static bool AsideName(const char* folder, const char* notePath, char* base, size_t baseSize) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME t;
    if (!GetFileAttributesExA(notePath, GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &t))
        GetLocalTime(&t);
    char stamp[48];
    FormatText(stamp, countof(stamp), "%s.%04d%02d%02d-%02d%02d%02d", RecoveryName, t.wYear, t.wMonth, t.wDay,
               t.wHour, t.wMinute, t.wSecond);
    for (int suffix = 1; suffix <= MaxAsideSuffix; suffix++) {
        if (suffix == 1)
            CopyText(base, baseSize, stamp);
        else
            FormatText(base, baseSize, "%s-%d", stamp, suffix);
        bool taken = false;
        char path[PathSize];
        for (int part = NoteFile; part <= RecoveryCopyCount; part++)
            taken = taken || !PartPath(path, countof(path), folder, base, part) || FileExists(path);
        if (!taken)
            return true;
    }
    return false;
}

bool KeepRecoveryAside(const char* folder, char* kept, size_t keptSize) {
    char notePath[PathSize], base[64];
    gLastNote.folder[0] = '\0';
    FormatText(kept, keptSize, "%s\\%s", folder, RecoveryName);
    if (!PartPath(notePath, countof(notePath), folder, RecoveryName, NoteFile) ||
        !AsideName(folder, notePath, base, countof(base)))
        return false;
    bool ok = true;
    for (int part = NoteFile; part <= RecoveryCopyCount; part++) {
        char from[PathSize], to[PathSize];
        if (!PartPath(from, countof(from), folder, RecoveryName, part) || !FileExists(from))
            continue;
        ok = PartPath(to, countof(to), folder, base, part) && MoveFileA(from, to) && ok;
    }
    if (ok)
        FormatText(kept, keptSize, "%s\\%s", folder, base);
    return ok;
}

void TakeRecoveredList(HistoryList& list, const HistoryList& found, const RecoveryInfo& info) {
    memcpy(list.records, found.records, sizeof(list.records));
    list.count = found.count;
    if (info.untitled) {
        ResetToNew(list, NULL);
    } else {
        BindHistoryFile(list, info.filePath, info.fileTitle);
        list.untitled = 0;
    }
    CopyText(list.historyFolder, countof(list.historyFolder), info.historyFolder);
    list.modified = 1;
}

// --- the running program ---------------------------------------------------

namespace {

struct RecoveryState {
    char folder[PathSize]; // empty: no copies in this run
    ScopedFile lock;       // held to the end of the process
    UINT_PTR timer;
    DWORD lastWrite;       // GetTickCount of the last copy written
    bool wroteOnce;
};

RecoveryState gRecovery;
RecoveryLink gRecoveryLink;

} // namespace

void SetRecoveryLink(const RecoveryLink& link) {
    gRecoveryLink = link;
}

bool StartRecovery(const char* folder) {
    char lockPath[PathSize];
    if (gRecovery.lock.IsValid() || !FormatText(lockPath, countof(lockPath), "%s\\%s", folder, RecoveryLockName))
        return false;
    // Gone with the process, however it ends.
    gRecovery.lock.Reset(CreateFileA(lockPath, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, NULL));
    if (!gRecovery.lock.IsValid())
        return false;
    CopyText(gRecovery.folder, countof(gRecovery.folder), folder);
    return true;
}

static void CancelCopy() {
    if (gRecovery.timer)
        KillTimer(NULL, gRecovery.timer);
    gRecovery.timer = 0;
}

void StopRecovery() {
    CancelCopy();
    gRecovery.folder[0] = '\0';
}

static void CALLBACK OnRecoveryTimer(HWND, UINT, UINT_PTR, DWORD);

static void ArmCopy(UINT delay) {
    if (!gRecovery.timer)
        gRecovery.timer = SetTimer(NULL, 0, delay, OnRecoveryTimer);
}

// WM_TIMER comes after every posted message and paint: the row that caused
// the change is on the screen before its copy is written.
static void ScheduleCopy() {
    if (!gRecovery.folder[0] || gRecovery.timer)
        return;
    DWORD since = GetTickCount() - gRecovery.lastWrite;
    ArmCopy(gRecovery.wroteOnce && since < RecoveryInterval ? RecoveryInterval - since : (DWORD)RecoveryFirstDelay);
}

static void CALLBACK OnRecoveryTimer(HWND, UINT, UINT_PTR, DWORD) {
    CancelCopy();
    if (gHistory.modified != 1 || !gRecovery.folder[0])
        return;
    if (gRecoveryLink.modalWindowOpen && gRecoveryLink.modalWindowOpen()) {
        ArmCopy(RecoveryInterval);
        return;
    }
    bool ok = WriteRecoveryCopy(gHistory, gRecovery.folder);
    gRecovery.lastWrite = GetTickCount();
    gRecovery.wroteOnce = true;
    if (!ok)
        ArmCopy(RecoveryRetryDelay);
}

void MarkHistoryChanged() {
    gHistory.modified = 1;
    ScheduleCopy();
}

void RecoveryFollowsList() {
    if (gHistory.modified == 1)
        ScheduleCopy();
    else
        DiscardRecoveryCopy();
}

void DiscardRecoveryCopy() {
    CancelCopy();
    if (gRecovery.folder[0])
        RemoveRecoveryCopy(gRecovery.folder);
}
