// Gyrolens.exe as a user runs it: started in a fresh folder, monitoring
// switched on and a capture taken with real key presses, closed with its
// save question answered (or ended the hard way and started again), and
// what it left on disk checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <commctrl.h>

#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"
#include "resources/resource.h"

namespace {

std::string ProgramPath() {
    std::string path = std::string("Z:") + GYROLENS_EXE;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    return PumpUntil(done, ms);
}

struct FoundWindow {
    DWORD process;
    const char* className;
    const char* title; // NULL: any
    HWND found;
};

// A visible top-level window of the process, waited for.
HWND WaitForWindow(DWORD process, const char* className, const char* title, int ms = 20000) {
    FoundWindow f = { process, className, title, NULL };
    WaitFor([&] {
        EnumWindows([](HWND hwnd, LPARAM data) {
            FoundWindow* f = (FoundWindow*)data;
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            char cls[64] = "";
            GetClassNameA(hwnd, cls, sizeof(cls));
            bool match = pid == f->process && strcmp(cls, f->className) == 0 && IsWindowVisible(hwnd) &&
                         (!f->title || WindowText(hwnd) == f->title);
            if (match)
                f->found = hwnd;
            return (BOOL)!match;
        }, (LPARAM)&f);
        return f.found != NULL;
    }, ms);
    return f.found;
}

std::string Profile(const std::string& ini, const char* section, const char* key) {
    char value[512] = "";
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value), ini.c_str());
    return value;
}

// The save dialog's file-name edit, in the old or the Explorer-style layout.
HWND FileNameEdit(HWND dialog) {
    HWND edit = GetDlgItem(dialog, 1152);
    if (edit)
        return edit;
    HWND combo = GetDlgItem(dialog, 1148);
    HWND inner = FindWindowExA(combo, NULL, "ComboBox", NULL);
    return FindWindowExA(inner ? inner : combo, NULL, "Edit", NULL);
}

// Ctrl+Shift+F2 (stored bits 3, virtual key 113) captures the screen as
// cap5.jpg, cap6.jpg ...; `extra` adds File_Set lines.
bool WriteSettings(const TempDir& work, const std::string& extra = "") {
    return WriteFileBytes(work.File("Gyrolens.ini"),
                          "[File_Set]\r\nJPEGモード=1\r\nJPEG品質=80\r\n画像ファイル開始番号=5\r\n"
                          "Aウィンドウ：修飾キー=3\r\nAウィンドウ：キー=113\r\nAウィンドウ：監視=1\r\n"
                          "画像ファイル名=cap\r\n保存先=" + work.Path() + "\r\n" + extra +
                          "[Window]\r\nX位置=10\r\nY位置=10\r\n幅=700\r\n高さ=500\r\n");
}

struct Program {
    PROCESS_INFORMATION pi = {};
    HWND main = NULL;
};

// Gyrolens.exe started in `work`, its main window shown.
Program Start(const TempDir& work) {
    Program p;
    std::string command = "\"" + ProgramPath() + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, work.Path().c_str(), &si, &p.pi))
        p.main = WaitForWindow(p.pi.dwProcessId, "GYROLENS_CLASS", NULL);
    return p;
}

// Waits for the program to end; its exit code.
DWORD Finish(Program& p) {
    DWORD code = 1;
    if (WaitForSingleObject(p.pi.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(p.pi.hProcess, &code);
    CloseHandle(p.pi.hProcess);
    CloseHandle(p.pi.hThread);
    return code;
}

// Each row of the history list as the history file would keep it:
// date,comment,image,text.  The texts are read inside the program.
std::vector<std::string> ShownRows(const Program& p) {
    std::vector<std::string> rows;
    HWND list = NULL;
    EnumChildWindows(p.main, [](HWND hwnd, LPARAM found) {
        if (GetDlgCtrlID(hwnd) == IDC_HISTORY_LIST)
            *(HWND*)found = hwnd;
        return TRUE;
    }, (LPARAM)&list);
    char* remote = (char*)VirtualAllocEx(p.pi.hProcess, NULL, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < count; row++) {
        std::string cells[4];
        for (int column = 0; column < 4; column++) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remote + 1024;
            item.cchTextMax = 1024;
            char text[1024] = "";
            WriteProcessMemory(p.pi.hProcess, remote, &item, sizeof(item), NULL);
            SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)remote);
            ReadProcessMemory(p.pi.hProcess, remote + 1024, text, sizeof(text) - 1, NULL);
            cells[column] = text;
        }
        rows.push_back(cells[2] + "," + cells[0] + "," + cells[1] + "," + cells[3]);
    }
    VirtualFreeEx(p.pi.hProcess, remote, 0, MEM_RELEASE);
    return rows;
}

