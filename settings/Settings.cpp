#include "settings/Settings.h"

#include <stddef.h>
#include <string.h>

#include "base/ByteString.h"
#include "base/WinHandles.h"
#include "settings/SettingsRules.h"

const char SettingsFileName[] = "Gyrolens.ini";

enum { MissingColumnWidth = 30, KeyNameSize = 64, ProfileTextSize = 1024 };

// --- the keys of each section, in file order -------------------------------
//
// One table per section says, for each key, which field it holds, of what
// kind, and what a file without the key gives.  Loading and saving walk the
// same tables, so the write order is stated once.  The 32 hotkey keys and the
// 15 font keys are built from their stems where the table says so.

enum KeyKind { IntKey, TextKey, HotkeyKeys, FontKeys };

struct SettingsKey {
    const char* key;
    KeyKind kind;
    size_t offset;           // of the field in Settings
    size_t size;             // of a text field
    int missingNumber;
    const char* missingText; // NULL: the start directory
};

#define INT_KEY(key, field, missing) { key, IntKey, offsetof(Settings, field), 0, missing, "" }
#define TEXT_KEY(key, field, missing) \
    { key, TextKey, offsetof(Settings, field), sizeof(((Settings*)0)->field), 0, missing }
#define GROUP_KEYS(kind) { "", kind, 0, 0, 0, "" }

static const SettingsKey FileSetKeys[] = {
    INT_KEY("CSV自動保存", autoSaveHistory, 0),
    INT_KEY("上書き確認", confirmOverwrite, 0),
    INT_KEY("JPEGモード", jpegMode, 0),
    INT_KEY("JPEG品質", jpegQuality, 0),
    INT_KEY("画像ファイル開始番号", nextImageNumber, 0),
    INT_KEY("保存先オプション", imageFolderMode, 0),
    INT_KEY("範囲外カット", keepOffscreen, 1),
    INT_KEY("ファイル名最大番号", maxImageNumber, DefaultMaxImageNumber),
    INT_KEY("履歴削除", keepImageOnDelete, 1),
    INT_KEY("ファイル連番０追加", zeroPadNumber, 0),
    GROUP_KEYS(HotkeyKeys),
    TEXT_KEY("CSVタイトル", csvTitle, "NOTITLE"),
    TEXT_KEY("コメント", fixedComment, "NOTITLE"),
    INT_KEY("コメント選択", useFixedComment, 0),
    TEXT_KEY("保存先", imageFolder, NULL),
    TEXT_KEY("画像ファイル名", imagePrefix, ""),
    GROUP_KEYS(FontKeys),
    TEXT_KEY("起動アプリ：画像", imageApp, ""),
    TEXT_KEY("起動アプリ：テキスト", textApp, "notepad"),
    INT_KEY("クリップボードにコピー", copyToClipboard, 0),
};

static const SettingsKey WindowKeys[] = {
    INT_KEY("X位置", windowX, 0),
    INT_KEY("Y位置", windowY, 0),
    INT_KEY("幅", windowWidth, 100),
    INT_KEY("高さ", windowHeight, 100),
    INT_KEY("項目１幅", columnWidths[0], MissingColumnWidth),
    INT_KEY("項目２幅", columnWidths[1], MissingColumnWidth),
    INT_KEY("項目３幅", columnWidths[2], MissingColumnWidth),
    INT_KEY("項目４幅", columnWidths[3], MissingColumnWidth),
};

static const SettingsKey HtmlKeys[] = {
    INT_KEY("レイアウト", htmlLayout, 0),
    INT_KEY("最大イメージ数", htmlPerPage, 0),
    INT_KEY("イメージ幅", htmlImageWidth, 0),
    INT_KEY("コメント幅", htmlCommentWidth, 0),
    TEXT_KEY("出力先", htmlFolder, NULL),
    TEXT_KEY("ファイル名", htmlFilePrefix, "page"),
    INT_KEY("画像コピーしない", htmlNoImageCopy, 0),
    INT_KEY("枠色", htmlFrameColor, 0),
    INT_KEY("背景色", htmlBackColor, 0),
    INT_KEY("１行項目数", htmlPerRow, 0),
};

// What a file without a font key gives, by field.
static const char MissingFontFace[] = "MS ゴシック";
static const int MissingFontNumbers[FontFieldCount] = { 0, 10, 10, 400, 0 };

void SetDefaultSettings(Settings& s, const char* startDirectory) {
    memset(&s, 0, sizeof(s));
    CopyText(s.startDirectory, countof(s.startDirectory), startDirectory);
    s.nextImageNumber = 1;
    s.keepOffscreen = 1;
    s.keepImageOnDelete = 1;
    s.maxImageNumber = DefaultMaxImageNumber;
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
    ScopedFile file(CreateFileA(s.iniPath, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, NULL));
    return file.IsValid();
}

// --- one key's value --------------------------------------------------------

// One concrete key with the field it holds: a whole int, the 8-bit italic
// flag of a font, or a text buffer.
struct KeySlot {
    char name[KeyNameSize];
    int* number;
    BYTE* flag;
    char* text;
    size_t textSize;
    int missingNumber;
    const char* missingText;
};

