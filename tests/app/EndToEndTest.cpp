// Gyrolens.exe as a user runs it: started in a fresh folder, monitoring
// switched on and a capture taken with real key presses, closed with its
// save question answered, and what it left on disk checked.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

std::string ProgramPath() {
    std::string path = std::string("Z:") + GYROLENS_EXE;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct FoundWindow {
    DWORD process;
    const char* className;
    const char* title; // NULL: any
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM data) {
    FoundWindow* f = (FoundWindow*)data;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (pid != f->process || strcmp(cls, f->className) != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    if (f->title && WindowText(hwnd) != f->title)
        return TRUE;
    f->found = hwnd;
    return FALSE;
}

// A visible top-level window of the process, waited for.
HWND WaitForWindow(DWORD process, const char* className, const char* title, int ms = 20000) {
    FoundWindow f = { process, className, title, NULL };
    for (int waited = 0; waited < ms && !f.found; waited += 50) {
        EnumWindows(MatchWindow, (LPARAM)&f);
        if (!f.found)
            Sleep(50);
    }
    return f.found;
}

bool WaitForFile(const std::string& path, int ms = 10000) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (PathExists(path))
            return true;
        Sleep(50);
    }
    return false;
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

} // namespace

TEST(EndToEnd, CaptureWithRealKeysThenCloseAndSave) {
    TempDir work("gyrolens-e2e");
    std::string ini = work.File("Gyrolens.ini");
    // Ctrl+Shift+F2 (stored bits 3, virtual key 113) captures the screen.
    std::string settings = "[File_Set]\r\nJPEGモード=1\r\nJPEG品質=80\r\n画像ファイル開始番号=5\r\n"
                           "Aウィンドウ：修飾キー=3\r\nAウィンドウ：キー=113\r\nAウィンドウ：監視=1\r\n"
                           "画像ファイル名=cap\r\n保存先=" + work.Path() + "\r\n"
                           "[Window]\r\nX位置=10\r\nY位置=10\r\n幅=700\r\n高さ=500\r\n";
    ASSERT_TRUE(WriteFileBytes(ini, settings));

    std::string command = "\"" + ProgramPath() + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, work.Path().c_str(), &si, &pi));
    HWND main = WaitForWindow(pi.dwProcessId, "GYROLENS_CLASS", NULL);
    ASSERT_TRUE(main != NULL);
    EXPECT_EQ("新規 - Gyrolens Ver1.2", WindowText(main));

    SetForegroundWindow(main);
    Sleep(300);
    ASSERT_TRUE(PressKeysOnDisplay("ctrl+alt+s"));
    Sleep(500);
    ASSERT_TRUE(PressKeysOnDisplay("ctrl+shift+F2"));
    std::string image = work.File("cap5.jpg");
    EXPECT_TRUE(WaitForFile(image));

    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND question = WaitForWindow(pi.dwProcessId, "#32770", "保存確認");
    ASSERT_TRUE(question != NULL);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    HWND save = WaitForWindow(pi.dwProcessId, "#32770", "保存するファイル名を指定して下さい");
    ASSERT_TRUE(save != NULL);
    Sleep(300);
    std::string csv = work.File("history.csv");
    SendMessageA(FileNameEdit(save), WM_SETTEXT, 0, (LPARAM)csv.c_str());
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 20000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);

    Image jpeg = ReadJpegFile(image);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), jpeg.width);
    std::string history = ReadFileBytes(csv);
    EXPECT_EQ(0u, history.find("日時,コメント,ファイルパス,テキスト情報\r\n"));
    EXPECT_NE(std::string::npos, history.find(",SCREEN," + image + ",\r\n")) << history;
    EXPECT_EQ("6", Profile(ini, "File_Set", "画像ファイル開始番号"));
    EXPECT_EQ("700", Profile(ini, "Window", "幅"));
    EXPECT_EQ("500", Profile(ini, "Window", "高さ"));
    EXPECT_EQ("10", Profile(ini, "Window", "X位置"));
}
