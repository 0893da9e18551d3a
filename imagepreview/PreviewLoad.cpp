// Loading the selected record's image into the preview: the row's image
// text becomes a path, and the path's ending picks the JPEG, BMP or PNG
// loader.  A file that cannot be opened leaves the old picture; a JPEG or
// BMP that cannot be read leaves none and says so, a PNG leaves the old one.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "history/HistoryFile.h"
#include "history/HistoryPaths.h"
#include "history/HistoryView.h"
#include "imagepreview/PreviewPng.h"
#include "imagepreview/PreviewWindow.h"

static const char TextOpenFailedFor[] = "ファイルのオープンに失敗しました\r\n (%s)\r\n";
static const char TextReadFailedFor[] = "ファイルの読み込みに失敗しました\r\n (%s)\r\n";

static void ShowPathMessage(const char* format, const char* path) {
    char text[PathSize + 64];
    FormatText(text, countof(text), format, path);
    AppMessageBox(gPreview.messageOwner, text, CaptionErrorUpper, MB_OK | MB_ICONERROR);
}

typedef bool (*DecodeStream)(FILE* stream, PreviewImage& image);

// Each loader says whether the picture now shown is the file's.  A JPEG
// that cannot be decoded leaves no picture; a PNG leaves the previous one.
static bool LoadStreamFile(const char* path, DecodeStream decode, bool keepOld) {
    FILE* stream = fopen(path, "rb");
    if (!stream) {
        ShowPathMessage(TextOpenFailedFor, path);
        return false;
    }
    ScopedStdFile file(stream);
    if (!keepOld)
        gPreview.image.Free();
    if (decode(stream, gPreview.image))
        return true;
    ShowPathMessage(TextReadFailedFor, path);
    return false;
}

// Reads the block a checked BMP header leads to and makes the picture of
// it.  False, with the old picture already gone, when the file is not one
// the preview can draw; an allocation that fails leaves no picture and no
// message.
static bool ReadBmpBlock(HANDLE file) {
    unsigned char header[BmpFileHeaderSize];
    DWORD got = 0;
    BOOL read = ReadFile(file, header, sizeof(header), &got, NULL);
    gPreview.image.Free();
    LARGE_INTEGER fileSize;
    if (!read || got != sizeof(header) || !GetFileSizeEx(file, &fileSize))
        return false;
    size_t size = BmpBlockSize(header, (uint64_t)fileSize.QuadPart);
    if (size == 0)
        return false;
    unsigned char* block = (unsigned char*)malloc(size);
    if (!block)
        return true;
    if (!ReadFile(file, block, (DWORD)size, &got, NULL)) {
        free(block);
        return false;
    }
    return DecodeBmpBlock(header, block, got, gPreview.image);
}

static bool LoadBmpFile(const char* path) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!file.IsValid()) {
        AppMessageBox(gPreview.messageOwner, TextFileOpenFailed, CaptionErrorTitle, MB_OK);
        return false;
    }
    if (ReadBmpBlock(file.Get()))
        return !gPreview.image.Empty();
    ShowPathMessage(TextReadFailedFor, path);
    return false;
}

// The file the picture came from, as it was when read.  Selecting a row
// whose file is already shown, unchanged, needs no second decoding: after a
// capture the new row is selected (one reload) and the hotkey's own step
// reloads again.
struct ShownFile {
    char path[PathSize];
    WIN32_FILE_ATTRIBUTE_DATA data;
};
static ShownFile gShown;

static bool ReadFileData(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return GetFileAttributesExA(path, GetFileExInfoStandard, data) != FALSE;
}

static bool IsShown(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    return !gPreview.image.Empty() && strcmp(gShown.path, path) == 0 && ReadFileData(path, &now) &&
           now.nFileSizeLow == gShown.data.nFileSizeLow && now.nFileSizeHigh == gShown.data.nFileSizeHigh &&
           CompareFileTime(&now.ftLastWriteTime, &gShown.data.ftLastWriteTime) == 0;
}

// Only a picture loaded from `path` counts as its: after a failed load the
// preview may still hold the previous row's picture.
static void RememberShown(const char* path, bool loaded) {
    gShown.path[0] = '\0';
    if (loaded && ReadFileData(path, &gShown.data))
        CopyText(gShown.path, countof(gShown.path), path);
}

// A run of captures of one size refills the block already shown: fresh
// memory costs far more than the copy.
void ShowCapturedPixels(const char* path, const void* infoHeader, const void* rows, size_t rowsSize) {
    size_t size = DibHeaderSize + rowsSize;
    unsigned char* block = gPreview.image.Size() == size ? gPreview.image.Release() : (unsigned char*)malloc(size);
    if (!block)
        return; // the reload reads the file instead
    memcpy(block, infoHeader, DibHeaderSize);
    memcpy(block + DibHeaderSize, rows, rowsSize);
    gPreview.image.Reset(block, DibHeaderSize + rowsSize);
    RememberShown(path, true);
}

static void LoadRowImage(int row) {
    char text[PathSize];
    GetCellText(row, ColumnImage, text, (int)countof(text));
    char path[PathSize];
    if (!ImageFullPath(gHistory.historyFolder, text, path, countof(path))) {
        // Too long for a path: there is no file of that name to open.
        ShowPathMessage(TextOpenFailedFor, text);
        return;
    }
    if (!IsShown(path)) {
        bool loaded = false;
        switch (ChooseLoader(path)) {
        case LoaderJpeg: loaded = LoadStreamFile(path, DecodeJpegStream, false); break;
        case LoaderBmp:  loaded = LoadBmpFile(path); break;
        case LoaderPng:  loaded = LoadStreamFile(path, DecodePngStream, true); break;
        case LoaderNone: gPreview.image.Free(); break;
        }
        RememberShown(path, loaded);
    }
    UpdatePreviewScrollBars();
}

void ReloadPreview() {
    if (!gPreview.window)
        return;
    int row = FirstSelectedRow();
    if (row < 0)
        gPreview.image.Free();
    else
        LoadRowImage(row);
    InvalidateRect(gPreview.window, NULL, TRUE);
}
