#include "history/HistoryFile.h"

#include <stdlib.h>
#include <string.h>

#include "base/ByteString.h"
#include "base/FileDialog.h"
#include "base/FileIo.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "settings/Settings.h"

const char UntitledName[] = "新規";

static const char FilterCsv[] = "CSV files(*.csv)\0*.csv\0files(*.*)\0*.*\0";
static const char DefaultExtension[] = "csv";
static const char OpenTitle[] = "開くファイル名を指定して下さい";
static const char SaveTitle[] = "保存するファイル名を指定して下さい";

static CaptureMonitorLink gMonitorLink;

void SetCaptureMonitorLink(const CaptureMonitorLink& link) {
    gMonitorLink = link;
}

void ClearHistoryRecords(HistoryList& list) {
    memset(list.records, 0, sizeof(list.records));
    list.count = 0;
}

static void SetUntitledName(HistoryList& list) {
    FormatText(list.filePath, countof(list.filePath), "%s\\%s", list.startFolder, UntitledName);
    CopyText(list.fileTitle, countof(list.fileTitle), UntitledName);
    list.untitled = 1;
    list.modified = 0;
}

void InitHistoryList(HistoryList& list, const char* startFolder) {
    memset(&list, 0, sizeof(list));
    CopyText(list.startFolder, countof(list.startFolder), startFolder);
    CopyText(list.historyFolder, countof(list.historyFolder), startFolder);
    SetUntitledName(list);
}

int AppendCapture(HistoryList& list, const char* imagePath, const char* comment) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (list.count >= MaxHistoryRecords)
        return 1;
    HistoryRecord& r = list.records[list.count];
    memset(&r, 0, sizeof(r));
    FormatDateStamp(r.dateTime, countof(r.dateTime), now.wYear, now.wMonth, now.wDay, now.wHour,
                    now.wMinute, now.wSecond);
    CopyText(r.comment, countof(r.comment), comment);
    CopyText(r.imagePath, countof(r.imagePath), imagePath);
    r.inHistoryFolder = ImagesInHistoryFolder(gSettings) ? 1 : 0;
    list.count++;
    return 1;
}

// --- reading -----------------------------------------------------------------

// The file is read from the disk in large blocks but handed on in chunks of
// 128 bytes: where a line ends depends on what the pending text holds at each
// step (a CR that is the last pending byte waits for the next chunk, a lone LF
// ends a line only while no CR is pending, the header must end within the
// first chunk), so the chunks keep every result of reading 128 bytes at a time.
class ChunkReader {
public:
    explicit ChunkReader(HANDLE h) : file(h), block(malloc(HistoryReadBlock)) {}
    // The next chunk; false at the end of the file or when reading failed.
    bool Next(const char** chunk, size_t* got);
    bool Failed() const { return error != 0; }
    DWORD Error() const { return error; }

private:
    enum { HistoryReadBlock = 512 * HistoryReadChunk };
    HANDLE file;
    ScopedMem block;
    size_t have = 0, pos = 0;
    bool atEnd = false;
    DWORD error = 0;
};

bool ChunkReader::Next(const char** chunk, size_t* got) {
    if (pos == have) {
        if (atEnd || error)
            return false;
        DWORD n = 0;
        if (!block.Get()) {
            error = ERROR_NOT_ENOUGH_MEMORY;
            return false;
        }
        if (!ReadSome(file, block.Get(), HistoryReadBlock, &n)) {
            error = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
            return false;
        }
        atEnd = n == 0;
        if (atEnd)
            return false;
        have = n;
        pos = 0;
    }
    *chunk = (const char*)block.Bytes() + pos;
    *got = have - pos < (size_t)HistoryReadChunk ? have - pos : (size_t)HistoryReadChunk;
    pos += *got;
    return true;
}

static void ShowLimitWarning(HWND owner) {
    char text[256];
    FormatText(text, countof(text), "最大件数%dを超えています。最大件数を超えたレコードは無視されます。",
               MaxHistoryRecords);
    AppMessageBox(owner, text, CaptionWarning, MB_OK | MB_ICONWARNING);
}

