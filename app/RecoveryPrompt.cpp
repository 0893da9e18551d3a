#include "app/RecoveryPrompt.h"

#include <memory>

#include "app/CommandBars.h"
#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "history/HistoryFile.h"
#include "history/HistoryRecovery.h"
#include "history/HistoryView.h"
#include "settings/Settings.h"

static int AskToRestore(HWND mainWindow, const RecoveryInfo& info) {
    char text[1024];
    FormatText(text, countof(text), TextRestoreQuestion, info.written, info.records,
               info.untitled ? UntitledName : info.filePath);
    return AppMessageBox(mainWindow, text, CaptionRestore, MB_YESNO | MB_ICONQUESTION);
}

static void Restore(HWND mainWindow, const HistoryList& found, const RecoveryInfo& info) {
    ClearAll();
    TakeRecoveredList(gHistory, found, info);
    FillFromList();
    MarkHistoryChanged();
    UpdateTitle(mainWindow);
    UpdateFileCommands(mainWindow);
    UpdateSelectionCommands(mainWindow);
}

// Files that could not be renamed stay as they are: no copy of this run may
// take their place.
static void KeepAside(HWND mainWindow, const char* folder, bool unreadable) {
    char kept[PathSize];
    if (!KeepRecoveryAside(folder, kept, countof(kept)))
        StopRecovery();
    if (!unreadable)
        return;
    char text[1024];
    FormatText(text, countof(text), TextRecoveryUnreadable, kept);
    AppMessageBox(mainWindow, text, CaptionWarning, MB_OK | MB_ICONWARNING);
}

void OfferRecovery(HWND mainWindow) {
    const char* folder = gSettings.startDirectory;
    if (!StartRecovery(folder))
        return;
    std::unique_ptr<HistoryList> found(new HistoryList());
    RecoveryInfo info;
    switch (FindRecoveryCopy(folder, *found, &info)) {
    case RecoveryNone:
        return;
    case RecoveryUnreadable:
        KeepAside(mainWindow, folder, true);
        return;
    case RecoveryWhole:
        // The settings file kept the image number of an earlier close: the
        // lost run's images are not to be written over, restored or not.
        gSettings.nextImageNumber = info.nextImage;
        if (AskToRestore(mainWindow, info) == IDYES)
            Restore(mainWindow, *found, info);
        else
            KeepAside(mainWindow, folder, false);
        // Images that go into the history folder go into the restored one.
        CopyFileSettingsToCapture(gCapture, gSettings, gHistory.historyFolder);
        return;
    }
}
