// The key-assignment panel in a window of its own: rows shown from the
// settings, each change saved at once, hotkeys registered anew while
// monitoring, real key presses on the X display.
#include "settingsui/KeyPanel.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "capture/CaptureContext.h"
#include "capture/Hotkeys.h"
#include "history/HistoryFile.h"
#include "resources/resource.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"
#include "tests/support/GuiTestSupport.h"

namespace {

const int Toggles[] = { 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021 };
const int HotkeyControls[] = { 1085, 1098, 1099, 1100, 1101, 1102, 1103, 1104 };

std::vector<int> gHotkeys;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY) {
        gHotkeys.push_back((int)wp);
        HandleCaptureHotkey(hwnd, NULL, (int)wp);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool HasLine(const std::string& ini, const std::string& line) {
    return ini.find("\r\n" + line + "\r\n") != std::string::npos;
}

// The pixels of a bitmap as 32-bit values, top row first.
std::vector<unsigned> BitmapPixels(HBITMAP bitmap) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    BITMAPINFO bi = TopDown32(info.bmWidth, info.bmHeight);
    std::vector<unsigned> pixels((size_t)info.bmWidth * info.bmHeight);
    HDC dc = GetDC(NULL);
    GetDIBits(dc, bitmap, 0, (UINT)info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    return pixels;
}

class KeyPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureState(dir.Path());
        SaveSettings(gSettings);
        gHotkeys.clear();
    }
    void TearDown() override {
        StopMonitoring(main);
        DestroyWindow(main);
    }
    // The panel as the settings tab holds it: in a plain container inside
    // the top-level window that owns the hotkeys.
    // Its window is 860 x 460 at 96 DPI, grown with the display's DPI.
    void OpenPanel() {
        int dpi = ScreenDpi();
        main = CreateTestWindow("GyrolensKeyPanelTest", MainProc, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                MulDiv(860, dpi, 96), MulDiv(460, dpi, 96), "key panel");
        HWND container = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, MulDiv(840, dpi, 96),
                                         MulDiv(420, dpi, 96), main, NULL, NULL, NULL);
        panel = CreateKeyPanel(GetModuleHandleA(NULL), container);
        ASSERT_TRUE(panel != NULL);
        PumpFor(50);
    }
    std::string ToggleText(int row) { return DialogItemText(panel, Toggles[row]); }
    HWND Hotkey(int row) { return GetDlgItem(panel, HotkeyControls[row]); }
    std::string Ini() { return ReadFileBytes(dir.File("Gyrolens.ini")); }
    void ChoosePicture(int list, int index) {
        HWND combo = GetDlgItem(panel, list);
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)index, 0);
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), (LPARAM)combo);
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    HWND main = NULL;
    HWND panel = NULL;
};

} // namespace