// What a message box of the program says.
std::string BoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

const char RecoveryNote[] = "Gyrolens.recovery.txt";
const char Header[] = "日時,コメント,ファイルパス,テキスト情報\r\n";

// The files of the recovery copy (and the lock of a running program).
std::vector<std::string> RecoveryFiles(const TempDir& work) {
    std::vector<std::string> names;
    for (const std::string& name : FilesIn(work.Path()))
        if (name.compare(0, 17, "Gyrolens.recovery") == 0)
            names.push_back(name);
    return names;
}

// Whether the recovery copy, whichever of its two files holds it, has `text`.
bool CopyHolds(const TempDir& work, const std::string& text) {
    for (const char* name : { "Gyrolens.recovery.1.csv", "Gyrolens.recovery.2.csv" })
        if (ReadFileBytes(work.File(name)).find(text) != std::string::npos)
            return true;
    return false;
}

// Monitoring switched on with Ctrl+Alt+S, then a Ctrl+Shift+F2 capture
// for each image, waited for.
void CaptureWithKeys(HWND main, std::initializer_list<std::string> images) {
    SetForegroundWindow(main);
    Sleep(300);
    ASSERT_TRUE(PressKeysOnDisplay("ctrl+alt+s"));
    Sleep(500);
    for (const std::string& image : images) {
        ASSERT_TRUE(PressKeysOnDisplay("ctrl+shift+F2"));
        ASSERT_TRUE(WaitFor([&] { return PathExists(image); })) << image;
    }
}

} // namespace

TEST(EndToEnd, CaptureWithRealKeysThenCloseAndSave) {
    TempDir work("gyrolens-e2e");
    std::string ini = work.File("Gyrolens.ini"), image = work.File("cap5.jpg"), csv = work.File("history.csv");
    ASSERT_TRUE(WriteSettings(work));
    Program program = Start(work);
    ASSERT_TRUE(program.main != NULL);
    EXPECT_EQ("新規 - Gyrolens Ver1.2", WindowText(program.main));
    CaptureWithKeys(program.main, { image });

    PostMessageA(program.main, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(program.pi.dwProcessId, "#32770", "保存確認");
    ASSERT_TRUE(question != NULL);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND save = WaitForWindow(program.pi.dwProcessId, "#32770", "保存するファイル名を指定して下さい");
    ASSERT_TRUE(save != NULL);
    Sleep(300);
    SendMessageA(FileNameEdit(save), WM_SETTEXT, 0, (LPARAM)csv.c_str());
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, Finish(program));

    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ReadJpegFile(image).width);
    std::string history = ReadFileBytes(csv);
    EXPECT_EQ(0u, history.find(Header));
    EXPECT_NE(std::string::npos, history.find(",SCREEN," + image + ",\r\n")) << history;
    EXPECT_EQ("6", Profile(ini, "File_Set", "画像ファイル開始番号"));
    EXPECT_EQ("700", Profile(ini, "Window", "幅"));
    EXPECT_EQ("500", Profile(ini, "Window", "高さ"));
    EXPECT_EQ("10", Profile(ini, "Window", "X位置"));
}