// Calls visit(slot) for every key of a section's table, in file order.
template <typename Visit>
static void ForEachKey(Settings& s, const SettingsKey* table, size_t count, Visit visit) {
    char* base = (char*)&s;
    for (size_t i = 0; i < count; i++) {
        const SettingsKey& k = table[i];
        KeySlot slot = {};
        if (k.kind == IntKey || k.kind == TextKey) {
            CopyText(slot.name, countof(slot.name), k.key);
            if (k.kind == IntKey)
                slot.number = (int*)(base + k.offset);
            else
                slot.text = base + k.offset, slot.textSize = k.size;
            slot.missingNumber = k.missingNumber;
            slot.missingText = k.missingText ? k.missingText : s.startDirectory;
            visit(slot);
        } else if (k.kind == HotkeyKeys) {
            for (int entry = 0; entry < HotkeyCount; entry++) {
                int* fields[HotkeyFieldCount] = { &s.hotkeys[entry].modifiers, &s.hotkeys[entry].virtualKey,
                                                  &s.hotkeys[entry].enabled, &s.hotkeys[entry].choice };
                for (int f = 0; f < HotkeyFieldCount; f++) {
                    KeySlot hotkey = {};
                    HotkeyKeyName(entry, (HotkeyField)f, hotkey.name, countof(hotkey.name));
                    hotkey.number = fields[f];
                    visit(hotkey);
                }
            }
        } else {
            // Field by field, each for the three fonts.
            for (int f = 0; f < FontFieldCount; f++) {
                for (int font = 0; font < FontCount; font++) {
                    FontSetting& fs = s.fonts[font];
                    KeySlot fontKey = {};
                    FontKeyName(font, (FontField)f, fontKey.name, countof(fontKey.name));
                    fontKey.missingNumber = MissingFontNumbers[f];
                    fontKey.missingText = MissingFontFace;
                    if (f == FontFaceName)
                        fontKey.text = fs.logFont.lfFaceName, fontKey.textSize = countof(fs.logFont.lfFaceName);
                    else if (f == FontHeight)
                        fontKey.number = (int*)&fs.logFont.lfHeight;
                    else if (f == FontPointSize)
                        fontKey.number = &fs.pointSize;
                    else if (f == FontWeight)
                        fontKey.number = (int*)&fs.logFont.lfWeight;
                    else
                        fontKey.flag = &fs.logFont.lfItalic;
                    visit(fontKey);
                }
            }
        }
    }
}

// --- reading ---------------------------------------------------------------

// Texts are read through a large buffer, then cut to the field on a
// character boundary (the profile functions would cut byte-wise).
static void LoadSection(Settings& s, const char* section, const SettingsKey* table, size_t count) {
    ForEachKey(s, table, count, [&](const KeySlot& k) {
        if (k.text) {
            char text[ProfileTextSize] = "";
            GetPrivateProfileStringA(section, k.name, k.missingText, text, countof(text), s.iniPath);
            CopyText(k.text, k.textSize, text);
            return;
        }
        int value = (int)GetPrivateProfileIntA(section, k.name, k.missingNumber, s.iniPath);
        if (k.flag)
            *k.flag = (BYTE)value;
        else
            *k.number = value;
    });
}

// A file without any hotkey offers Shift+I for the first mode, not yet
// enabled, so that the key page shows an example.  Entry by entry in order,
// as the keys are read: each entry sees the first one's key as it stands.
static void OfferExampleHotkey(Settings& s) {
    for (HotkeySetting& h : s.hotkeys) {
        if (h.modifiers == 0 && s.hotkeys[0].virtualKey == 0) {
            h.modifiers = 1;
            h.virtualKey = 0x49;
            h.enabled = 0;
        }
    }
}

void LoadSettings(Settings& s) {
    if (!FindSettingsFile(s)) {
        CreateSettingsFile(s);
        return;
    }
    LoadSection(s, SectionFileSet, FileSetKeys, countof(FileSetKeys));
    OfferExampleHotkey(s);
    MendFileNamingSettings(s.imagePrefix, &s.maxImageNumber);
    LoadSection(s, SectionWindow, WindowKeys, countof(WindowKeys));
    // A column dragged to nothing could never be found again.
    for (int& w : s.columnWidths)
        if (w == 0)
            w = MissingColumnWidth;
    LoadSection(s, SectionHtml, HtmlKeys, countof(HtmlKeys));
}

// --- writing ---------------------------------------------------------------

// Writes every key of a section; integers as signed decimal text.  The
// record is only read, but the walk is shared with loading.
static void SaveSection(const Settings& s, const char* section, const SettingsKey* table, size_t count) {
    Settings& fields = const_cast<Settings&>(s);
    ForEachKey(fields, table, count, [&](const KeySlot& k) {
        char number[16];
        const char* value = k.text;
        if (!value) {
            FormatText(number, countof(number), "%d", k.flag ? (int)*k.flag : *k.number);
            value = number;
        }
        WritePrivateProfileStringA(section, k.name, value, s.iniPath);
    });
}

void SaveSettings(Settings& s) {
    if (!FindSettingsFile(s))
        CreateSettingsFile(s);
    SaveSection(s, SectionFileSet, FileSetKeys, countof(FileSetKeys));
}

void SaveWindowSection(const Settings& s) {
    SaveSection(s, SectionWindow, WindowKeys, countof(WindowKeys));
}

void SaveHtmlSection(const Settings& s) {
    SaveSection(s, SectionHtml, HtmlKeys, countof(HtmlKeys));
}
