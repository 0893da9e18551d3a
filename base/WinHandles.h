// Small owners for Win32 handles, so that every early return releases what
// a function acquired.  None of them can be copied; the ones that functions
// hand back can be moved.
#pragma once

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

// A file handle from CreateFileA (INVALID_HANDLE_VALUE when empty).
class ScopedFile {
public:
    ScopedFile() = default;
    explicit ScopedFile(HANDLE h) : handle(h) {}
    ScopedFile(ScopedFile&& other) noexcept : handle(other.Release()) {}
    ScopedFile& operator=(ScopedFile&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile() { Reset(INVALID_HANDLE_VALUE); }

    bool IsValid() const { return handle != INVALID_HANDLE_VALUE && handle != NULL; }
    HANDLE Get() const { return handle; }
    HANDLE Release() {
        HANDLE h = handle;
        handle = INVALID_HANDLE_VALUE;
        return h;
    }
    void Reset(HANDLE h) {
        if (IsValid())
            CloseHandle(handle);
        handle = h;
    }
    // Closes now and reports whether the close succeeded.
    bool Close() {
        if (!IsValid())
            return true;
        BOOL ok = CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// A DC from CreateDCA or CreateCompatibleDC, freed with DeleteDC.
class ScopedCreatedDC {
public:
    explicit ScopedCreatedDC(HDC h) : hdc(h) {}
    ScopedCreatedDC(const ScopedCreatedDC&) = delete;
    ScopedCreatedDC& operator=(const ScopedCreatedDC&) = delete;
    ~ScopedCreatedDC() {
        if (hdc)
            DeleteDC(hdc);
    }
    HDC Get() const { return hdc; }
    operator HDC() const { return hdc; }

private:
    HDC hdc;
};

// A DC from GetDC, given back with ReleaseDC.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND w) : hwnd(w), hdc(GetDC(w)) {}
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    ~ScopedWindowDC() {
        if (hdc)
            ReleaseDC(hwnd, hdc);
    }
    HDC Get() const { return hdc; }
    operator HDC() const { return hdc; }

private:
    HWND hwnd;
    HDC hdc;
};

// A GDI object (pen, brush, bitmap, font) freed with DeleteObject.
template <typename T>
class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(T h) : obj(h) {}
    ScopedGdiObject(ScopedGdiObject&& other) noexcept : obj(other.Release()) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    ~ScopedGdiObject() { Reset(NULL); }

    T Get() const { return obj; }
    operator T() const { return obj; }
    T Release() {
        T h = obj;
        obj = NULL;
        return h;
    }
    void Reset(T h) {
        if (obj)
            DeleteObject(obj);
        obj = h;
    }

private:
    T obj = NULL;
};

typedef ScopedGdiObject<HBITMAP> ScopedBitmap;
typedef ScopedGdiObject<HPEN> ScopedPen;
typedef ScopedGdiObject<HFONT> ScopedFont;
typedef ScopedGdiObject<HBRUSH> ScopedBrush;

// Selects an object into a DC and puts the previous one back on scope exit.
// An empty one selects later, with Select.
class ScopedSelect {
public:
    ScopedSelect() = default;
    ScopedSelect(HDC h, HGDIOBJ obj) { Select(h, obj); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { Restore(); }
    void Select(HDC h, HGDIOBJ obj) {
        Restore();
        hdc = h;
        previous = SelectObject(h, obj);
    }

private:
    void Restore() {
        if (previous && previous != HGDI_ERROR)
            SelectObject(hdc, previous);
        previous = NULL;
    }
    HDC hdc = NULL;
    HGDIOBJ previous = NULL;
};

// A heap block from malloc/calloc.
class ScopedMem {
public:
    ScopedMem() = default;
    explicit ScopedMem(void* p) : ptr(p) {}
    ScopedMem(const ScopedMem&) = delete;
    ScopedMem& operator=(const ScopedMem&) = delete;
    ~ScopedMem() { free(ptr); }
    void Reset(void* p) {
        free(ptr);
        ptr = p;
    }
    // Hands the block over without freeing it.
    void* Release() {
        void* p = ptr;
        ptr = NULL;
        return p;
    }
    void* Get() const { return ptr; }
    unsigned char* Bytes() const { return (unsigned char*)ptr; }
    char* Chars() const { return (char*)ptr; }

private:
    void* ptr = NULL;
};

// A C stream from fopen, closed with fclose.
class ScopedStdFile {
public:
    explicit ScopedStdFile(FILE* f) : fp(f) {}
    ScopedStdFile(const ScopedStdFile&) = delete;
    ScopedStdFile& operator=(const ScopedStdFile&) = delete;
    ~ScopedStdFile() { Close(); }
    FILE* Get() const { return fp; }
    // Closes now and reports whether everything buffered reached the file.
    bool Close() {
        if (!fp)
            return true;
        int rc = fclose(fp);
        fp = NULL;
        return rc == 0;
    }

private:
    FILE* fp;
};

// A menu from LoadMenuA, destroyed with DestroyMenu.
class ScopedMenu {
public:
    explicit ScopedMenu(HMENU h) : menu(h) {}
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    ~ScopedMenu() {
        if (menu)
            DestroyMenu(menu);
    }
    HMENU Get() const { return menu; }

private:
    HMENU menu;
};

// A search from FindFirstFileA, ended with FindClose.
class ScopedFind {
public:
    explicit ScopedFind(HANDLE h) : handle(h) {}
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    ~ScopedFind() {
        if (IsValid())
            FindClose(handle);
    }
    bool IsValid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};

// A module from LoadLibraryA.
class ScopedModule {
public:
    explicit ScopedModule(HMODULE h) : module(h) {}
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;
    ~ScopedModule() {
        if (module)
            FreeLibrary(module);
    }
    HMODULE Get() const { return module; }

private:
    HMODULE module;
};

// A movable global block from GlobalAlloc, freed with GlobalFree unless it
// was handed over (to the clipboard, which then owns it).
class ScopedGlobal {
public:
    explicit ScopedGlobal(HGLOBAL h) : block(h) {}
    ScopedGlobal(const ScopedGlobal&) = delete;
    ScopedGlobal& operator=(const ScopedGlobal&) = delete;
    ~ScopedGlobal() {
        if (block)
            GlobalFree(block);
    }
    HGLOBAL Get() const { return block; }
    HGLOBAL Release() {
        HGLOBAL h = block;
        block = NULL;
        return h;
    }

private:
    HGLOBAL block;
};

// The clipboard, once opened, closed when the scope ends.
class ScopedClipboard {
public:
    ScopedClipboard() = default;
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    ~ScopedClipboard() {
        if (open)
            CloseClipboard();
    }
    bool Open(HWND owner) {
        if (!open)
            open = OpenClipboard(owner) != FALSE;
        return open;
    }

private:
    bool open = false;
};
