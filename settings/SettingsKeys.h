// Names of the settings file's sections and keys.  Key names are Japanese
// (Shift_JIS once compiled); the hotkey and font keys are built from a stem
// and a suffix.
#pragma once

#include <stddef.h>

enum {
    HotkeyCount = 8,
    FontCount = 3,
    ColumnCount = 4,
};

enum HotkeyField { HotkeyModifiers, HotkeyVirtualKey, HotkeyEnabled, HotkeyChoice, HotkeyFieldCount };
enum FontField { FontFaceName, FontHeight, FontPointSize, FontWeight, FontItalic, FontFieldCount };

extern const char SectionFileSet[];
extern const char SectionWindow[];
extern const char SectionHtml[];

// Stem of capture mode i's keys; entry 0 belongs to hotkey identifier 102.
extern const char* const HotkeyStems[HotkeyCount];
extern const char* const HotkeySuffixes[HotkeyFieldCount];
// Fonts in file order: general, image, history.
extern const char* const FontStems[FontCount];
extern const char* const FontSuffixes[FontFieldCount];

// "<stem><suffix>" of one hotkey or font key, into out.
void HotkeyKeyName(int entry, HotkeyField field, char* out, size_t outSize);
void FontKeyName(int font, FontField field, char* out, size_t outSize);
