#include "app/MainLayout.h"

#include <commctrl.h>

#include "app/CommandBars.h"
#include "base/Dpi.h"
#include "base/WinHandles.h"
#include "resources/resource.h"
#include "settingsui/KeyPanel.h"
#include "settings/Settings.h"

MainLayout gLayout;

// Both fonts: Shift_JIS, proof quality, fixed pitch modern (49), with the
// general font's point size used directly as the height (at 96 DPI).
HFONT CreatePaneFont(int weight, BYTE italic) {
    const FontSetting& f = gSettings.fonts[FontGeneral];
    return CreateFontA(ScaleForDpi(f.pointSize, gLayout.dpi), 0, 0, 0, weight, italic, FALSE, FALSE,
                       SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       FIXED_PITCH | FF_MODERN, f.logFont.lfFaceName);
}

void ReadFontMetrics(HWND hwnd, HFONT font, TEXTMETRICA* metrics) {
    ScopedWindowDC dc(hwnd);
    ScopedSelect select(dc, font);
    GetTextMetricsA(dc, metrics);
}

static void CreateLayoutFont() {
    MainLayout& l = gLayout;
    const FontSetting& f = gSettings.fonts[FontGeneral];
    l.layoutFont = CreatePaneFont(f.logFont.lfWeight, f.logFont.lfItalic);
    l.fontCreated = l.layoutFont != NULL;
    if (!l.layoutFont)
        return;
    ReadFontMetrics(l.tabControl, l.layoutFont, &l.layoutMetrics);
    // Handed over at once, not posted: the window may paint before a posted
    // font arrives, and the tabs then change size under the old picture.
    SendMessageA(l.tabControl, WM_SETFONT, (WPARAM)l.layoutFont, TRUE);
    InvalidateRect(l.tabControl, NULL, TRUE);
}

void RecreateLayoutFont() {
    // The tab control may still draw with the old font until it takes the
    // new one, so the old one goes only after the new one is handed over.
    HFONT old = gLayout.layoutFont;
    gLayout.layoutFont = NULL;
    CreateLayoutFont();
    if (old)
        DeleteObject(old);
}

void DestroyLayoutFonts() {
    if (gLayout.layoutFont)
        DeleteObject(gLayout.layoutFont);
    if (gLayout.historyPane.paneFont)
        DeleteObject(gLayout.historyPane.paneFont);
    gLayout.layoutFont = gLayout.historyPane.paneFont = NULL;
    gLayout.fontCreated = gLayout.historyPane.fontCreated = 0;
}

PaneMetrics CurrentPaneMetrics() {
    int dpi = gLayout.dpi;
    return { MetricForDpi(SM_CXFRAME, dpi), MetricForDpi(SM_CYFRAME, dpi), MetricForDpi(SM_CYEDGE, dpi),
             MetricForDpi(SM_CYHSCROLL, dpi) };
}

static HWND CreateContainer(HWND tabControl) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, tabControl,
                           (HMENU)(INT_PTR)IDC_PANE_CONTAINER, gLayout.instance, NULL);
}

// The settings tab holds the key-assignment panel, which keeps its own
// size; only its container follows the window.
static void CreateSettingsPane(HWND tabControl) {
    SettingsPane& p = gLayout.settingsPane;
    p.tabControl = tabControl;
    p.container = CreateContainer(tabControl);
    ShowWindow(p.container, SW_HIDE);
}

// The panel is made when its tab is first shown: it is the slowest window
// to create and nothing needs it before (the hotkeys are registered from
// the settings).
void EnsureKeyPanel() {
    SettingsPane& p = gLayout.settingsPane;
    if (!p.keyPanel && p.container)
        p.keyPanel = CreateKeyPanel(gLayout.instance, p.container);
}

// A panel made anew takes its fonts and pictures for the DPI it is made
// at; its values all live in the settings.
static void RecreateKeyPanel() {
    SettingsPane& p = gLayout.settingsPane;
    if (!p.keyPanel)
        return;
    DestroyWindow(p.keyPanel);
    p.keyPanel = NULL;
    EnsureKeyPanel();
}

void ChangeLayoutDpi(int dpi) {
    int old = gLayout.dpi;
    gLayout.dpi = dpi;
    RecreateLayoutFont();
    ChangeHistoryPaneDpi(old, dpi);
    RecreateKeyPanel();
}

static void InsertTab(HWND tab, int index, const char* text) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = (char*)text;
    SendMessageA(tab, TCM_INSERTITEMA, index, (LPARAM)&item);
}

HWND CreateLayout(HWND mainWindow) {
    MainLayout& l = gLayout;
    l.mainWindow = mainWindow;
    l.instance = (HINSTANCE)GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE);
    l.dpi = WindowDpi(mainWindow);
    RegisterPaneClasses(l.instance);
    l.tabControl = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 4, 4,
                                   mainWindow, (HMENU)(INT_PTR)IDC_MAIN_TAB, l.instance, NULL);
    CreateHistoryPane(l.tabControl);
    CreateSettingsPane(l.tabControl);
    ShowWindow(l.historyPane.container, SW_SHOW);
    ShowWindow(l.settingsPane.container, SW_HIDE);
    InsertTab(l.tabControl, TabHistory, "履歴データ");
    InsertTab(l.tabControl, TabSettings, "設定");
    return l.tabControl;
}

static int ClientHeight(HWND hwnd) {
    RECT r = {};
    if (hwnd)
        GetClientRect(hwnd, &r);
    return r.bottom - r.top;
}

void LayoutPanes(WPARAM sizeType, LPARAM) {
    MainLayout& l = gLayout;
    if (!l.fontCreated)
        CreateLayoutFont();
    if (sizeType == SIZE_MINIMIZED)
        return;
    PaneMetrics m = CurrentPaneMetrics();
    RECT client;
    GetClientRect(l.mainWindow, &client);
    PaneRect tab = TabControlRect(m, client.right, client.bottom, ClientHeight(gToolbar.hwnd),
                                  ClientHeight(gStatusBar.hwnd));
    MoveWindow(l.tabControl, tab.x, tab.y, tab.width, tab.height, TRUE);

    RECT tabRect;
    GetWindowRect(l.tabControl, &tabRect);
    PaneRect box = ContainerRect(m, tabRect.right - tabRect.left, tabRect.bottom - tabRect.top,
                                 l.layoutMetrics.tmHeight);
    MoveWindow(l.historyPane.container, box.x, box.y, box.width, box.height, TRUE);
    MoveWindow(l.settingsPane.container, box.x, box.y, box.width, box.height, TRUE);
    SplitHistoryPane();
}
