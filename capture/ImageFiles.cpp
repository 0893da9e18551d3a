#include "capture/ImageFiles.h"

#include <string.h>

#include "base/ByteString.h"
#include "base/FileIo.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "capture/Hotkeys.h"
#include "capture/JpegErrorManager.h"
#include "capture/PngEncoder.h"
#include "capture/ScreenCapture.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

static const char TextNoCapture[] = "スクリーンキャプチャが行われていません";
static const char TextWriteFailed[] = "画像ファイルの書き込みに失敗しました\r\n%s";

static FILE* OpenJpegStream(const char* path) {
    return fopen(path, "wb");
}

static JpegStreamHook gJpegStreamHook = OpenJpegStream;

void SetJpegStreamHook(JpegStreamHook opener) {
    gJpegStreamHook = opener ? opener : OpenJpegStream;
}

bool CheckImageNumberLeft(HWND owner) {
    if (gSettings.nextImageNumber <= gSettings.maxImageNumber)
        return true;
    AppMessageBox(owner, TextNumberPastMaximum, CaptionNumberError, MB_OK | MB_ICONWARNING);
    OpenSettingsSheetForCapture(owner);
    return false;
}

const char* NextImageFilePath(CaptureContext& ctx) {
    memset(ctx.imageFilePath, 0, sizeof(ctx.imageFilePath));
    const char* folder = ImagesInHistoryFolder(gSettings) ? gHistory.historyFolder : gSettings.imageFolder;
    CopyText(ctx.saveFolder, countof(ctx.saveFolder), folder);
    // One separator is added below; a folder given with its own trailing
    // backslash loses that one (a trail byte 0x5C is left alone).
    RemoveTrailingBackslash(ctx.saveFolder);
    if (ctx.nextNumber > gSettings.maxImageNumber)
        ctx.nextNumber = 0;
    BuildImageFileName(ctx.imageFilePath, countof(ctx.imageFilePath), ctx.saveFolder, ctx.filePrefix,
                       ctx.nextNumber, gSettings.zeroPadNumber == 1, ctx.imageFormat);
    return ctx.imageFilePath;
}

void AdvanceImageNumber(CaptureContext& ctx) {
    ctx.nextNumber = NumberAfter(ctx.nextNumber, gSettings.maxImageNumber);
}

// --- opening and the overwrite question ------------------------------------

enum OpenResult { Opened, Refused };

