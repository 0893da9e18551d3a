// Checked file reads and writes.  A write that stores fewer bytes than asked
// for is a failure (a full disk or a vanished device), never a silent short
// file; a read that fails is never taken for the end of the file.
#pragma once

#include <windows.h>

#include <stddef.h>

// Writes all n bytes to h; false (with the error in GetLastError) otherwise.
bool WriteAll(HANDLE h, const void* data, size_t n);
bool WriteText(HANDLE h, const char* text);

// Fault injection for tests: replaces WriteFile underneath WriteAll.
typedef BOOL(WINAPI* WriteFileFn)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
void SetWriteFileHook(WriteFileFn fn);

// Reads up to n bytes into data.  True with *got 0 at the end of the file;
// false (with the error in GetLastError) when the read failed.
bool ReadSome(HANDLE h, void* data, DWORD n, DWORD* got);

// Fault injection for tests: replaces ReadFile underneath ReadSome.
typedef BOOL(WINAPI* ReadFileFn)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
void SetReadFileHook(ReadFileFn fn);

bool FileExists(const char* path);

// Virus scanners, search indexers and sync clients open files for a moment
// all day: an open that meets a sharing or lock violation is tried again, a
// few hundred milliseconds apart, for up to two seconds.
//   SharingRetry retry;
//   do { ... } while (failed && retry.Again(GetLastError()));
class SharingRetry {
public:
    SharingRetry();
    // Waits and returns true when `error` is worth another try.
    bool Again(DWORD error);

private:
    DWORD start;
};

// The process's working directory; empty when it does not fit `size`.
void GetWorkingDirectory(char* out, size_t size);
