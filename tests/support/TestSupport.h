// Helpers shared by the Win32 tests: scratch folders, whole-file reads and
// writes, and a recorder that answers the program's message boxes.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// A fresh folder under %TEMP%, removed with everything in it at scope exit.
class TempDir {
public:
    explicit TempDir(const char* tag = "gyrolens");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path; }
    // path + "\" + name
    std::string File(const std::string& name) const;

private:
    std::string path;
};

void RemoveTree(const std::string& path);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
std::string CurrentDirectory();
// Names of the files (not folders) in a folder, sorted.
std::vector<std::string> FilesIn(const std::string& folder);

// The folder of the repository's test data (converted for Wine).
std::string TestDataPath(const std::string& relative);

struct RecordedMessage {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

// While alive, every AppMessageBox is recorded and answered with the next
// queued answer (IDOK when none is queued).
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(int answer) { answers.push_back(answer); }
    std::vector<RecordedMessage> messages;

private:
    static int Hook(HWND owner, const char* text, const char* caption, UINT flags);
    std::deque<int> answers;
};

// Fault injection: after `okBytes` bytes, every WriteFile fails with
// ERROR_DISK_FULL, as on a full disk.  Restored at scope exit.
class DiskFullAfter {
public:
    explicit DiskFullAfter(size_t okBytes);
    ~DiskFullAfter();
    DiskFullAfter(const DiskFullAfter&) = delete;
    DiskFullAfter& operator=(const DiskFullAfter&) = delete;

private:
    static BOOL WINAPI Write(HANDLE h, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED ov);
};
