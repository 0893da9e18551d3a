// The real main window in the test process, and a history loaded into its
// list view the way opening a file does, for the list and preview tests.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Creates the main window once (StartShell), at a fixed size, in front.
HWND TestMainWindow();

struct RowSpec {
    std::string comment;
    std::string image;
    std::string text;
};

// Binds the history to <folder>\hist.csv and shows `rows` (dated
// 2024/01/02 03:04:<row>), unchanged.
void LoadHistory(const std::string& folder, const std::vector<RowSpec>& rows);
// Exactly these rows selected (the first of them focused); messages pumped.
void SelectRows(std::initializer_list<int> rows);
std::string Cell(int row, int column);
// One column of every row, top to bottom.
std::vector<std::string> ColumnTexts(int column);
// A point inside a row, in the list's client coordinates.
POINT RowPoint(int row);
// Sets or clears the Shift key in this thread's keyboard state.
void SetShiftState(bool down);