// Opens (creating when needed) the image file; asks before an existing file
// is overwritten.  *existed tells whether the file was there before.
static OpenResult OpenImageFile(const CaptureContext& ctx, HWND owner, const char* path, ScopedFile& file,
                                bool* existed) {
    *existed = false;
    if (!ctx.bitmap) {
        AppMessageBox(owner, TextNoCapture, CaptionSystemError, MB_OK | MB_ICONERROR);
        return Refused;
    }
    SetLastError(0);
    file.Reset(CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
    *existed = file.IsValid() && GetLastError() == ERROR_ALREADY_EXISTS;
    if (*existed && ctx.confirmOverwrite == 1 &&
        AppMessageBox(owner, TextOverwriteQuestion, path, MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        file.Close();
        return Refused;
    }
    if (!file.IsValid()) {
        AppMessageBox(owner, TextFileOpenFailed, CaptionSystemError, MB_OK | MB_ICONERROR);
        return Refused;
    }
    return Opened;
}

// A capture that could not be written leaves no file behind that the
// history might point at: the file goes, and the user is told.
static int FailWrite(HWND owner, const char* path, bool removeFile) {
    if (removeFile)
        DeleteFileA(path);
    char text[MAX_PATH + 128];
    FormatText(text, countof(text), TextWriteFailed, path);
    AppMessageBox(owner, text, CaptionSystemError, MB_OK | MB_ICONERROR);
    return -1;
}

// --- pixels ----------------------------------------------------------------

// The pixels of a 24-bit bottom-up DIB section of the given size, or NULL.
static const unsigned char* DibRows(HBITMAP bitmap, int width, int height) {
    DIBSECTION dib;
    if (GetObjectA(bitmap, sizeof(dib), &dib) != (int)sizeof(dib) || !dib.dsBm.bmBits)
        return NULL;
    const BITMAPINFOHEADER& h = dib.dsBmih;
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || h.biWidth != width || h.biHeight != height)
        return NULL;
    GdiFlush(); // drawing into the section may still be queued
    return (const unsigned char*)dib.dsBm.bmBits;
}

bool ReadCapturedPixels(const CaptureContext& ctx, HWND owner, CapturedPixels& px) {
    CapturedImageSize(ctx, &px.width, &px.height);
    if (!BuildBmpHeaders(px.header, px.width, px.height))
        return false;
    px.stride = (size_t)BmpStride(px.width);
    px.size = px.stride * (size_t)px.height;
    px.rows = DibRows(ctx.bitmap, px.width, px.height);
    if (px.rows)
        return true;
    px.buffer.Reset(calloc(px.size, 1));
    if (!px.buffer.Get())
        return false;
    // The information header that is written is also the request to GetDIBits.
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    memcpy(&info.bmiHeader, px.header + 14, sizeof(BITMAPINFOHEADER));
    ScopedWindowDC dc(owner);
    int rows = GetDIBits(dc, ctx.bitmap, 0, (UINT)px.height, px.buffer.Get(), &info, DIB_RGB_COLORS);
    px.rows = px.buffer.Bytes();
    return rows != 0;
}

// --- whole files: BMP and PNG ---------------------------------------------------

// A file's bytes in at most two pieces, the second owned when it was made
// for the file.
struct FileBytes {
    const void* head = NULL;
    size_t headSize = 0;
    const void* body = NULL;
    size_t bodySize = 0;
    ScopedMem owned;
};

typedef bool (*MakeFileBytes)(const CaptureContext& ctx, const CapturedPixels& px, FileBytes& out);

// Opens the file, makes its bytes from the pixels and writes them.  An
// overwritten file ends with the new content: nothing of the old bytes may
// remain past it.
static int WriteWholeFile(CaptureContext& ctx, HWND owner, const char* path, MakeFileBytes make) {
    ScopedFile file;
    bool existed;
    if (OpenImageFile(ctx, owner, path, file, &existed) != Opened)
        return -1;
    CapturedPixels px;
    FileBytes bytes;
    if (!ReadCapturedPixels(ctx, owner, px) || !make(ctx, px, bytes)) {
        file.Close();
        return FailWrite(owner, path, !existed);
    }
    bool ok = WriteAll(file.Get(), bytes.head, bytes.headSize) && WriteAll(file.Get(), bytes.body, bytes.bodySize) &&
              SetEndOfFile(file.Get());
    ok = file.Close() && ok;
    if (!ok)
        return FailWrite(owner, path, true);
    return 0;
}

// The headers, then the rows as the grab holds them.
static bool MakeBmpBytes(const CaptureContext&, const CapturedPixels& px, FileBytes& out) {
    out.head = px.header;
    out.headSize = BmpHeaderSize;
    out.body = px.rows;
    out.bodySize = px.size;
    return true;
}

int WriteBmpFile(CaptureContext& ctx, HWND owner, const char* path) {
    return WriteWholeFile(ctx, owner, path, MakeBmpBytes);
}

// The whole PNG file, compressed in memory.
static bool MakePngBytes(const CaptureContext&, const CapturedPixels& px, FileBytes& out) {
    PngBytes png = EncodePng(px.rows, px.width, px.height, px.stride);
    out.owned.Reset(png.data);
    out.body = png.data;
    out.bodySize = png.size;
    return png.data != NULL;
}

int WritePngFile(CaptureContext& ctx, HWND owner, const char* path) {
    return WriteWholeFile(ctx, owner, path, MakePngBytes);
}

int WriteImageFile(CaptureContext& ctx, HWND owner, const char* path) {
    switch (ctx.imageFormat) {
    case ImageJpeg: return WriteJpegFile(ctx, owner, path);
    case ImagePng:  return WritePngFile(ctx, owner, path);
    default:        return WriteBmpFile(ctx, owner, path);
    }
}

// --- JPEG ------------------------------------------------------------------

// libjpeg takes red, green, blue; the rows hold blue, green, red.
static void CopyAsRgb(unsigned char* out, const unsigned char* row, int width) {
    for (int x = 0; x < width; x++, out += 3, row += 3) {
        out[0] = row[2];
        out[1] = row[1];
        out[2] = row[0];
    }
}

// Compresses the bottom-up rows as a baseline JFIF file with the fast
// integer DCT, one scanline per call, each row converted to RGB in a row
// buffer.  Only plain data lives in this frame, so the error manager's
// longjmp skips no destructor.
static bool CompressJpeg(FILE* fp, const CapturedPixels& px, unsigned char* rgb, int quality) {
    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = InitJpegErrorManager(&err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    cinfo.image_width = (JDIMENSION)px.width;
    cinfo.image_height = (JDIMENSION)px.height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_stdio_dest(&cinfo, fp);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_IFAST;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        CopyAsRgb(rgb, px.rows + (size_t)(px.height - 1 - (int)cinfo.next_scanline) * px.stride, px.width);
        JSAMPROW row = rgb;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

int WriteJpegFile(CaptureContext& ctx, HWND owner, const char* path) {
    bool existed;
    {
        // This handle only proves that the file can be written.
        ScopedFile file;
        if (OpenImageFile(ctx, owner, path, file, &existed) != Opened)
            return -1;
    }
    CapturedPixels px;
    if (!ReadCapturedPixels(ctx, owner, px))
        return FailWrite(owner, path, !existed);
    ScopedMem rgb(malloc(px.stride));
    FILE* fp = rgb.Get() ? gJpegStreamHook(path) : NULL;
    if (!fp)
        return FailWrite(owner, path, !existed);
    ScopedStdFile stream(fp);
    bool ok = CompressJpeg(fp, px, rgb.Bytes(), ctx.jpegQuality);
    ok = stream.Close() && ok;
    if (!ok)
        return FailWrite(owner, path, true);
    return 0;
}
