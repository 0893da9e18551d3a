#include "htmlexport/HtmlExportValues.h"

#include <limits.h>

#include "htmlexport/HtmlText.h"

WidthChoice ImageWidthChoice(int imageWidth) {
    return imageWidth < 0 ? WidthNotGiven : WidthGiven;
}

WidthChoice CommentWidthChoice(int commentWidth) {
    if (commentWidth >= 0)
        return WidthGiven;
    return commentWidth == DescriptionFitsText ? WidthFitsText : WidthNotGiven;
}

int WidthOf(WidthChoice choice, int number) {
    switch (choice) {
    case WidthGiven:
        return number;
    case WidthFitsText:
        return DescriptionFitsText;
    case WidthNotGiven:
        break;
    }
    return -1;
}

bool LayoutHasDescription(int layout) {
    return layout >= 0 && layout < 4;
}

int ValidLayout(int layout) {
    return layout >= 0 && layout < 6 ? layout : 0;
}

int ParseDecimal(const char* text) {
    while (*text == ' ' || *text == '\t')
        text++;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        text++;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        value = value * 10 + (*text - '0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        return (int)-value;
    return value > INT_MAX ? INT_MAX : (int)value;
}

ExportFieldProblem CheckExportFields(int perRow, int perPage, const char* folder) {
    if (perRow < PerRowMin || perRow > PerRowMax)
        return PerRowOutOfRange;
    if (perPage < PerPageMin || perPage > PerPageMax)
        return PerPageOutOfRange;
    if (folder[0] == '\0')
        return OutputFolderMissing;
    return FieldsAccepted;
}
