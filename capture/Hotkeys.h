// Capture monitoring: the hotkeys of the enabled capture modes are
// registered on the main window while it is on, and each hotkey press runs
// one capture and records it in the history.
#pragma once

#include <windows.h>

#include "capture/CaptureMath.h"

// Set while one hotkey press is being handled.  Message boxes pump
// messages, so a second press can arrive meanwhile; it is dropped.
extern int captureBusy;

// 1 when monitoring was switched on, 0 when refused (images go into the
// history folder but the history has no file yet).
int StartMonitoring(HWND mainWindow);
// Unregisters all eight hotkeys; nothing when monitoring is off.
void StopMonitoring(HWND mainWindow);
int IsCaptureMonitoring();
// Whether hotkey entry i (identifier 102 + i) is enabled with a key but
// could not be registered by the last StartMonitoring: another program
// holds the combination, or an earlier entry has the same one.  False while
// monitoring is off.
bool HotkeyRegistrationFailed(int entry);

// What the main window does around a capture, wired once at start-up.  Any
// of them may be NULL.
struct CaptureShellLink {
    void (*addNewestRow)();               // show and paint the new record; marks the list changed
    void (*recordAdded)(HWND mainWindow); // enable saving, save automatically, title, command states
    void (*reloadPreview)();              // once the row is painted
    void (*openSettingsSheet)(HWND owner); // where an exhausted start number can be fixed
    // Hands the preview the pixels a lossless file was written from (a
    // 40-byte information header, then bottom-up 24-bit rows), so that it
    // need not read the file back.
    void (*showCapturedPixels)(const char* path, const void* infoHeader, const void* rows, size_t rowsSize);
};
void SetCaptureShellLink(const CaptureShellLink& link);
// Opens the settings sheet through the link, when one is wired.
void OpenSettingsSheetForCapture(HWND owner);

enum HotkeyOutcome {
    HotkeyConsumed,    // refused or dropped: the handler returns 0
    HotkeyNotCaptured, // capture refused or failed: pass on to DefWindowProc
    HotkeyCaptured,    // file written and recorded: the handler returns 0
};

// One WM_HOTKEY press: the record limit, the busy guard, the capture, the
// new history record with the default comment, and the next number stored
// into the settings.  `owner` owns the capture's message boxes.
HotkeyOutcome HandleCaptureHotkey(HWND mainWindow, HWND owner, int mode);
