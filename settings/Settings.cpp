#include "settings/Settings.h"

#include <string.h>

#include "base/ByteString.h"

const char SettingsFileName[] = "Gyrolens.ini";

// Key names of the fixed keys.
static const char KeyAutoSave[] = "CSV自動保存";
static const char KeyConfirmOverwrite[] = "上書き確認";
static const char KeyJpegMode[] = "JPEGモード";
static const char KeyJpegQuality[] = "JPEG品質";
static const char KeyNextNumber[] = "画像ファイル開始番号";
static const char KeyFolderMode[] = "保存先オプション";
static const char KeyKeepOffscreen[] = "範囲外カット";
static const char KeyMaxNumber[] = "ファイル名最大番号";
static const char KeyKeepImage[] = "履歴削除";
static const char KeyZeroPad[] = "ファイル連番０追加";
static const char KeyCsvTitle[] = "CSVタイトル";
static const char KeyComment[] = "コメント";
static const char KeyUseComment[] = "コメント選択";
static const char KeyImageFolder[] = "保存先";
static const char KeyImagePrefix[] = "画像ファイル名";
static const char KeyImageApp[] = "起動アプリ：画像";
static const char KeyTextApp[] = "起動アプリ：テキスト";
static const char KeyWindowX[] = "X位置";
static const char KeyWindowY[] = "Y位置";
static const char KeyWindowWidth[] = "幅";
static const char KeyWindowHeight[] = "高さ";
static const char KeyLayout[] = "レイアウト";
static const char KeyPerPage[] = "最大イメージ数";
static const char KeyImageWidth[] = "イメージ幅";
static const char KeyCommentWidth[] = "コメント幅";
static const char KeyHtmlFolder[] = "出力先";
static const char KeyHtmlPrefix[] = "ファイル名";
static const char KeyNoImageCopy[] = "画像コピーしない";
static const char KeyFrameColor[] = "枠色";
static const char KeyBackColor[] = "背景色";
static const char KeyPerRow[] = "１行項目数";

static const char MissingText[] = "NOTITLE";
static const char MissingFontFace[] = "MS ゴシック";
static const char MissingTextApp[] = "notepad";
static const char MissingHtmlPrefix[] = "page";

enum { MissingColumnWidth = 30, KeyNameSize = 64, ProfileTextSize = 1024 };

void SetDefaultSettings(Settings& s, const char* startDirectory) {
    memset(&s, 0, sizeof(s));
    CopyText(s.startDirectory, countof(s.startDirectory), startDirectory);
    s.nextImageNumber = 1;
    s.keepOffscreen = 1;
    s.keepImageOnDelete = 1;
    s.maxImageNumber = 999999;
    for (FontSetting& f : s.fonts)
        f.pointSize = 10;
    s.windowWidth = 100;
    s.windowHeight = 100;
    for (int& w : s.columnWidths)
        w = 100;
}

bool FindSettingsFile(Settings& s) {
    char found[MAX_PATH] = "";
    DWORD n = SearchPathA(s.startDirectory, SettingsFileName, NULL, countof(found), found, NULL);
    if (n == 0 || n >= countof(found))
        return false;
    CopyText(s.iniPath, countof(s.iniPath), found);
    return true;
}

bool CreateSettingsFile(Settings& s) {
    FormatText(s.iniPath, countof(s.iniPath), "%s\\%s", s.startDirectory, SettingsFileName);
    SetLastError(0);
    HANDLE h = CreateFileA(s.iniPath, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// --- reading ---------------------------------------------------------------

static int ReadInt(const Settings& s, const char* section, const char* key, int missing) {
    return (int)GetPrivateProfileIntA(section, key, missing, s.iniPath);
}

// Reads through a large buffer, then cuts to the field on a character
// boundary (the profile functions would cut byte-wise).
static void ReadText(const Settings& s, const char* section, const char* key, const char* missing,
                     char* dst, size_t dstSize) {
    char text[ProfileTextSize] = "";
    GetPrivateProfileStringA(section, key, missing, text, countof(text), s.iniPath);
    CopyText(dst, dstSize, text);
}

static void LoadHotkeys(Settings& s) {
    char key[KeyNameSize];
    for (int i = 0; i < HotkeyCount; i++) {
        HotkeySetting& h = s.hotkeys[i];
        HotkeyKeyName(i, HotkeyModifiers, key, countof(key));
        h.modifiers = ReadInt(s, SectionFileSet, key, 0);
        HotkeyKeyName(i, HotkeyVirtualKey, key, countof(key));
        h.virtualKey = ReadInt(s, SectionFileSet, key, 0);
        HotkeyKeyName(i, HotkeyEnabled, key, countof(key));
        h.enabled = ReadInt(s, SectionFileSet, key, 0);
        HotkeyKeyName(i, HotkeyChoice, key, countof(key));
        h.choice = ReadInt(s, SectionFileSet, key, 0);
        // A file without any hotkey offers Shift+I for the first mode, not
        // yet enabled, so that the key page shows an example.
        if (h.modifiers == 0 && s.hotkeys[0].virtualKey == 0) {
            h.modifiers = 1;
            h.virtualKey = 0x49;
            h.enabled = 0;
        }
    }
}

static void LoadFonts(Settings& s) {
    char key[KeyNameSize];
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontFaceName, key, countof(key));
        ReadText(s, SectionFileSet, key, MissingFontFace, s.fonts[i].logFont.lfFaceName,
                 countof(s.fonts[i].logFont.lfFaceName));
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontHeight, key, countof(key));
        s.fonts[i].logFont.lfHeight = ReadInt(s, SectionFileSet, key, 10);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontPointSize, key, countof(key));
        s.fonts[i].pointSize = ReadInt(s, SectionFileSet, key, 10);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontWeight, key, countof(key));
        s.fonts[i].logFont.lfWeight = ReadInt(s, SectionFileSet, key, 400);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontItalic, key, countof(key));
        s.fonts[i].logFont.lfItalic = (BYTE)ReadInt(s, SectionFileSet, key, 0);
    }
}

