#include "app/Help.h"

#include <htmlhelp.h>
#include <string.h>

#include "app/MainWindow.h"
#include "base/ByteString.h"
#include "base/FileIo.h"
#include "base/MessageBox.h"
#include "base/TextSizes.h"
#include "base/Texts.h"
#include "settings/Settings.h"

static HMODULE gHelpModule;
static HtmlHelpFn gHtmlHelp;
static HtmlHelpLoader gHtmlHelpLoader;
static bool gInitialized;

static const char TextHelpViewerMissing[] =
    "ヘルプを表示できません。\r\nHTMLヘルプ（hhctrl.ocx）がこのシステムにありません。";

void SetHtmlHelpLoader(HtmlHelpLoader loader) {
    gHtmlHelpLoader = loader;
}

static HtmlHelpFn HelpFunction() {
    if (gHtmlHelpLoader)
        return gHtmlHelpLoader();
    if (!gHelpModule) {
        gHelpModule = LoadLibraryA("hhctrl.ocx");
        if (gHelpModule)
            gHtmlHelp = (HtmlHelpFn)(void*)GetProcAddress(gHelpModule, "HtmlHelpA");
    }
    return gHtmlHelp;
}

// The help file is looked for in the folder the program was started in; a
// missing file, or a system without the help viewer, is said, rather than a
// request that silently does nothing.
static bool HelpFile(HWND owner, char* path, size_t size) {
    FormatText(path, size, "%s\\GyrolensHelp.chm", gSettings.startDirectory);
    if (!FileExists(path)) {
        char text[PathSize + 64];
        FormatText(text, countof(text), "ヘルプファイルが見つかりません。\r\n%s", path);
        AppMessageBox(owner, text, CaptionError, MB_OK | MB_ICONWARNING);
        return false;
    }
    HtmlHelpFn help = HelpFunction();
    if (!help) {
        AppMessageBox(owner, TextHelpViewerMissing, CaptionError, MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!gInitialized) {
        help(NULL, NULL, HH_INITIALIZE, (DWORD_PTR)&gShell.helpCookie);
        gInitialized = true;
    }
    return true;
}

void ShowHelpContents(HWND owner) {
    char path[PathSize];
    if (HelpFile(owner, path, countof(path)))
        HelpFunction()(owner, path, HH_DISPLAY_TOC, 0);
}

void ShowHelpSearch(HWND owner) {
    char path[PathSize];
    if (!HelpFile(owner, path, countof(path)))
        return;
    HH_FTS_QUERY query = {};
    query.cbStruct = sizeof(query);
    query.fUniCodeStrings = FALSE;
    query.pszSearchQuery = "";
    query.iProximity = -1;
    query.fStemmedSearch = FALSE;
    query.fTitleOnly = FALSE;
    query.fExecute = TRUE;
    query.pszWindow = NULL;
    HelpFunction()(owner, path, HH_DISPLAY_SEARCH, (DWORD_PTR)&query);
}

void ShowHelpKeyword(HWND owner) {
    char path[PathSize];
    if (!HelpFile(owner, path, countof(path)))
        return;
    static char keywords[128];
    memset(keywords, 0, sizeof(keywords));
    HH_AKLINK link = {};
    link.cbStruct = sizeof(link);
    link.fReserved = FALSE;
    link.pszKeywords = keywords;
    link.pszUrl = NULL;
    link.pszMsgText = "キーワードが見つかりません";
    link.pszMsgTitle = "キーワードエラー";
    link.pszWindow = NULL;
    link.fIndexOnFail = FALSE;
    HelpFunction()(owner, path, HH_KEYWORD_LOOKUP, (DWORD_PTR)&link);
}

void UninitializeHelp() {
    if (gInitialized && HelpFunction())
        HelpFunction()(NULL, NULL, HH_UNINITIALIZE, gShell.helpCookie);
    gInitialized = false;
}
