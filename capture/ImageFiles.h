// Numbered image files: the next file name in the capture folder, the
// running number, the overwrite question, and the 24-bit BMP and baseline
// JPEG writers.
#pragma once

#include <windows.h>

#include <stdio.h>

#include "base/WinHandles.h"
#include "capture/CaptureContext.h"

// Refuses a capture when the stored start number is past the maximum: says
// so, opens the settings sheet, returns false.
bool CheckImageNumberLeft(HWND owner);

// Builds saveFolder and imageFilePath for the coming file; returns the path
// (empty when it would not fit a path buffer).
const char* NextImageFilePath(CaptureContext& ctx);
// Steps the number after a write, whatever its result.
void AdvanceImageNumber(CaptureContext& ctx);

// Each returns 0 when the file was written, -1 otherwise (after saying why;
// a partly written file is removed).
int WriteBmpFile(CaptureContext& ctx, HWND owner, const char* path);
int WriteJpegFile(CaptureContext& ctx, HWND owner, const char* path);
int WritePngFile(CaptureContext& ctx, HWND owner, const char* path);
// The writer of the context's format.
int WriteImageFile(CaptureContext& ctx, HWND owner, const char* path);

// The grabbed bitmap as bottom-up 24-bit rows, exactly the pixel rows of
// the BMP file: the grab's own DIB section when it already holds them,
// otherwise one image-sized buffer filled by GetDIBits on the owner's
// display context.  The rows are read, never changed.
struct CapturedPixels {
    unsigned char header[BmpHeaderSize]; // the BMP file's headers
    ScopedMem buffer;
    const unsigned char* rows = NULL;
    int width = 0;
    int height = 0;
    size_t stride = 0;
    size_t size = 0;
};
bool ReadCapturedPixels(const CaptureContext& ctx, HWND owner, CapturedPixels& px);

// Fault injection for tests: opens the stream the JPEG is written to; NULL
// restores fopen.
typedef FILE* (*JpegStreamHook)(const char* path);
void SetJpegStreamHook(JpegStreamHook opener);