static void LoadFileSection(Settings& s) {
    const char* sec = SectionFileSet;
    s.confirmOverwrite = ReadInt(s, sec, KeyConfirmOverwrite, 0);
    s.jpegMode = ReadInt(s, sec, KeyJpegMode, 0);
    s.autoSaveHistory = ReadInt(s, sec, KeyAutoSave, 0);
    s.jpegQuality = ReadInt(s, sec, KeyJpegQuality, 0);
    s.nextImageNumber = ReadInt(s, sec, KeyNextNumber, 0);
    LoadHotkeys(s);
    s.imageFolderMode = ReadInt(s, sec, KeyFolderMode, 0);
    s.keepOffscreen = ReadInt(s, sec, KeyKeepOffscreen, 1);
    s.maxImageNumber = ReadInt(s, sec, KeyMaxNumber, 999999);
    s.keepImageOnDelete = ReadInt(s, sec, KeyKeepImage, 1);
    s.zeroPadNumber = ReadInt(s, sec, KeyZeroPad, 0);
    ReadText(s, sec, KeyCsvTitle, MissingText, s.csvTitle, countof(s.csvTitle));
    ReadText(s, sec, KeyComment, MissingText, s.fixedComment, countof(s.fixedComment));
    s.useFixedComment = ReadInt(s, sec, KeyUseComment, 0);
    ReadText(s, sec, KeyImageFolder, s.startDirectory, s.imageFolder, countof(s.imageFolder));
    ReadText(s, sec, KeyImagePrefix, "", s.imagePrefix, countof(s.imagePrefix));
    LoadFonts(s);
    ReadText(s, sec, KeyImageApp, "", s.imageApp, countof(s.imageApp));
    ReadText(s, sec, KeyTextApp, MissingTextApp, s.textApp, countof(s.textApp));
}

static void LoadWindowSection(Settings& s) {
    const char* sec = SectionWindow;
    s.windowX = ReadInt(s, sec, KeyWindowX, 0);
    s.windowY = ReadInt(s, sec, KeyWindowY, 0);
    s.windowWidth = ReadInt(s, sec, KeyWindowWidth, 100);
    s.windowHeight = ReadInt(s, sec, KeyWindowHeight, 100);
    for (int i = 0; i < ColumnCount; i++) {
        s.columnWidths[i] = ReadInt(s, sec, ColumnWidthKeys[i], MissingColumnWidth);
        // A column dragged to nothing could never be found again.
        if (s.columnWidths[i] == 0)
            s.columnWidths[i] = MissingColumnWidth;
    }
}

static void LoadHtmlSection(Settings& s) {
    const char* sec = SectionHtml;
    s.htmlLayout = ReadInt(s, sec, KeyLayout, 0);
    s.htmlPerPage = ReadInt(s, sec, KeyPerPage, 0);
    s.htmlImageWidth = ReadInt(s, sec, KeyImageWidth, 0);
    s.htmlCommentWidth = ReadInt(s, sec, KeyCommentWidth, 0);
    ReadText(s, sec, KeyHtmlFolder, s.startDirectory, s.htmlFolder, countof(s.htmlFolder));
    ReadText(s, sec, KeyHtmlPrefix, MissingHtmlPrefix, s.htmlFilePrefix, countof(s.htmlFilePrefix));
    s.htmlNoImageCopy = ReadInt(s, sec, KeyNoImageCopy, 0);
    s.htmlFrameColor = ReadInt(s, sec, KeyFrameColor, 0);
    s.htmlBackColor = ReadInt(s, sec, KeyBackColor, 0);
    s.htmlPerRow = ReadInt(s, sec, KeyPerRow, 0);
}

void LoadSettings(Settings& s) {
    if (!FindSettingsFile(s)) {
        CreateSettingsFile(s);
        return;
    }
    LoadFileSection(s);
    LoadWindowSection(s);
    LoadHtmlSection(s);
}

