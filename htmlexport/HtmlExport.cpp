#include "htmlexport/HtmlExport.h"

#include <stdlib.h>
#include <string.h>

#include "base/ByteString.h"
#include "base/FileIo.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "base/WinHandles.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

HtmlExportJob gHtmlExportJob;

namespace {

// What one GeneratePages call shares between its pages: the owner of its
// message boxes, the two work buffers, whether a write to the page in hand
// has failed (the rest of that page is then skipped), the number of pages,
// and what the caller is told.
struct ExportRun {
    HWND owner;
    HtmlWorkBuffers work;
    bool writeFailed;
    int pageCount;
    HtmlExportStatus* status;
};

enum PageResult { PageDone, PageDeclined, PageFailed };

typedef void (*RecordCellsWriter)(HANDLE out, const HistoryRecord& r);

ExportRun* gRun; // set only while GeneratePages runs
CopyFileFn gCopyFile = CopyFileA;

} // namespace

void SetCopyFileHook(CopyFileFn fn) {
    gCopyFile = fn ? fn : CopyFileA;
}

bool SetJob(int layout, int itemsPerPage, int imageWidth, int descriptionWidth, const char* outputFolder,
            const char* fileNameRule) {
    HtmlExportJob& job = gHtmlExportJob;
    bool asGiven = layout >= 0 && layout < LayoutCount && itemsPerPage >= 1;
    job.layout = layout >= 0 && layout < LayoutCount ? layout : 0;
    job.itemsPerPage = itemsPerPage >= 1 ? itemsPerPage : 1;
    job.imageWidth = imageWidth;
    job.descriptionWidth = descriptionWidth;
    asGiven = CopyText(job.outputFolder, countof(job.outputFolder), outputFolder) && asGiven;
    asGiven = CopyText(job.fileNameRule, countof(job.fileNameRule), fileNameRule) && asGiven;
    return asGiven;
}

// --- writing fragments and included texts -------------------------------------

// One fragment, one write.  Once a write has failed the rest of the page is
// skipped; the page is reported and removed when it is closed.
static void Put(HANDLE out, const char* fragment) {
    if (gRun->writeFailed || fragment[0] == '\0')
        return;
    if (!WriteText(out, fragment))
        gRun->writeFailed = true;
}

// Sends the text file `in` through the work buffers, escaped, piece by piece.
// Pieces end on character boundaries (a final lead byte waits for its trail
// byte), and each fits a buffer once escaped, so a file of any length comes
// through whole.  The text ends at its first zero byte, as any text held in a
// zero-terminated buffer does.
static void StreamEscapedText(HANDLE out, HANDLE in, bool preformatted) {
    HtmlWorkBuffers& work = gRun->work;
    size_t held = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, work.text + held, (DWORD)(HtmlIncludeChunk - held), &got, NULL))
            got = 0;
        size_t n = held + got;
        size_t whole = got == 0 ? n : SjisWholeLength(work.text, n);
        char next = whole < n ? work.text[whole] : '\0';
        const char* zero = (const char*)memchr(work.text, '\0', whole);
        work.text[zero ? (size_t)(zero - work.text) : whole] = '\0';
        EscapeIncludedText(work, preformatted);
        Put(out, work.text);
        if (got == 0 || zero)
            return;
        held = n - whole;
        work.text[0] = next;
    }
}

