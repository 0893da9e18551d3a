// The export dialog's working values: a private copy of the ten [HTML]
// settings, and the rules that map them to the dialog's controls and check
// them when the user confirms.  No Win32 here; the dialog and the settings
// record meet in HtmlExportDialog.cpp.
//
// The two colours keep the settings' own fields: `frameColor` ("枠色", the
// table cells of the pages) is the one shown and chosen under the label
// "背景色", and `backColor` ("背景色", the table seen between the cells) the
// one under the label "枠色".  Each label names what the user sees.
#pragma once

#include <stdint.h>

#include "base/TextSizes.h"

struct HtmlChoices {
    int layout;       // 0 to 5
    int perPage;      // records on one page
    int imageWidth;   // -1: not given
    int commentWidth; // -1: not given; -2: fits the text
    char folder[PathSize];
    char filePrefix[PathSize];
    int noImageCopy;     // 1: images are not copied
    uint32_t frameColor; // "枠色", under the label "背景色"
    uint32_t backColor;  // "背景色", under the label "枠色"
    int perRow;          // records on one table row, 1 to 5
};

enum {
    PerRowMin = 1,
    PerRowMax = 5,
    PerPageMin = 1,
    PerPageMax = 100,
    // "１行の項目数" is read as at most this many characters.
    PerRowTextLength = 7,
};

// Which radio button of a width group is checked.
enum WidthChoice { WidthNotGiven, WidthGiven, WidthFitsText };

// Image width: a negative value is "指定なし", anything else "指定".
WidthChoice ImageWidthChoice(int imageWidth);
// Description width: 0 or more "指定", -2 "テキスト幅に合わせる", any other
// negative value "指定なし".
WidthChoice CommentWidthChoice(int commentWidth);
// What a width group stores: -1, the number in its edit, or -2.
int WidthOf(WidthChoice choice, int number);

// Layouts 4 and 5 show the image alone: they have no description cell.
bool LayoutHasDescription(int layout);
// A stored layout outside 0 to 5 opens as "レイアウト１".
int ValidLayout(int layout);

// A plain decimal conversion of an edit's text: optional spaces and sign,
// then digits; an empty field reads as 0.  Too large a number saturates
// instead of overflowing.
int ParseDecimal(const char* text);

// The fields refused when the user confirms, in the order they are checked.
enum ExportFieldProblem { FieldsAccepted, PerRowOutOfRange, PerPageOutOfRange, OutputFolderMissing };
ExportFieldProblem CheckExportFields(int perRow, int perPage, const char* folder);
