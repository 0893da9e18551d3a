// The export dialog's value rules: how numbers are read and which fields
// are refused.  No Win32.
#include "htmlexport/HtmlExportValues.h"

#include <gtest/gtest.h>

#include <limits.h>

TEST(HtmlExportValues, NumbersReadAsPlainDecimals) {
    struct {
        const char* text;
        int value;
    } rows[] = {
        { "", 0 },        { "0", 0 },           { "7", 7 },          { "0000001", 1 },
        { "12abc", 12 },  { "abc", 0 },         { " 3", 3 },         { "-4", -4 },
        { "2147483647", INT_MAX }, { "99999999999999999999", INT_MAX },
        { "-99999999999999999999", INT_MIN },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.value, ParseDecimal(r.text)) << '"' << r.text << '"';
}

TEST(HtmlExportValues, FieldsAreCheckedRowThenPageThenFolder) {
    struct {
        int perRow, perPage;
        const char* folder;
        ExportFieldProblem problem;
    } rows[] = {
        { 1, 1, "C:\\out", FieldsAccepted },     { 5, 100, "C:\\out", FieldsAccepted },
        { 3, 101, "C:\\out", PerPageOutOfRange }, { 0, 10, "C:\\out", PerRowOutOfRange },
        { 6, 10, "C:\\out", PerRowOutOfRange },   { 0, 0, "", PerRowOutOfRange },
        { 2, 0, "C:\\out", PerPageOutOfRange },   { 2, -1, "", PerPageOutOfRange },
        { 2, 10, "", OutputFolderMissing },
    };
    for (auto& r : rows)
        EXPECT_EQ(r.problem, CheckExportFields(r.perRow, r.perPage, r.folder))
            << r.perRow << " / " << r.perPage << " / \"" << r.folder << '"';
}