// Writes the escaped contents of a text file; nothing, and false, when the
// file cannot be opened.  With the description width that fits the text the
// lines stay as they are inside "<pre>"; otherwise CR becomes " " and LF
// "<BR>".
static bool IncludeTextFile(HANDLE out, const char* path) {
    if (!gRun || gRun->writeFailed)
        return false;
    ScopedFile in(CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    if (!in.IsValid())
        return false;
    bool preformatted = gHtmlExportJob.descriptionWidth == DescriptionFitsText;
    if (preformatted)
        Put(out, HtmlPreStart);
    StreamEscapedText(out, in.Get(), preformatted);
    if (preformatted)
        Put(out, HtmlPreEnd);
    return true;
}

// Copies `source` into the output folder under its file name, replacing a
// file of that name; false when the image is not there afterwards.  Nothing
// is copied when the images are not wanted, when the source names no file,
// or when it already is the destination.  An image named like one of this
// export's pages is not copied at all: the page keeps its name and its
// contents, and the image counts as not copied.
static bool CopyImageToOutput(const char* source) {
    if (gSettings.htmlNoImageCopy != 0)
        return true;
    const char* name = FileNamePart(source);
    if (name[0] == '\0')
        return true;
    char destination[HtmlJoinedPathSize];
    if (!JoinPath(destination, countof(destination), gHtmlExportJob.outputFolder, name))
        return false;
    if (strcmp(source, destination) == 0)
        return true;
    if (IsPageFileName(name, gHtmlExportJob.fileNameRule, gRun->pageCount))
        return false;
    return gCopyFile(source, destination, FALSE) != FALSE;
}

// --- content cells ------------------------------------------------------------

static void WriteImageTag(HANDLE out, const char* imagePath) {
    char name[HtmlUrlNameSize];
    FormatUrlFileName(name, countof(name), FileNamePart(imagePath));
    char width[HtmlTagSize];
    FormatImageWidth(width, countof(width), gHtmlExportJob.imageWidth);
    Put(out, HtmlImageStart);
    Put(out, name);
    Put(out, width);
    Put(out, HtmlImageEnd);
}

static void WriteImageContent(HANDLE out, const HistoryRecord& r) {
    switch (ImageContentOf(r.imagePath)) {
    case ImageContentPicture:
        WriteImageTag(out, r.imagePath);
        break;
    case ImageContentText: {
        char path[HtmlJoinedPathSize];
        if (ResolveImagePath(path, countof(path), gHistory.historyFolder, r.imagePath))
            IncludeTextFile(out, path);
        break;
    }
    case ImageContentNone:
        Put(out, HtmlNoImage);
        break;
    }
}

static void WriteImageCell(HANDLE out, const HistoryRecord& r) {
    Put(out, HtmlCellStart);
    WriteImageContent(out, r);
    Put(out, HtmlCellEnd);
    Put(out, HtmlNewLine);
}

// The link always points at the bare file name, whatever the cell shows.
static void WriteLinkedImageCell(HANDLE out, const HistoryRecord& r) {
    char name[HtmlUrlNameSize];
    FormatUrlFileName(name, countof(name), FileNamePart(r.imagePath));
    Put(out, HtmlCellStart);
    Put(out, HtmlLinkStart);
    Put(out, name);
    Put(out, HtmlLinkTargetEnd);
    WriteImageContent(out, r);
    Put(out, HtmlLinkEnd);
    Put(out, HtmlCellEnd);
    Put(out, HtmlNewLine);
}

// The record's text file, which lies in the history folder; empty without one.
static void WriteDescriptionCell(HANDLE out, const HistoryRecord& r) {
    char start[HtmlTagSize];
    FormatDescriptionCellStart(start, countof(start), gHtmlExportJob.descriptionWidth);
    Put(out, start);
    Put(out, HtmlFontStart);
    char path[HtmlJoinedPathSize];
    if (r.textPath[0] != '\0' && JoinPath(path, countof(path), gHistory.historyFolder, r.textPath))
        IncludeTextFile(out, path);
    Put(out, HtmlFontEnd);
    Put(out, HtmlCellEnd);
    Put(out, HtmlNewLine);
}

static void ImageThenDescription(HANDLE out, const HistoryRecord& r) {
    WriteImageCell(out, r);
    WriteDescriptionCell(out, r);
}

static void DescriptionThenImage(HANDLE out, const HistoryRecord& r) {
    WriteDescriptionCell(out, r);
    WriteImageCell(out, r);
}

static void LinkedImageThenDescription(HANDLE out, const HistoryRecord& r) {
    WriteLinkedImageCell(out, r);
    WriteDescriptionCell(out, r);
}

static void DescriptionThenLinkedImage(HANDLE out, const HistoryRecord& r) {
    WriteDescriptionCell(out, r);
    WriteLinkedImageCell(out, r);
}

// --- pages --------------------------------------------------------------------

// The images of records first..last, and then the progress up to them.
static void CopyImagesOfGroup(int first, int last) {
    if (gRun->writeFailed)
        return;
    HtmlExportStatus* status = gRun->status;
    for (int i = first; i <= last; i++) {
        char source[HtmlJoinedPathSize];
        bool copied = ImageCopySource(source, countof(source), gHistory.records[i], gHistory.historyFolder) &&
                      CopyImageToOutput(source);
        if (!copied && status)
            status->failedCopies++;
    }
    if (status && status->onProgress)
        status->onProgress(last + 1, gHistory.count);
}

// Records first..last: a row of comment cells, a row of content cells, and
// then their images are copied.
static void WriteRowGroup(HANDLE out, int first, int last, const char* commentCell, RecordCellsWriter writeCells) {
    char row[HtmlTagSize];
    FormatRowStart(row, countof(row), (uint32_t)gSettings.htmlFrameColor);
    Put(out, row);
    for (int i = first; i <= last; i++) {
        Put(out, commentCell);
        Put(out, gHistory.records[i].comment); // as stored: a comment may carry markup
        Put(out, HtmlCellEnd);
    }
    Put(out, HtmlRowEnd);
    Put(out, row);
    Put(out, HtmlNewLine);
    for (int i = first; i <= last; i++)
        writeCells(out, gHistory.records[i]);
    Put(out, HtmlRowEnd);
    Put(out, HtmlNewLine);
    CopyImagesOfGroup(first, last);
}

// A records-per-row value below 1 would never advance; it is taken as 1.
static int RecordsPerRow() {
    return gSettings.htmlPerRow < 1 ? 1 : gSettings.htmlPerRow;
}

static void WritePage(HANDLE out, int first, int last, const char* commentCell, RecordCellsWriter writeCells) {
    Put(out, HtmlPageHead);
    Put(out, HtmlTitleText);
    Put(out, HtmlTitleEnd);
    Put(out, HtmlNewLine);
    char table[HtmlTagSize];
    FormatTableStart(table, countof(table), (uint32_t)gSettings.htmlBackColor);
    Put(out, table);
    Put(out, HtmlNewLine);
    int perRow = RecordsPerRow();
    for (int start = first; start <= last;) {
        int groupLast = RowGroupLast(start, perRow, last);
        WriteRowGroup(out, start, groupLast, commentCell, writeCells);
        start = groupLast + 1;
    }
    Put(out, HtmlTableEnd);
    Put(out, HtmlNewLine);
    Put(out, HtmlPageEnd);
}

// Layouts 0 and 1: image and description side by side.
static void WriteImageTextPage(HANDLE out, int first, int last) {
    WritePage(out, first, last, HtmlWideCommentCell,
              gHtmlExportJob.layout == 0 ? ImageThenDescription : DescriptionThenImage);
}

// Layouts 2 and 3: as 0 and 1, with the image linked to its file.
static void WriteLinkedTextPage(HANDLE out, int first, int last) {
    WritePage(out, first, last, HtmlWideCommentCell,
              gHtmlExportJob.layout == 2 ? LinkedImageThenDescription : DescriptionThenLinkedImage);
}

// Layouts 4 and 5: the image alone, linked in layout 5.  A record without a
// picture keeps the link there too, around its text or "<br>".
static void WriteImageOnlyPage(HANDLE out, int first, int last) {
    WritePage(out, first, last, HtmlCellStart, gHtmlExportJob.layout == 4 ? WriteImageCell : WriteLinkedImageCell);
}

// --- page files ---------------------------------------------------------------

static bool AskOverwrite(const char* path) {
    char text[HtmlPagePathSize + 64];
    FormatText(text, countof(text), "%s\r\n%s", TextOverwriteQuestion, path);
    return AppMessageBox(gRun->owner, text, CaptionConfirm, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

// Creates the page file; an existing one is emptied only when the user agrees.
static PageResult OpenPageFile(const char* path, ScopedFile* file) {
    HANDLE created = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD error = GetLastError();
    file->Reset(created);
    if (file->IsValid())
        return PageDone;
    if (error == ERROR_FILE_EXISTS) {
        if (!AskOverwrite(path))
            return PageDeclined;
        file->Reset(CreateFileA(path, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
        if (file->IsValid())
            return PageDone;
    }
    AppMessageBox(gRun->owner, TextFileOpenFailed, path, MB_OK | MB_ICONERROR);
    return PageFailed;
}

static PageResult WriteOnePage(int page, int first, int last) {
    // The buffer holds the longest folder and rule, so the name is never cut
    // into the name of another file.
    char path[HtmlPagePathSize];
    FormatPagePath(path, countof(path), gHtmlExportJob.outputFolder, gHtmlExportJob.fileNameRule, page);
    ScopedFile file;
    PageResult opened = OpenPageFile(path, &file);
    if (opened != PageDone)
        return opened;
    gRun->writeFailed = false;
    switch (gHtmlExportJob.layout) {
    case 0:
    case 1:
        WriteImageTextPage(file.Get(), first, last);
        break;
    case 2:
    case 3:
        WriteLinkedTextPage(file.Get(), first, last);
        break;
    default:
        WriteImageOnlyPage(file.Get(), first, last);
        break;
    }
    if (file.Close() && !gRun->writeFailed)
        return PageDone;
    // A page cut short (a full disk) is not left behind looking finished.
    DeleteFileA(path);
    AppMessageBox(gRun->owner, "ファイルの書き込みに失敗しました", path, MB_OK | MB_ICONERROR);
    return PageFailed;
}

static PageResult WriteAllPages() {
    int count = gHistory.count;
    if (count > MaxHistoryRecords)
        count = MaxHistoryRecords;
    int perPage = gHtmlExportJob.itemsPerPage < 1 ? 1 : gHtmlExportJob.itemsPerPage;
    gRun->pageCount = count / perPage + (count % perPage != 0 ? 1 : 0);
    int first = 0, last = 0;
    for (int page = 1; PageRecords(page, count, perPage, &first, &last); page++) {
        PageResult result = WriteOnePage(page, first, last);
        if (result != PageDone)
            return result;
    }
    return PageDone;
}

bool GeneratePages(HWND owner, HtmlExportStatus* status) {
    if (status)
        status->failedCopies = 0;
    // Allocated for this export only and released however it ends.
    ScopedMem text(malloc(HtmlWorkBufferSize));
    ScopedMem scratch(malloc(HtmlWorkBufferSize));
    if (!text.Get() || !scratch.Get())
        return false;
    ExportRun run = { owner, { text.Chars(), scratch.Chars(), HtmlWorkBufferSize }, false, 0, status };
    gRun = &run;
    PageResult result = WriteAllPages();
    gRun = NULL;
    return result != PageFailed;
}
