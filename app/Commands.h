// The main window's commands: one function per menu, toolbar or
// accelerator command, and the dispatch by identifier.
#pragma once

#include <windows.h>

void OnCommand(HWND hwnd, int id, HWND control, UINT code);

void CommandAbout(HWND hwnd);
void CommandExit(HWND hwnd);
void CommandStartMonitoring(HWND hwnd);
void CommandStopMonitoring(HWND hwnd);
void CommandToggleCapture(HWND hwnd);
void CommandNew(HWND hwnd);
void CommandOpen(HWND hwnd);
void CommandSave(HWND hwnd);
void CommandSaveAs(HWND hwnd);
void CommandSettings(HWND hwnd);
void CommandBatchComment(HWND hwnd);
void CommandDelete(HWND hwnd);
void CommandMoveUp(HWND hwnd);
void CommandMoveDown(HWND hwnd);
void CommandEditComment(HWND hwnd);
void CommandSelectAll(HWND hwnd);
void CommandExportHtml(HWND hwnd);

// After a capture was recorded: saving enabled, the automatic save, the
// title and the command states (the capture engine calls it).
void CaptureRecorded(HWND hwnd);
// The settings sheet, and what follows it: the engine's working copy, the
// fonts and the layout.  Also reached from a refused capture.
void OpenSettingsAndRefresh(HWND owner);