// --- writing ---------------------------------------------------------------

static void WriteInt(const Settings& s, const char* section, const char* key, int value) {
    char text[16];
    FormatText(text, countof(text), "%d", value);
    WritePrivateProfileStringA(section, key, text, s.iniPath);
}

static void WriteText(const Settings& s, const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, s.iniPath);
}

static void SaveHotkeys(const Settings& s) {
    char key[KeyNameSize];
    for (int i = 0; i < HotkeyCount; i++) {
        const HotkeySetting& h = s.hotkeys[i];
        HotkeyKeyName(i, HotkeyModifiers, key, countof(key));
        WriteInt(s, SectionFileSet, key, h.modifiers);
        HotkeyKeyName(i, HotkeyVirtualKey, key, countof(key));
        WriteInt(s, SectionFileSet, key, h.virtualKey);
        HotkeyKeyName(i, HotkeyEnabled, key, countof(key));
        WriteInt(s, SectionFileSet, key, h.enabled);
        HotkeyKeyName(i, HotkeyChoice, key, countof(key));
        WriteInt(s, SectionFileSet, key, h.choice);
    }
}

static void SaveFonts(const Settings& s) {
    char key[KeyNameSize];
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontFaceName, key, countof(key));
        WriteText(s, SectionFileSet, key, s.fonts[i].logFont.lfFaceName);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontHeight, key, countof(key));
        WriteInt(s, SectionFileSet, key, s.fonts[i].logFont.lfHeight);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontPointSize, key, countof(key));
        WriteInt(s, SectionFileSet, key, s.fonts[i].pointSize);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontWeight, key, countof(key));
        WriteInt(s, SectionFileSet, key, s.fonts[i].logFont.lfWeight);
    }
    for (int i = 0; i < FontCount; i++) {
        FontKeyName(i, FontItalic, key, countof(key));
        WriteInt(s, SectionFileSet, key, s.fonts[i].logFont.lfItalic);
    }
}

void SaveSettings(Settings& s) {
    if (!FindSettingsFile(s))
        CreateSettingsFile(s);
    const char* sec = SectionFileSet;
    WriteInt(s, sec, KeyAutoSave, s.autoSaveHistory);
    WriteInt(s, sec, KeyConfirmOverwrite, s.confirmOverwrite);
    WriteInt(s, sec, KeyJpegMode, s.jpegMode);
    WriteInt(s, sec, KeyJpegQuality, s.jpegQuality);
    WriteInt(s, sec, KeyNextNumber, s.nextImageNumber);
    WriteInt(s, sec, KeyFolderMode, s.imageFolderMode);
    WriteInt(s, sec, KeyKeepOffscreen, s.keepOffscreen);
    WriteInt(s, sec, KeyMaxNumber, s.maxImageNumber);
    WriteInt(s, sec, KeyKeepImage, s.keepImageOnDelete);
    WriteInt(s, sec, KeyZeroPad, s.zeroPadNumber);
    SaveHotkeys(s);
    WriteText(s, sec, KeyCsvTitle, s.csvTitle);
    WriteText(s, sec, KeyComment, s.fixedComment);
    WriteInt(s, sec, KeyUseComment, s.useFixedComment);
    WriteText(s, sec, KeyImageFolder, s.imageFolder);
    WriteText(s, sec, KeyImagePrefix, s.imagePrefix);
    SaveFonts(s);
    WriteText(s, sec, KeyImageApp, s.imageApp);
    WriteText(s, sec, KeyTextApp, s.textApp);
}

void SaveWindowSection(const Settings& s) {
    const char* sec = SectionWindow;
    WriteInt(s, sec, KeyWindowX, s.windowX);
    WriteInt(s, sec, KeyWindowY, s.windowY);
    WriteInt(s, sec, KeyWindowWidth, s.windowWidth);
    WriteInt(s, sec, KeyWindowHeight, s.windowHeight);
    for (int i = 0; i < ColumnCount; i++)
        WriteInt(s, sec, ColumnWidthKeys[i], s.columnWidths[i]);
}

void SaveHtmlSection(const Settings& s) {
    const char* sec = SectionHtml;
    WriteInt(s, sec, KeyLayout, s.htmlLayout);
    WriteInt(s, sec, KeyPerPage, s.htmlPerPage);
    WriteInt(s, sec, KeyImageWidth, s.htmlImageWidth);
    WriteInt(s, sec, KeyCommentWidth, s.htmlCommentWidth);
    WriteText(s, sec, KeyHtmlFolder, s.htmlFolder);
    WriteText(s, sec, KeyHtmlPrefix, s.htmlFilePrefix);
    WriteInt(s, sec, KeyNoImageCopy, s.htmlNoImageCopy);
    WriteInt(s, sec, KeyFrameColor, s.htmlFrameColor);
    WriteInt(s, sec, KeyBackColor, s.htmlBackColor);
    WriteInt(s, sec, KeyPerRow, s.htmlPerRow);
}
