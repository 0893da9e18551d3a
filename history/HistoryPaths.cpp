#include "history/HistoryPaths.h"

#include <string.h>

#include "base/ByteString.h"
#include "history/HistoryCsv.h"

static bool Fits(bool fit, char* out) {
    if (!fit)
        out[0] = '\0';
    return fit;
}

bool ImageFullPath(const char* historyFolder, const char* imageText, char* out, size_t outSize) {
    if (!IsHistoryRelative(imageText))
        return Fits(CopyText(out, outSize, imageText), out);
    return Fits(FormatText(out, outSize, "%s%s", historyFolder, imageText), out);
}

bool TextFullPath(const char* historyFolder, const char* textName, char* out, size_t outSize) {
    return Fits(FormatText(out, outSize, "%s\\%s", historyFolder, textName), out);
}

static char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// The extension is the path's last four bytes: a "." is never the second
// byte of a double-byte character, so those four are whole characters.
bool IsCaptureImageFile(const char* path) {
    static const char* const Extensions[] = { ".bmp", ".jpg", ".png" };
    size_t len = strlen(path);
    if (len < 4)
        return false;
    for (const char* ext : Extensions) {
        bool same = true;
        for (size_t i = 0; i < 4 && same; i++)
            same = AsciiLower(path[len - 4 + i]) == ext[i];
        if (same)
            return true;
    }
    return false;
}

// A name with a space would reach the application as two arguments.
static void QuoteIfSpaced(const char* name, char* out, size_t outSize) {
    if (strchr(name, ' '))
        FormatText(out, outSize, "\"%s\"", name);
    else
        CopyText(out, outSize, name);
}

bool PlanLaunch(const char* path, const char* imageApp, const char* textApp, bool textOnly,
                LaunchPlan* plan) {
    memset(plan, 0, sizeof(*plan));
    const char* app;
    if (!textOnly && IsImageFile(path))
        app = imageApp;
    else if (IsTextFile(path))
        app = textApp;
    else
        return false;
    if (app[0] == '\0') {
        CopyText(plan->file, countof(plan->file), path);
        return true;
    }
    plan->withApp = true;
    CopyText(plan->file, countof(plan->file), app);
    CopyTextN(plan->directory, countof(plan->directory), path, FolderPartLength(path));
    QuoteIfSpaced(FileNamePart(path), plan->parameters, countof(plan->parameters));
    return true;
}