// The user opens a history in data\, captures into it with real keys,
// edits a comment in place, and the program is ended the hard way.  The
// next start offers the work back; "はい" shows it as it was, one save
// writes the history file the user would have saved, and the images that
// follow take new numbers in the same folder.  A discard the user confirms
// then leaves no copy, and the start after it asks nothing.
TEST(EndToEnd, KilledWithUnsavedWorkOffersItBackWhole) {
    TempDir work("gyrolens-e2e");
    ASSERT_TRUE(WriteSettings(work, "保存先オプション=1\r\n"));
    std::string data = work.File("data"), csv = data + "\\history.csv";
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), NULL));
    std::string old = std::string(Header) + "2024/01/02 03:04:05,old one,\\old.jpg,memo.txt\r\n"
                                            "2024/01/02 03:04:06,old two,C:\\x\\y.jpg,\r\n";
    ASSERT_TRUE(WriteFileBytes(csv, old));

    Program first = Start(work);
    ASSERT_TRUE(first.main != NULL);
    PostMessageA(first.main, WM_COMMAND, IDM_FILE_OPEN, 0);
    HWND open = WaitForWindow(first.pi.dwProcessId, "#32770", "開くファイル名を指定して下さい");
    ASSERT_TRUE(open != NULL);
    Sleep(300);
    SendMessageA(FileNameEdit(open), WM_SETTEXT, 0, (LPARAM)csv.c_str());
    PostMessageA(open, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return ShownRows(first).size() == 2; }));
    CaptureWithKeys(first.main, { data + "\\cap5.jpg", data + "\\cap6.jpg" });
    ASSERT_TRUE(WaitFor([&] { return ShownRows(first).size() == 4; }));
    PostMessageA(first.main, WM_COMMAND, IDM_EDIT_COMMENT, 0);
    Sleep(500);
    ASSERT_TRUE(PressKeysOnDisplay("e d i t space 1 Return"));
    ASSERT_TRUE(WaitFor([&] { return CopyHolds(work, ",edit 1,\\cap6.jpg,"); }));
    std::vector<std::string> shown = ShownRows(first);
    TerminateProcess(first.pi.hProcess, 1);
    Finish(first);
    ASSERT_EQ(4u, shown.size());
    EXPECT_EQ("2024/01/02 03:04:05,old one,\\old.jpg,memo.txt", shown[0]);

    Program second = Start(work);
    ASSERT_TRUE(second.main != NULL);
    HWND question = WaitForWindow(second.pi.dwProcessId, "#32770", "履歴の復元");
    ASSERT_TRUE(question != NULL);
    Sleep(300);
    SaveWindowPng(question, "restore_question");
    std::string note = ReadFileBytes(work.File(RecoveryNote)), text = BoxText(question);
    std::string written = note.substr(note.find("written=") + 8, 19);
    EXPECT_NE(std::string::npos, text.find("記録日時：" + written + "\r\n件数：4件\r\n履歴ファイル：" + csv)) << text;
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitFor([&] { return ShownRows(second).size() == 4; }));
    EXPECT_EQ(shown, ShownRows(second));
    EXPECT_EQ("history.csv - Gyrolens Ver1.2 - [" + csv + "]", WindowText(second.main));
    EXPECT_EQ(old, ReadFileBytes(csv)) << "only the user's save replaces the history file";

    SetForegroundWindow(second.main);
    Sleep(300);
    ASSERT_TRUE(PressKeysOnDisplay("ctrl+s"));
    std::string saved = Header;
    for (const std::string& row : shown)
        saved += row + "\r\n";
    EXPECT_TRUE(WaitFor([&] { return ReadFileBytes(csv) == saved; })) << ReadFileBytes(csv);
    // While the program runs it holds only its lock.
    EXPECT_EQ(std::vector<std::string>{ "Gyrolens.recovery.lock" }, RecoveryFiles(work));

    CaptureWithKeys(second.main, { data + "\\cap7.jpg" });
    ASSERT_TRUE(WaitFor([&] { return CopyHolds(work, "\\cap7.jpg"); }));
    PostMessageA(second.main, WM_CLOSE, 0, 0);
    HWND discard = WaitForWindow(second.pi.dwProcessId, "#32770", "保存確認");
    ASSERT_TRUE(discard != NULL);
    PostMessageA(discard, WM_COMMAND, IDNO, 0);
    EXPECT_EQ(0u, Finish(second));
    EXPECT_EQ(std::vector<std::string>{}, RecoveryFiles(work));
    EXPECT_EQ(saved, ReadFileBytes(csv));

    Program third = Start(work);
    ASSERT_TRUE(third.main != NULL);
    EXPECT_TRUE(WaitForWindow(third.pi.dwProcessId, "#32770", NULL, 2000) == NULL) << "no question";
    EXPECT_EQ("新規 - Gyrolens Ver1.2", WindowText(third.main));
    PostMessageA(third.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, Finish(third));
}