// A file that could not be read whole is no longer the list's file: the
// records read so far stay, but saving asks for a name, so the shortened
// list can never silently replace the file it came from.
static int FailRead(HistoryList& list, HWND owner, const char* format, DWORD err) {
    if (format) {
        char text[512];
        FormatText(text, countof(text), format, list.filePath, (int)err);
        AppMessageBox(owner, text, CaptionError, MB_OK | MB_ICONERROR);
    }
    SetUntitledName(list);
    return 0;
}

// Takes every complete line; false once the list is full.
static bool TakeLines(HistoryList& list, HistoryLineSplitter& splitter) {
    const char* line;
    size_t len;
    while (list.count < MaxHistoryRecords && splitter.NextLine(&line, &len)) {
        if (ParseHistoryLine(line, len, list.records[list.count]))
            list.count++;
        else
            memset(&list.records[list.count], 0, sizeof(HistoryRecord));
    }
    return list.count < MaxHistoryRecords;
}

// Reads the records after the header line up to the end of the file or the
// record limit (or a read error, which the reader keeps).  True when text
// followed the last record the list could take.
static bool ReadRecords(HistoryList& list, ChunkReader& reader, HistoryLineSplitter& splitter) {
    const char* chunk;
    size_t got;
    for (;;) {
        if (!TakeLines(list, splitter))
            return splitter.HasPendingText() || reader.Next(&chunk, &got);
        if (!reader.Next(&chunk, &got))
            return false;
        splitter.Append(chunk, got);
    }
}

struct ReadOutcome {
    bool isHistory; // false: the first chunk holds no line end
    bool overLimit; // records past the limit were left
    DWORD error;    // a read that failed, or 0
};

static ReadOutcome ReadOpenFile(HistoryList& list, HANDLE file) {
    ReadOutcome outcome = { true, false, 0 };
    ClearHistoryRecords(list);
    ChunkReader reader(file);
    const char* chunk;
    size_t got;
    if (reader.Next(&chunk, &got)) {
        HistoryLineSplitter splitter;
        splitter.Append(chunk, got);
        const char* header;
        size_t headerLen;
        if (!splitter.NextLine(&header, &headerLen)) {
            outcome.isHistory = false;
            return outcome;
        }
        outcome.overLimit = ReadRecords(list, reader, splitter);
    }
    if (reader.Failed())
        outcome.error = reader.Error();
    return outcome;
}

static const char TextReadOpenError[] = "ファイルオープンエラー [%s] errno=%d";
static const char TextReadError[] = "ファイル読み込みエラー [%s] errno=%d";

int ReadHistoryFile(HistoryList& list, HWND owner) {
    SetLastError(0);
    ScopedFile file(CreateFileA(list.filePath, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid()) {
        DWORD err = GetLastError();
        return FailRead(list, owner, err != 0 ? TextReadOpenError : NULL, err);
    }
    ReadOutcome outcome = ReadOpenFile(list, file.Get());
    if (!outcome.isHistory)
        return FailRead(list, owner, NULL, 0);
    if (outcome.overLimit)
        ShowLimitWarning(owner);
    if (outcome.error)
        return FailRead(list, owner, TextReadError, outcome.error);
    list.modified = 0;
    list.untitled = 0;
    return 1;
}

bool ReadHistoryCopy(HistoryList& list, const char* path) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid())
        return false;
    ReadOutcome outcome = ReadOpenFile(list, file.Get());
    return outcome.isHistory && !outcome.overLimit && outcome.error == 0;
}

// --- writing -----------------------------------------------------------------

// Collects the file's bytes and hands them to the disk in large pieces.
struct BufferedWriter {
    HANDLE file;
    char data[32768];
    size_t used = 0;
    unsigned long long total = 0; // bytes put
    bool ok = true;

    explicit BufferedWriter(HANDLE h) : file(h) {}
    void Put(const char* text, size_t n) {
        if (!ok)
            return;
        total += n;
        if (used + n > sizeof(data)) {
            ok = WriteAll(file, data, used);
            used = 0;
        }
        if (ok && n <= sizeof(data)) {
            memcpy(data + used, text, n);
            used += n;
        } else if (ok) {
            ok = WriteAll(file, text, n);
        }
    }
    bool Flush() {
        if (ok && used > 0)
            ok = WriteAll(file, data, used);
        used = 0;
        return ok;
    }
};

