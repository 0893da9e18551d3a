#include "history/TextFileDialog.h"

#include <windowsx.h>

#include <string.h>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "base/ModalOwner.h"
#include "base/Texts.h"
#include "base/TextSizes.h"
#include "base/WinHandles.h"
#include "resources/resource.h"

static const char TextNoFileChosen[] = "ファイルが選択されていません";
static const char TextEnterFileName[] = "ファイル名を入力してください";
static const char TextFileExists[] = "指定されたファイルは既にあります。";
static const char NewFileExtension[] = ".txt";

enum { TextFileChosen = 1, TextFileCancelled = 2 };

struct TextFileDialogState {
    const char* folder;
    char* name;
    size_t nameSize;
};

static TextFileDialogState* State(HWND dialog) {
    return (TextFileDialogState*)GetWindowLongPtrA(dialog, DWLP_USER);
}

// Whether a file of that name is there.  The probe shares the file with
// any program that has it open, and a file held open without sharing is
// there all the same.
static bool NameIsTaken(const char* path) {
    SetLastError(0);
    ScopedFile existing(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    return existing.IsValid() || GetLastError() == ERROR_SHARING_VIOLATION;
}

// Creates an empty file; false, after saying so, when one of that name is
// already there, and silently when it cannot be created.
static bool CreateEmptyTextFile(HWND owner, const char* path) {
    if (NameIsTaken(path)) {
        AppMessageBox(owner, TextFileExists, path, MB_OK);
        return false;
    }
    ScopedFile created(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL));
    return created.IsValid();
}

static void ListTextFiles(HWND dialog, const char* folder) {
    HWND list = GetDlgItem(dialog, IDC_TEXTFILE_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    char pattern[PathSize];
    if (!FormatText(pattern, countof(pattern), "%s\\*.TXT", folder))
        return;
    WIN32_FIND_DATAA found;
    ScopedFind find(FindFirstFileA(pattern, &found));
    if (!find.IsValid())
        return;
    do {
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)found.cFileName);
    } while (FindNextFileA(find.Get(), &found));
}

static BOOL OnInitDialog(HWND dialog, HWND, LPARAM lParam) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    TextFileDialogState* s = State(dialog);
    ListTextFiles(dialog, s->folder);
    SetDlgItemTextA(dialog, IDC_TEXTFILE_FOLDER, s->folder);
    return TRUE;
}

static void ChooseSelected(HWND dialog) {
    TextFileDialogState* s = State(dialog);
    HWND list = GetDlgItem(dialog, IDC_TEXTFILE_LIST);
    int index = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
    int length = index == LB_ERR ? LB_ERR : (int)SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) {
        AppMessageBox(dialog, TextNoFileChosen, CaptionConfirm, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Names come from the folder or from "追加", which keeps them to a path.
    char chosen[PathSize] = "";
    if (length < (int)countof(chosen))
        SendMessageA(list, LB_GETTEXT, index, (LPARAM)chosen);
    CopyText(s->name, s->nameSize, chosen);
    EndDialog(dialog, TextFileChosen);
}

static void ChooseNone(HWND dialog) {
    TextFileDialogState* s = State(dialog);
    s->name[0] = '\0';
    EndDialog(dialog, TextFileChosen);
}

// Whatever happens the dialog stays open.
static void AddNewFile(HWND dialog) {
    char name[PathSize + sizeof(NewFileExtension)] = "";
    GetDlgItemTextA(dialog, IDC_TEXTFILE_NEWNAME, name, PathSize);
    DropCutHalfCharacter(name, PathSize);
    if (name[0] == '\0') {
        AppMessageBox(dialog, TextEnterFileName, CaptionConfirm, MB_OK);
        return;
    }
    AppendText(name, countof(name), NewFileExtension);
    char path[PathSize];
    // A path too long for the buffer cannot be created: like any other
    // file that cannot be created, nothing is added.
    if (!FormatText(path, countof(path), "%s\\%s", State(dialog)->folder, name) ||
        !CreateEmptyTextFile(dialog, path))
        return;
    HWND list = GetDlgItem(dialog, IDC_TEXTFILE_LIST);
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
    SendMessageA(list, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)name);
}

static void OnCommand(HWND dialog, int id, HWND, UINT) {
    switch (id) {
    case IDOK:              ChooseSelected(dialog); break;
    case IDC_TEXTFILE_NONE: ChooseNone(dialog); break;
    case IDCANCEL:          EndDialog(dialog, TextFileCancelled); break;
    case IDC_TEXTFILE_ADD:  AddNewFile(dialog); break;
    }
}

static INT_PTR CALLBACK TextFileDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return HANDLE_WM_INITDIALOG(dialog, wParam, lParam, OnInitDialog);
    case WM_COMMAND:
        HANDLE_WM_COMMAND(dialog, wParam, lParam, OnCommand);
        return TRUE;
    }
    return FALSE;
}

int RunTextFileDialog(HWND owner, const char* folder, char* name, size_t nameSize) {
    TextFileDialogState state = { folder, name, nameSize };
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE);
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TEXTFILE), ModalOwner(owner), TextFileDialogProc,
                                (LPARAM)&state);
}
