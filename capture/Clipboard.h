// The capture on the clipboard, for pasting into documents and chats: its
// pixels as a device-independent bitmap (CF_DIB) and, for a PNG capture,
// the file's own bytes under the registered format "PNG", which office
// programs paste without loss.
#pragma once

#include <windows.h>

#include "capture/CaptureContext.h"

// Puts the capture whose file was just written on the clipboard.  A
// clipboard that another program holds is asked again for a short while
// and then left alone without a word: the capture itself has succeeded.
// False when nothing was put there.
bool CopyCaptureToClipboard(const CaptureContext& ctx, HWND owner);