// A copy found at start-up that the user declines, or that cannot be
// read, is kept aside under the date its note was written, and the
// program starts with a new list.
TEST(EndToEnd, FoundCopyDeclinedOrUnreadableIsKeptAside) {
    struct {
        const char* what;
        const char* bytes;     // the copy's length in its note
        const char* caption;
        const char* text;      // part of what the box says
        int answer;
        const char* nextImage; // as the settings file keeps it after the close
    } rows[] = {
        { "declined", "77", "履歴の復元", "件数：1件\r\n履歴ファイル：新規\r\n", IDNO, "9" },
        { "unreadable", "78", "警告", "\\Gyrolens.recovery.20240102-030405.*", IDOK, "5" },
    };
    std::string kept = "Gyrolens.recovery.20240102-030405";
    for (const auto& row : rows) {
        TempDir work("gyrolens-e2e");
        ASSERT_TRUE(WriteSettings(work));
        std::string copy = std::string(Header) + "2024/01/02 03:04:05,kept,C:\\k.jpg,\r\n";
        ASSERT_TRUE(WriteFileBytes(work.File("Gyrolens.recovery.1.csv"), copy));
        std::string note = work.File(RecoveryNote);
        ASSERT_TRUE(WriteFileBytes(note, std::string("Gyrolens recovery 1\r\ncopy=1\r\nbytes=") + row.bytes +
                                             "\r\nrecords=1\r\nnextImage=9\r\nwritten=2024/01/02 03:04:05\r\n"
                                             "untitled=1\r\nfilePath=C:\\新規\r\nfileTitle=新規\r\nhistoryFolder=C:\\"
                                             "\r\nend\r\n"));
        SYSTEMTIME t = { 2024, 1, 0, 2, 3, 4, 5, 0 };
        FILETIME local, utc;
        SystemTimeToFileTime(&t, &local);
        LocalFileTimeToFileTime(&local, &utc);
        HANDLE h = CreateFileA(note.c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL, OPEN_EXISTING, 0, NULL);
        SetFileTime(h, NULL, NULL, &utc);
        CloseHandle(h);

        Program program = Start(work);
        ASSERT_TRUE(program.main != NULL) << row.what;
        HWND box = WaitForWindow(program.pi.dwProcessId, "#32770", row.caption);
        ASSERT_TRUE(box != NULL) << row.what;
        Sleep(300);
        SaveWindowPng(box, std::string("recovery_") + row.what);
        EXPECT_NE(std::string::npos, BoxText(box).find(row.text)) << BoxText(box);
        PostMessageA(box, WM_COMMAND, row.answer, 0);
        std::vector<std::string> aside = { kept + ".1.csv", kept + ".txt", "Gyrolens.recovery.lock" };
        EXPECT_TRUE(WaitFor([&] { return RecoveryFiles(work) == aside; })) << row.what;
        EXPECT_EQ(copy, ReadFileBytes(work.File(kept + ".1.csv")));
        EXPECT_EQ(0u, ShownRows(program).size()) << row.what;
        EXPECT_EQ("新規 - Gyrolens Ver1.2", WindowText(program.main));
        PostMessageA(program.main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, Finish(program));
        EXPECT_EQ(row.nextImage, Profile(work.File("Gyrolens.ini"), "File_Set", "画像ファイル開始番号")) << row.what;
    }
}
