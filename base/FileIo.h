// Checked file writes.  A write that stores fewer bytes than asked for is a
// failure (a full disk or a vanished device), never a silent short file.
#pragma once

#include <windows.h>

#include <stddef.h>

// Writes all n bytes to h; false (with the error in GetLastError) otherwise.
bool WriteAll(HANDLE h, const void* data, size_t n);
bool WriteText(HANDLE h, const char* text);

// Fault injection for tests: replaces WriteFile underneath WriteAll.
typedef BOOL(WINAPI* WriteFileFn)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
void SetWriteFileHook(WriteFileFn fn);

bool FileExists(const char* path);

// The process's working directory; empty when it does not fit `size`.
void GetWorkingDirectory(char* out, size_t size);
