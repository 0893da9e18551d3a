// The HTML export dialog (resource 141): output folder, page-name rule,
// records per page and per row, layout with its preview, image and
// description widths, the two page colours, and whether images are copied.
// It works on a private copy of the ten [HTML] settings and publishes it
// only when the user confirms.
#pragma once

#include <windows.h>

// 1 when the user confirmed with "出力(&S)": gSettings and the [HTML]
// section of the settings file then hold the choices.  2 when cancelled:
// nothing has changed.
int RunHtmlExportDialog(HINSTANCE instance, HWND owner);
