// The settings sheet "環境設定": four pages over the settings record (saved
// files, history list, file format, fonts).
#pragma once

#include <windows.h>

// Runs the modal sheet owned by `owner` and returns when it is closed.
// Each page that was shown stores its controls into gSettings on OK and
// writes the settings file; the capture engine's working copy of the file
// settings is renewed.  The caller refreshes what depends on the settings.
void OpenSettingsSheet(HWND owner);