TEST_F(KeyPanelTest, RowsShowTheStoredHotkeys) {
    gSettings.hotkeys[0] = { 3, VK_F1, 1, 0 };
    gSettings.hotkeys[1] = { 1, 'I', 0, 0 };
    gSettings.hotkeys[5].choice = 3;
    OpenPanel();
    EXPECT_EQ("有効", ToggleText(0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(panel, Toggles[0]));
    EXPECT_FALSE(IsWindowEnabled(Hotkey(0)));
    EXPECT_EQ(MAKEWORD(VK_F1, 3), SendMessageA(Hotkey(0), HKM_GETHOTKEY, 0, 0));
    EXPECT_EQ("無効", ToggleText(1));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(panel, Toggles[1]));
    EXPECT_TRUE(IsWindowEnabled(Hotkey(1)));
    EXPECT_EQ(MAKEWORD('I', 1), SendMessageA(Hotkey(1), HKM_GETHOTKEY, 0, 0));

    HWND list = GetDlgItem(panel, IDC_KEYPANEL_PICTURES5);
    EXPECT_EQ(4, SendMessageA(list, CB_GETCOUNT, 0, 0));
    char text[32] = "";
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = 2;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(list, CBEM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_STREQ("イメージ3", text);
    EXPECT_EQ(2, item.iImage);
    EXPECT_EQ(3, SendMessageA(list, CB_GETCURSEL, 0, 0));
    SaveWindowPng(panel, "key_panel");
}

TEST_F(KeyPanelTest, CheckingRowZeroStoresCtrlShiftF1AndAPressCapturesAtOnce) {
    OpenPanel();
    ASSERT_EQ(1, StartMonitoring(main));
    SendMessageA(Hotkey(0), HKM_SETHOTKEY, MAKEWORD(VK_F1, HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
    ClickButton(panel, Toggles[0]);
    EXPECT_EQ(3, gSettings.hotkeys[0].modifiers);
    EXPECT_EQ(VK_F1, gSettings.hotkeys[0].virtualKey);
    EXPECT_EQ(1, gSettings.hotkeys[0].enabled);
    std::string ini = Ini();
    for (const char* line : { "画面全体：修飾キー=3", "画面全体：キー=112", "画面全体：監視=1" })
        EXPECT_TRUE(HasLine(ini, line)) << line;
    EXPECT_EQ("有効", ToggleText(0));
    EXPECT_FALSE(IsWindowEnabled(Hotkey(0)));

    SetForegroundWindow(main);
    PumpFor(100);
    ASSERT_TRUE(PressKeysOnDisplay("ctrl+shift+F1"));
    EXPECT_TRUE(PumpUntil([] { return !gHotkeys.empty(); }, 2000));
    ASSERT_EQ(1u, gHotkeys.size());
    EXPECT_EQ(ActiveWindow, gHotkeys[0]);
    EXPECT_EQ(1, gHistory.count);
    EXPECT_TRUE(PathExists(dir.File("a1.bmp")));
}

TEST_F(KeyPanelTest, ThirdPictureOfRowFiveIsStoredAndShown) {
    OpenPanel();
    ChoosePicture(IDC_KEYPANEL_PICTURES5, 2);
    EXPECT_EQ(2, gSettings.hotkeys[5].choice);
    EXPECT_TRUE(HasLine(Ini(), "AウィンドウC：選択=2"));
    RECT first, shown;
    GetWindowRect(GetDlgItem(panel, IDC_KEYPANEL_PICTURE5_0), &first);
    GetWindowRect(GetDlgItem(panel, IDC_KEYPANEL_PICTURE5_0 + 2), &shown);
    EXPECT_TRUE(EqualRect(&first, &shown)) << "the pictures lie on one another";
    for (int j = 0; j < 4; j++)
        EXPECT_EQ(j == 2, !!IsWindowVisible(GetDlgItem(panel, IDC_KEYPANEL_PICTURE5_0 + j))) << j;
    HBITMAP shownBitmap = (HBITMAP)SendDlgItemMessageA(panel, IDC_KEYPANEL_PICTURE5_0 + 2, STM_GETIMAGE, IMAGE_BITMAP, 0);
    ASSERT_TRUE(shownBitmap != NULL);
    // The pictures are drawn for the display's DPI, beside the list and in it.
    const struct { int dpi, picture, listPicture; } sizes[] = { { 96, 16, 30 }, { 144, 24, 45 }, { 192, 32, 60 } };
    for (const auto& size : sizes) {
        if (size.dpi != ScreenDpi())
            continue;
        BITMAP info = {};
        GetObjectA(shownBitmap, sizeof(info), &info);
        EXPECT_EQ(size.picture, info.bmWidth);
        EXPECT_EQ(size.picture, shown.right - shown.left);
        int cx = 0, cy = 0;
        ImageList_GetIconSize((HIMAGELIST)SendDlgItemMessageA(panel, IDC_KEYPANEL_PICTURES5, CBEM_GETIMAGELIST, 0, 0),
                              &cx, &cy);
        EXPECT_EQ(size.listPicture, cx);
    }
    if (ScreenDpi() != 96)
        return;
    HBITMAP expected = (HBITMAP)LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDB_PICTURE_BLACK_ARROW),
                                           IMAGE_BITMAP, 0, 0, 0);
    ASSERT_TRUE(expected != NULL);
    EXPECT_EQ(BitmapPixels(expected), BitmapPixels(shownBitmap));
    DeleteObject(expected);
}

TEST_F(KeyPanelTest, HotkeyThatCannotBeRegisteredIsShownWhileMonitoring) {
    gSettings.hotkeys[0] = { 1, 'J', 1, 0 };
    gSettings.hotkeys[1] = { 1, 'J', 1, 0 };
    OpenPanel();
    ASSERT_EQ(1, StartMonitoring(main));
    RefreshKeyPanel(panel);
    EXPECT_EQ("有効", ToggleText(0));
    EXPECT_EQ("使用中", ToggleText(1));
    SaveWindowPng(panel, "key_panel_dead_hotkey");

    // Row 0 off: it keeps its keys, the hotkeys are registered anew and
    // row 1 gets its keys.
    ClickButton(panel, Toggles[0]);
    EXPECT_EQ(0, gSettings.hotkeys[0].enabled);
    EXPECT_TRUE(IsWindowEnabled(Hotkey(0)));
    for (const char* line : { "画面全体：修飾キー=1", "画面全体：キー=74", "画面全体：監視=0" })
        EXPECT_TRUE(HasLine(Ini(), line)) << line;
    EXPECT_EQ("無効", ToggleText(0));
    EXPECT_EQ("有効", ToggleText(1));
    EXPECT_FALSE(HotkeyRegistrationFailed(1));

    // On again: registered in row order, row 0 wins once more.
    ClickButton(panel, Toggles[0]);
    EXPECT_EQ("有効", ToggleText(0));
    EXPECT_EQ("使用中", ToggleText(1));
    StopMonitoring(main);
    RefreshKeyPanel(panel);
    EXPECT_EQ("有効", ToggleText(0));
    EXPECT_EQ("有効", ToggleText(1));
}
