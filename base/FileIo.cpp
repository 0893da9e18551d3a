#include "base/FileIo.h"

#include <string.h>

static WriteFileFn gWriteFile = WriteFile;
static ReadFileFn gReadFile = ReadFile;

void SetReadFileHook(ReadFileFn fn) {
    gReadFile = fn ? fn : ReadFile;
}

bool ReadSome(HANDLE h, void* data, DWORD n, DWORD* got) {
    *got = 0;
    return gReadFile(h, data, n, got, NULL) != FALSE;
}

void SetWriteFileHook(WriteFileFn fn) {
    gWriteFile = fn ? fn : WriteFile;
}

bool WriteAll(HANDLE h, const void* data, size_t n) {
    const char* p = (const char*)data;
    while (n > 0) {
        DWORD part = n > 0x40000000 ? 0x40000000 : (DWORD)n;
        DWORD written = 0;
        if (!gWriteFile(h, p, part, &written, NULL))
            return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        p += written;
        n -= written;
    }
    return true;
}

bool WriteText(HANDLE h, const char* text) {
    return WriteAll(h, text, strlen(text));
}

void GetWorkingDirectory(char* out, size_t size) {
    DWORD n = GetCurrentDirectoryA((DWORD)size, out);
    if (n == 0 || n >= size)
        out[0] = '\0';
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

enum { SharingRetryPause = 250, SharingRetryLimit = 2000 };

SharingRetry::SharingRetry() : start(GetTickCount()) {}

bool SharingRetry::Again(DWORD error) {
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
        return false;
    if (GetTickCount() - start + SharingRetryPause > SharingRetryLimit)
        return false;
    Sleep(SharingRetryPause);
    return true;
}