struct ListContents {
    const HistoryList* list;
    unsigned long long bytes; // the file's length once written
};

static bool WriteRecords(HANDLE h, void* context) {
    ListContents* contents = (ListContents*)context;
    const HistoryList& list = *contents->list;
    BufferedWriter writer(h);
    writer.Put(HistoryHeaderLine, strlen(HistoryHeaderLine));
    char line[MaxHistoryLineLength + 16];
    for (int i = 0; i < list.count; i++) {
        size_t n = FormatHistoryLine(list.records[i], line, countof(line));
        writer.Put(line, n);
    }
    contents->bytes = writer.total;
    return writer.Flush() && FlushFileBuffers(h);
}

// Where the platform's replace does not carry the old file's attributes over,
// they are put back; the archive flag stays as the new file has it.
static void KeepAttributes(const char* path, DWORD old) {
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD now = GetFileAttributesA(path);
    if (old == INVALID_FILE_ATTRIBUTES || now == INVALID_FILE_ATTRIBUTES || ((now ^ old) & kept) == 0)
        return;
    DWORD want = (now & FILE_ATTRIBUTE_ARCHIVE) | (old & kept);
    SetFileAttributesA(path, want ? want : FILE_ATTRIBUTE_NORMAL);
}

// Puts the finished temporary file in the target's place.  ReplaceFileA
// keeps what the old file carried (attributes such as hidden, its security
// and creation time).  Without a backup name, its one failure after which
// the old file is gone already leaves the new contents under the temporary
// name: they then take the target's name the plain way, and are never
// deleted while they are the only copy.  A target that does not exist yet,
// or one of the program's own files, which carries nothing worth keeping,
// is replaced by renaming the temporary file over it (far cheaper).
static bool PutInPlace(const char* temp, const char* path, ReplaceMode mode, bool* tempKept) {
    DWORD attributes = GetFileAttributesA(path);
    *tempKept = false;
    if (attributes == INVALID_FILE_ATTRIBUTES || mode == ReplaceByRename)
        return MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    SharingRetry retry;
    BOOL replaced;
    while (!(replaced = ReplaceFileA(path, temp, NULL, REPLACEFILE_IGNORE_MERGE_ERRORS, NULL, NULL)) &&
           retry.Again(GetLastError())) {
    }
    if (replaced) {
        KeepAttributes(path, attributes);
        return true;
    }
    DWORD err = GetLastError();
    if (FileExists(path)) {
        SetLastError(err);
        return false;
    }
    if (MoveFileExA(temp, path, MOVEFILE_WRITE_THROUGH))
        return true;
    *tempKept = true;
    SetLastError(err);
    return false;
}

