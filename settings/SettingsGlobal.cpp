// The program's settings record.  It is loaded while the global objects are
// constructed, so it is ready before the entry function and any window.
#include "settings/Settings.h"

#include "base/ByteString.h"
#include "base/FileIo.h"

Settings gSettings;

namespace {

struct SettingsLoader {
    SettingsLoader() {
        char dir[MAX_PATH] = "";
        GetWorkingDirectory(dir, countof(dir));
        SetDefaultSettings(gSettings, dir);
        LoadSettings(gSettings);
    }
};

SettingsLoader gSettingsLoader;

} // namespace
