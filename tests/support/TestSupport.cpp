#include "tests/support/TestSupport.h"

#include <stdio.h>

#include <algorithm>

#include "base/FileIo.h"
#include "base/MessageBox.h"

TempDir::TempDir(const char* tag) {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static int serial;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof(name), "%s%s-%lu-%d", base, tag, GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(name, NULL)) {
            path = name;
            break;
        }
    }
}

TempDir::~TempDir() {
    RemoveTree(path);
}

std::string TempDir::File(const std::string& name) const {
    return path + "\\" + name;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[65536];
    DWORD got;
    while (ReadFile(h, buf, sizeof(buf), &got, NULL) && got > 0)
        bytes.append(buf, got);
    CloseHandle(h);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDirectory() {
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}

std::string TestDataPath(const std::string& relative) {
    // The source tree is a Unix path; Wine shows the Unix root as drive Z.
    std::string path = std::string("Z:") + GYROLENS_TEST_DATA + "/" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static MessageBoxRecorder* gRecorder;

MessageBoxRecorder::MessageBoxRecorder() {
    gRecorder = this;
    SetMessageBoxHook(Hook);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHook(NULL);
    gRecorder = NULL;
}

int MessageBoxRecorder::Hook(HWND owner, const char* text, const char* caption, UINT flags) {
    gRecorder->messages.push_back({ owner, text ? text : "", caption ? caption : "", flags });
    if (gRecorder->answers.empty())
        return IDOK;
    int answer = gRecorder->answers.front();
    gRecorder->answers.pop_front();
    return answer;
}

static size_t gBytesLeft;

DiskFullAfter::DiskFullAfter(size_t okBytes) {
    gBytesLeft = okBytes;
    SetWriteFileHook(Write);
}

DiskFullAfter::~DiskFullAfter() {
    SetWriteFileHook(NULL);
}

BOOL WINAPI DiskFullAfter::Write(HANDLE h, LPCVOID data, DWORD n, LPDWORD written, LPOVERLAPPED ov) {
    if (n <= gBytesLeft) {
        gBytesLeft -= n;
        return WriteFile(h, data, n, written, ov);
    }
    // Part of the block reaches the disk, then the disk is full.
    DWORD part = (DWORD)gBytesLeft;
    gBytesLeft = 0;
    if (part > 0 && !WriteFile(h, data, part, written, ov))
        return FALSE;
    if (part > 0)
        return TRUE;
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}
