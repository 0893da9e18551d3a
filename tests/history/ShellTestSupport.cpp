#include "tests/history/ShellTestSupport.h"

#include <commctrl.h>
#include <string.h>

#include "app/Application.h"
#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "history/HistoryFile.h"
#include "history/HistoryView.h"
#include "settings/Settings.h"
#include "tests/support/GuiTestSupport.h"

HWND TestMainWindow() {
    static bool started = false;
    if (!started) {
        started = true;
        // The first sizing splits the pane in halves: the window is made at
        // its final size, whatever the working folder's settings file says.
        Settings& s = gSettings;
        s.windowX = 20;
        s.windowY = 20;
        s.windowWidth = 900;
        s.windowHeight = 700;
        const int widths[] = { 220, 260, 150, 150 };
        for (int i = 0; i < ColumnCount; i++)
            s.columnWidths[i] = widths[i];
        StartShell(GetModuleHandleA(NULL), SW_SHOWNORMAL);
        SetForegroundWindow(gShell.hwndMain);
        PumpFor(300);
    }
    return gShell.hwndMain;
}

void LoadHistory(const std::string& folder, const std::vector<RowSpec>& rows) {
    TestMainWindow();
    ClearAll();
    std::string path = folder + "\\hist.csv";
    BindHistoryFile(gHistory, path.c_str(), "hist.csv");
    gHistory.untitled = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        HistoryRecord& r = gHistory.records[i];
        FormatDateStamp(r.dateTime, countof(r.dateTime), 2024, 1, 2, 3, 4, (int)(i % 60));
        CopyText(r.comment, countof(r.comment), rows[i].comment.c_str());
        CopyText(r.imagePath, countof(r.imagePath), rows[i].image.c_str());
        CopyText(r.textPath, countof(r.textPath), rows[i].text.c_str());
        r.inHistoryFolder = IsHistoryRelative(r.imagePath) ? 1 : 0;
    }
    gHistory.count = (int)rows.size();
    FillFromList();
    PumpFor(50);
    gHistory.modified = 0;
}

void SelectRows(std::initializer_list<int> rows) {
    SetRowState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    bool first = true;
    for (int row : rows) {
        UINT state = first ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED;
        SetRowState(row, state, state);
        first = false;
    }
    PumpFor(50);
}

std::string Cell(int row, int column) {
    char text[PathSize];
    GetCellText(row, column, text, (int)countof(text));
    return text;
}

std::vector<std::string> ColumnTexts(int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < ListRowCount(); row++)
        texts.push_back(Cell(row, column));
    return texts;
}

POINT RowPoint(int row) {
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageA(gHistoryView.list, LVM_GETITEMRECT, row, (LPARAM)&r);
    return { r.left + 5, (r.top + r.bottom) / 2 };
}

void SetShiftState(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}
