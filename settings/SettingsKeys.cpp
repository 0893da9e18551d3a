#include "settings/SettingsKeys.h"

#include "base/ByteString.h"

const char SectionFileSet[] = "File_Set";
const char SectionWindow[] = "Window";
const char SectionHtml[] = "HTML";

// Within each pair the active-window mode is stored under the stem that
// begins with 画面全体 and the whole-screen mode under Aウィンドウ.  Files
// written by earlier versions depend on this crossing.
const char* const HotkeyStems[HotkeyCount] = {
    "画面全体", "Aウィンドウ", "画面全体P", "AウィンドウP",
    "画面全体C", "AウィンドウC", "画面全体D", "AウィンドウD",
};

const char* const HotkeySuffixes[HotkeyFieldCount] = {
    "：修飾キー", "：キー", "：監視", "：選択",
};

const char* const FontStems[FontCount] = { "全体", "画像", "履歴" };

const char* const FontSuffixes[FontFieldCount] = {
    "フォント名", "フォント高さ", "フォントサイズ", "フォント太さ", "フォント斜体",
};

void HotkeyKeyName(int entry, HotkeyField field, char* out, size_t outSize) {
    FormatText(out, outSize, "%s%s", HotkeyStems[entry], HotkeySuffixes[field]);
}

void FontKeyName(int font, FontField field, char* out, size_t outSize) {
    FormatText(out, outSize, "%s%s", FontStems[font], FontSuffixes[field]);
}