bool ReplaceFileContents(const char* path, ContentWriter write, void* context, ReplaceMode mode) {
    char temp[MAX_PATH];
    if (!HistoryTempPath(temp, countof(temp), path)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // A temporary file of an interrupted save goes now.
    DeleteFileA(temp);
    ScopedFile file(CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    bool ok = file.IsValid() && write(file.Get(), context);
    ok = file.Close() && ok;
    bool tempKept = false;
    if (ok)
        ok = PutInPlace(temp, path, mode, &tempKept);
    if (!ok && !tempKept) {
        DWORD err = GetLastError();
        DeleteFileA(temp);
        SetLastError(err);
    }
    return ok;
}

bool WriteHistoryCopy(const HistoryList& list, const char* path, unsigned long long* bytes, ReplaceMode mode) {
    ListContents contents = { &list, 0 };
    bool ok = ReplaceFileContents(path, WriteRecords, &contents, mode);
    if (bytes)
        *bytes = contents.bytes;
    return ok;
}

// Makes sure the history file itself may be written (not read-only, not
// held open elsewhere, its folder present), without truncating it.  A
// program that reads the file for a moment is waited for.  False with the
// error code in *err (0 when the platform gave none).
static bool ProbeWritable(const char* path, bool existed, DWORD* err) {
    SharingRetry retry;
    for (;;) {
        SetLastError(0);
        ScopedFile probe(CreateFileA(path, GENERIC_WRITE, 0, NULL, existed ? OPEN_EXISTING : CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, NULL));
        *err = probe.IsValid() ? 0 : GetLastError();
        if (probe.IsValid())
            return true;
        if (!retry.Again(*err))
            return false;
    }
}

int WriteHistoryFile(HistoryList& list, HWND owner) {
    bool existed = FileExists(list.filePath);
    DWORD err = 0;
    if (!ProbeWritable(list.filePath, existed, &err)) {
        if (err != 0) {
            char text[512];
            FormatText(text, countof(text), "ファイルオープンエラー [%s] errno=%d  %x", list.filePath, (int)err,
                       (unsigned)(UINT_PTR)INVALID_HANDLE_VALUE);
            AppMessageBox(owner, text, CaptionError, MB_OK | MB_ICONERROR);
        }
        return 0;
    }

    // The whole list goes into a temporary file beside the history file and
    // only then takes its place, so that a full disk or a vanished device can
    // never leave the user with a truncated history.
    SetLastError(0);
    if (!WriteHistoryCopy(list, list.filePath, NULL, ReplaceKeepingFile)) {
        err = GetLastError();
        if (!existed)
            DeleteFileA(list.filePath);
        char text[512];
        FormatText(text, countof(text), "ファイル書き込みエラー [%s] errno=%d", list.filePath, (int)err);
        AppMessageBox(owner, text, CaptionError, MB_OK | MB_ICONERROR);
        return 0;
    }
    list.modified = 0;
    list.untitled = 0;
    return 1;
}

// --- binding to a file -------------------------------------------------------

void BindHistoryFile(HistoryList& list, const char* path, const char* title) {
    CopyText(list.filePath, countof(list.filePath), path);
    CopyText(list.fileTitle, countof(list.fileTitle), title);
    // The folder is the path without "\<title>"; when the dialog's title is
    // not the path's tail, fall back to the path's last backslash.
    size_t pathLen = strlen(path), titleLen = strlen(title);
    size_t folderLen;
    if (titleLen > 0 && titleLen < pathLen && EndsWith(path, title) && path[pathLen - titleLen - 1] == '\\')
        folderLen = pathLen - titleLen - 1;
    else
        folderLen = FolderPartLength(path);
    CopyTextN(list.historyFolder, countof(list.historyFolder), path, folderLen);
}

static void PrepareFileDialog(OPENFILENAMEA& ofn, HWND owner, char* file, char* title, const char* caption) {
    memset(&ofn, 0, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = FilterCsv;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = MAX_PATH;
    ofn.lpstrTitle = caption;
    ofn.lpstrDefExt = DefaultExtension;
}

int ChooseFileToOpen(HistoryList& list, HWND owner) {
    char file[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    PrepareFileDialog(ofn, owner, file, title, OpenTitle);
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!RunOpenFileDialog(&ofn))
        return 0;
    BindHistoryFile(list, file, title);
    list.modified = 0;
    list.untitled = 0;
    return 1;
}

int SaveHistoryListAs(HistoryList& list, HWND owner) {
    char file[MAX_PATH] = "";
    char title[MAX_PATH] = "";
    OPENFILENAMEA ofn;
    PrepareFileDialog(ofn, owner, file, title, SaveTitle);
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT;
    if (!RunSaveFileDialog(&ofn))
        return 0;
    BindHistoryFile(list, file, title);
    WriteHistoryFile(list, owner);
    return 1;
}

int SaveHistoryList(HistoryList& list, HWND owner) {
    if (list.untitled)
        return SaveHistoryListAs(list, owner);
    return WriteHistoryFile(list, owner);
}

int ResetToNew(HistoryList& list, HWND owner) {
    bool monitoring = gMonitorLink.isMonitoring && gMonitorLink.isMonitoring();
    if (monitoring && ImagesInHistoryFolder(gSettings)) {
        AppMessageBox(owner, TextImagesNeedHistoryFileStop, list.historyFolder, MB_OK | MB_ICONWARNING);
        if (gMonitorLink.requestStop)
            gMonitorLink.requestStop();
    }
    SetUntitledName(list);
    return 1;
}
