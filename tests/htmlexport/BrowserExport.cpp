// The Windows half of the browser check (browser_check.py): reads the history
// file <work>\history\history.csv the way the program does and exports it in
// each of the six layouts into <work>\layout0 .. <work>\layout5.  Any message
// box is a failure: it is printed and the program exits with 1.
//
//   html_browser_export.exe <work folder>
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "base/MessageBox.h"
#include "history/HistoryFile.h"
#include "htmlexport/HtmlExport.h"
#include "settings/Settings.h"

static int NoBoxes(HWND, const char* text, const char* caption, UINT) {
    fprintf(stderr, "unexpected message box: [%s] %s\n", caption, text);
    exit(1);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: html_browser_export <work folder>\n");
        return 2;
    }
    SetMessageBoxHook(NoBoxes);
    std::string work = argv[1];
    std::string csv = work + "\\history\\history.csv";
    BindHistoryFile(gHistory, csv.c_str(), "history.csv");
    if (!ReadHistoryFile(gHistory, NULL) || gHistory.count == 0) {
        fprintf(stderr, "cannot read %s\n", csv.c_str());
        return 1;
    }
    gSettings.htmlPerRow = 2;
    gSettings.htmlBackColor = 0x00808080;
    gSettings.htmlFrameColor = 0x00F0F0F0;
    gSettings.htmlNoImageCopy = 0;
    for (int layout = 0; layout < LayoutCount; layout++) {
        std::string out = work + "\\layout" + std::to_string(layout);
        CreateDirectoryA(out.c_str(), NULL);
        // Odd layouts fit the description cell to its preformatted text.
        int descriptionWidth = layout % 2 ? -2 : 200;
        int imageWidth = layout < 3 ? -1 : 120;
        if (!SetJob(layout, 3, imageWidth, descriptionWidth, out.c_str(), "page") || !GeneratePages(NULL)) {
            fprintf(stderr, "export of layout %d failed\n", layout);
            return 1;
        }
    }
    printf("exported %d records in %d layouts\n", gHistory.count, (int)LayoutCount);
    return 0;
}
