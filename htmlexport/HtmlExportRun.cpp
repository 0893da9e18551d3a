#include "htmlexport/HtmlExportRun.h"

#include <string.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "history/HistoryFile.h"
#include "htmlexport/HtmlExport.h"
#include "htmlexport/HtmlExportDialog.h"
#include "settings/Settings.h"

namespace {

// The status bar is redrawn at most this often: the pages are written
// without a message loop, and each redraw is paid for by the export.
enum { ProgressIntervalMs = 100, StatusTextSize = 64, MessageSize = 256 };

// The run's link upwards and when its progress was last shown.
struct ExportProgress {
    HtmlExportLink link;
    DWORD lastShown;
    bool shown;
};

ExportProgress gProgress;

// The wait cursor while the pages are written; the previous one afterwards.
class WaitCursor {
public:
    WaitCursor() : previous(SetCursor(LoadCursorA(NULL, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous;
};

} // namespace

void SetHtmlExportLink(const HtmlExportLink& link) {
    gProgress.link = link;
}

static void ShowProgress(int done, int total) {
    DWORD now = GetTickCount();
    if (gProgress.shown && done < total && now - gProgress.lastShown < ProgressIntervalMs)
        return;
    gProgress.shown = true;
    gProgress.lastShown = now;
    // A question about an existing page may have put the arrow back.
    SetCursor(LoadCursorA(NULL, IDC_WAIT));
    if (!gProgress.link.showProgress)
        return;
    char text[StatusTextSize];
    FormatText(text, countof(text), "HTML出力中 %d / %d", done, total);
    gProgress.link.showProgress(text);
}

static bool WritePagesShowingProgress(HWND mainWindow, HtmlExportStatus* status) {
    // No messages run while the pages are written: repaint where the dialog
    // was first.
    UpdateWindow(mainWindow);
    WaitCursor wait;
    gProgress.shown = false;
    ShowProgress(0, gHistory.count);
    bool finished = GeneratePages(mainWindow, status);
    if (gProgress.link.clearProgress)
        gProgress.link.clearProgress();
    return finished;
}

static void ShowFinishingMessage(HWND mainWindow, int failedCopies) {
    const char finished[] = "HTMLファイルの作成処理が終了しました。";
    char text[MessageSize];
    if (failedCopies > 0)
        FormatText(text, countof(text), "%s\r\n画像ファイルのコピーに失敗しました (%d件)", finished, failedCopies);
    else
        CopyText(text, countof(text), finished);
    AppMessageBox(mainWindow, text, CaptionConfirm, MB_OK | MB_ICONINFORMATION);
}

void ExportHistoryAsHtml(HINSTANCE instance, HWND mainWindow) {
    memset(&gHtmlExportJob, 0, sizeof(gHtmlExportJob)); // a fresh job
    if (RunHtmlExportDialog(instance, mainWindow) != 1)
        return;
    SetJob(gSettings.htmlLayout, gSettings.htmlPerPage, gSettings.htmlImageWidth, gSettings.htmlCommentWidth,
           gSettings.htmlFolder, gSettings.htmlFilePrefix);
    HtmlExportStatus status = { ShowProgress, 0 };
    if (WritePagesShowingProgress(mainWindow, &status))
        ShowFinishingMessage(mainWindow, status.failedCopies);
}
