// The settings record and its file, Gyrolens.ini.
//
// Gyrolens.ini lives in the working directory the program was started in and
// is read and written with the private-profile functions.  Three sections:
//   [File_Set]  capture, file-naming, history and font settings, and the
//               eight capture hotkeys (32 keys "<stem>：<field>")
//   [Window]    main window placement and the history list's column widths
//   [HTML]      the choices of the last HTML export
// Integers are stored as signed decimal text, texts unchanged, all in
// Shift_JIS.  Nothing tracks changes: callers change fields in place and
// then ask for the section to be written.
#pragma once

#include <windows.h>

#include "base/TextSizes.h"
#include "settings/SettingsKeys.h"

enum { CsvTitleSize = 64 };

struct HotkeySetting {
    int modifiers;  // hotkey-control bits: 1 Shift, 2 Ctrl, 4 Alt
    int virtualKey; // 0: none
    int enabled;    // registered while capture monitoring is on
    int choice;     // cursor picture of the cursor-picture modes
};

struct FontSetting {
    LOGFONTA logFont; // only face, height, weight and italic are stored
    int pointSize;
};

struct Settings {
    char startDirectory[PathSize]; // working directory at start-up
    char iniPath[PathSize];        // full path of Gyrolens.ini

    // [File_Set]
    int confirmOverwrite;
    int jpegMode; // image format: 1 JPEG, 2 PNG, any other value BMP
    int autoSaveHistory;
    int jpegQuality;
    int nextImageNumber;
    HotkeySetting hotkeys[HotkeyCount];
    int imageFolderMode; // 1: images go into the history file's folder
    int keepOffscreen;   // 0 cut, 1 keep on black, other values refuse
    int maxImageNumber;
    int keepImageOnDelete;
    int zeroPadNumber;
    char csvTitle[CsvTitleSize];
    char fixedComment[CommentSize];
    int useFixedComment;
    char imageFolder[PathSize];
    char imagePrefix[PathSize];
    FontSetting fonts[FontCount]; // general, image, history
    char imageApp[PathSize];
    char textApp[PathSize];
    int copyToClipboard; // 1: each capture also goes on the clipboard

    // [Window]
    int windowX;
    int windowY;
    int windowWidth;
    int windowHeight;
    int columnWidths[ColumnCount];

    // [HTML]
    int htmlLayout;
    int htmlPerPage;
    int htmlImageWidth;
    int htmlCommentWidth;
    char htmlFolder[PathSize];
    char htmlFilePrefix[PathSize];
    int htmlNoImageCopy;
    int htmlFrameColor; // COLORREF of the table cells
    int htmlBackColor;  // COLORREF of the table itself
    int htmlPerRow;
};

enum { FontGeneral, FontImage, FontHistory };

// The program's one settings record, loaded from the working directory's
// Gyrolens.ini before the entry function runs.
extern Settings gSettings;

extern const char SettingsFileName[];

// "保存先オプション" 1: captured images go into the history file's folder.
inline bool ImagesInHistoryFolder(const Settings& s) {
    return s.imageFolderMode == 1;
}

// Defaults of a run without a settings file.
void SetDefaultSettings(Settings& s, const char* startDirectory);
// Looks for Gyrolens.ini in startDirectory only; sets iniPath when found.
bool FindSettingsFile(Settings& s);
// Creates an empty Gyrolens.ini in startDirectory; iniPath names it either way.
bool CreateSettingsFile(Settings& s);
// Loads every section over the defaults; creates the file when it is missing.
void LoadSettings(Settings& s);
// Writes every [File_Set] key (creating the file when it is missing).
void SaveSettings(Settings& s);
void SaveWindowSection(const Settings& s);
void SaveHtmlSection(const Settings& s);
