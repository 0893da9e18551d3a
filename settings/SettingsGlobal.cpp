// The program's settings record.  It is loaded while the global objects are
// constructed, so it is ready before the entry function and any window.
#include "settings/Settings.h"

#include "base/ByteString.h"

Settings gSettings;

namespace {

struct SettingsLoader {
    SettingsLoader() {
        char dir[MAX_PATH] = "";
        DWORD n = GetCurrentDirectoryA(countof(dir), dir);
        if (n == 0 || n >= countof(dir))
            dir[0] = '\0';
        SetDefaultSettings(gSettings, dir);
        LoadSettings(gSettings);
    }
};

SettingsLoader gSettingsLoader;

} // namespace
