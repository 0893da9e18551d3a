#include "capture/Hotkeys.h"

#include <string.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/Texts.h"
#include "capture/CaptureContext.h"
#include "capture/ImageFiles.h"
#include "capture/ScreenCapture.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"

int captureBusy;

static CaptureShellLink gShellLink;
// Entries whose RegisterHotKey failed while monitoring is on, so that the
// key panel can show a dead hotkey.
static bool gRegistrationFailed[CaptureModeCount];

void SetCaptureShellLink(const CaptureShellLink& link) {
    gShellLink = link;
}

void OpenSettingsSheetForCapture(HWND owner) {
    if (gShellLink.openSettingsSheet)
        gShellLink.openSettingsSheet(owner);
}

int IsCaptureMonitoring() {
    return gCapture.monitoring;
}

bool HotkeyRegistrationFailed(int entry) {
    return gCapture.monitoring && entry >= 0 && entry < CaptureModeCount && gRegistrationFailed[entry];
}

int StartMonitoring(HWND mainWindow) {
    if (ImagesInHistoryFolder(gSettings) && gHistory.untitled) {
        AppMessageBox(mainWindow, TextImagesNeedHistoryFile, gHistory.historyFolder, MB_OK | MB_ICONWARNING);
        return 0;
    }
    gCapture.monitoring = 1;
    for (int i = 0; i < CaptureModeCount; i++) {
        const HotkeySetting& h = gSettings.hotkeys[i];
        // A combination another program holds stays unregistered; only the
        // key panel tells, for entries that have a key at all.
        gRegistrationFailed[i] = false;
        if (h.enabled) {
            bool ok = RegisterHotKey(mainWindow, FirstCaptureMode + i, MapHotkeyModifiers(h.modifiers),
                                     (UINT)h.virtualKey) != FALSE;
            gRegistrationFailed[i] = !ok && h.virtualKey != 0;
        }
    }
    return 1;
}

void StopMonitoring(HWND mainWindow) {
    if (!gCapture.monitoring)
        return;
    gCapture.monitoring = 0;
    gCapture.captureKind = 0;
    memset(gCapture.imageFilePath, 0, sizeof(gCapture.imageFilePath));
    memset(gRegistrationFailed, 0, sizeof(gRegistrationFailed));
    for (int i = 0; i < CaptureModeCount; i++)
        UnregisterHotKey(mainWindow, FirstCaptureMode + i);
}

// After the row: a lossless file holds exactly the grabbed pixels, which
// the preview takes as they are instead of reading the file back.
static void ShowCaptureInPreview() {
    CapturedPixels px;
    if (gShellLink.showCapturedPixels && IsLosslessFormat(gCapture.imageFormat) &&
        ReadCapturedPixels(gCapture, NULL, px))
        gShellLink.showCapturedPixels(gCapture.imageFilePath, px.header + BmpInfoHeaderOffset, px.rows, px.size);
    if (gShellLink.reloadPreview)
        gShellLink.reloadPreview();
}

HotkeyOutcome HandleCaptureHotkey(HWND mainWindow, HWND owner, int mode) {
    if (gHistory.count >= MaxHistoryRecords) {
        char text[128];
        FormatText(text, countof(text), TextHistoryFull, MaxHistoryRecords);
        AppMessageBox(mainWindow, text, CaptionWarning, MB_OK | MB_ICONWARNING);
        return HotkeyConsumed;
    }
    if (captureBusy)
        return HotkeyConsumed;
    if (!IsCaptureMode(mode))
        return HotkeyNotCaptured;
    captureBusy = 1;
    int result = CaptureImage(gCapture, owner, mode);
    if (result <= 0) {
        captureBusy = 0;
        return HotkeyNotCaptured;
    }
    AppendCapture(gHistory, gCapture.imageFilePath, DefaultComment(gCapture, gSettings));
    if (gShellLink.addNewestRow)
        gShellLink.addNewestRow();
    if (gShellLink.recordAdded)
        gShellLink.recordAdded(mainWindow);
    // The number continues from here after the next start, once the
    // settings are saved.
    gSettings.nextImageNumber = gCapture.nextNumber;
    captureBusy = 0;
    ShowCaptureInPreview();
    return HotkeyCaptured;
}
