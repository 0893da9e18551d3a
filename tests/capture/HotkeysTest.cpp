// Capture monitoring with real hotkeys: keys pressed on the X display reach
// the registered window as WM_HOTKEY, and each press captures and records.
#include "capture/Hotkeys.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "base/ByteString.h"
#include "base/MessageBox.h"
#include "capture/CaptureContext.h"
#include "capture/ImageFiles.h"
#include "history/HistoryFile.h"
#include "settings/Settings.h"
#include "tests/capture/CaptureTestSupport.h"

namespace {

std::vector<int> gHotkeys;        // identifiers that arrived
std::vector<HotkeyOutcome> gOutcomes;
HWND gMainWindow;

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY) {
        gHotkeys.push_back((int)wp);
        gOutcomes.push_back(HandleCaptureHotkey(hwnd, NULL, (int)wp));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND CreateMainWindow() {
    return CreateTestWindow("GyrolensTestMain", MainProc, WS_POPUP, 0, 0, 10, 10, "main");
}

// Pumps messages until a hotkey arrives or the time is up.
bool WaitForHotkey(size_t count, int ms = 1500) {
    for (int waited = 0; waited < ms && gHotkeys.size() < count; waited += 20)
        PumpMessages(20);
    return gHotkeys.size() >= count;
}

class HotkeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetCaptureState(dir.Path());
        captureBusy = 0;
        gHotkeys.clear();
        gOutcomes.clear();
        if (!gMainWindow)
            gMainWindow = CreateMainWindow();
        front.BringToFront();
    }
    void TearDown() override {
        StopMonitoring(gMainWindow);
        SetCaptureShellLink({ NULL, NULL, NULL, NULL, NULL });
        ResetCaptureContext(gCapture);
    }
    void SetHotkey(int mode, int modifiers, int key, int enabled) {
        gSettings.hotkeys[mode - FirstCaptureMode] = { modifiers, key, enabled, 0 };
    }
    // Whether another window can take the combination (nobody holds it).
    bool Free(UINT mods, UINT key) {
        bool ok = RegisterHotKey(front.Handle(), 1, mods, key) != FALSE;
        if (ok)
            UnregisterHotKey(front.Handle(), 1);
        return ok;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    PatternWindow front{ 200, 200, 300, 200, WS_POPUP, "front window" };
};

} // namespace

TEST_F(HotkeysTest, EnabledModeFiresAndRecordsTheCapture) {
    SetHotkey(ActiveWindow, 1, 'I', 1);
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    EXPECT_EQ(1, gCapture.monitoring);
    EXPECT_FALSE(Free(MOD_SHIFT, 'I'));
    ASSERT_TRUE(PressKeysOnDisplay("shift+i"));
    ASSERT_TRUE(WaitForHotkey(1));
    EXPECT_EQ(ActiveWindow, gHotkeys[0]);
    EXPECT_EQ(HotkeyCaptured, gOutcomes[0]);
    ASSERT_EQ(1, gHistory.count);
    EXPECT_EQ(dir.File("a1.bmp"), gHistory.records[0].imagePath);
    EXPECT_STREQ("front window", gHistory.records[0].comment);
    EXPECT_EQ(19u, strlen(gHistory.records[0].dateTime));
    EXPECT_TRUE(PathExists(dir.File("a1.bmp")));
    EXPECT_EQ(2, gSettings.nextImageNumber);
    EXPECT_EQ(0, captureBusy);
    Image img = ReadBmpFile(dir.File("a1.bmp"));
    EXPECT_EQ(300, img.width);
    EXPECT_EQ(0, PatternMismatches(img, 0, 0, { 0, 0, 300, 200 }));
}

// A title another program chose (a web page's) is recorded as text; a
// comment the user set keeps its markup.
TEST_F(HotkeysTest, TitlesOfOtherProgramsAreRecordedAsText) {
    SetHotkey(ActiveWindow, 1, 'I', 1);
    CopyText(gSettings.fixedComment, countof(gSettings.fixedComment), "<b>固定</b>");
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    struct { const char* title; int fixed; const char* comment; } cases[] = {
        { "The <select> element - MDN", 0, "The ＜select＞ element - MDN" },
        { "=HYPERLINK(\"http://x\",\"y\") & more", 0, "＝HYPERLINK(\"http://x\",\"y\") ＆ more" },
        { "<script>alert(1)</script>", 1, "<b>固定</b>" },
    };
    for (size_t i = 0; i < countof(cases); i++) {
        gSettings.useFixedComment = cases[i].fixed;
        SetWindowTextA(front.Handle(), cases[i].title);
        ASSERT_TRUE(PressKeysOnDisplay("shift+i"));
        ASSERT_TRUE(WaitForHotkey(i + 1)) << cases[i].title;
        ASSERT_EQ((int)i + 1, gHistory.count);
        EXPECT_STREQ(cases[i].comment, gHistory.records[i].comment) << cases[i].title;
    }
}

TEST_F(HotkeysTest, DisabledModeIsNotRegistered) {
    SetHotkey(ActiveWindow, 1, 'I', 0);
    SetHotkey(WholeScreen, 2, 'K', 1);
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    EXPECT_TRUE(Free(MOD_SHIFT, 'I'));
    EXPECT_FALSE(Free(MOD_CONTROL, 'K'));
    ASSERT_TRUE(PressKeysOnDisplay("shift+i"));
    EXPECT_FALSE(WaitForHotkey(1, 500));
    EXPECT_EQ(0, gHistory.count);
}

TEST_F(HotkeysTest, SecondModeWithTheSameKeysStaysUnregistered) {
    SetHotkey(ActiveWindow, 1, 'J', 1);
    SetHotkey(WholeScreen, 1, 'J', 1);
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    ASSERT_TRUE(PressKeysOnDisplay("shift+j"));
    ASSERT_TRUE(WaitForHotkey(1));
    PumpMessages(200);
    ASSERT_EQ(1u, gHotkeys.size());
    EXPECT_EQ(ActiveWindow, gHotkeys[0]);
    // The dead one is remembered for the key panel, until monitoring stops.
    EXPECT_FALSE(HotkeyRegistrationFailed(0));
    EXPECT_TRUE(HotkeyRegistrationFailed(1));
    EXPECT_FALSE(HotkeyRegistrationFailed(2)) << "not enabled";
    StopMonitoring(gMainWindow);
    EXPECT_FALSE(HotkeyRegistrationFailed(1));
}

// Stored 1 Shift, 2 Ctrl, 4 Alt; the extended-key bit 8 alone is no modifier.
TEST_F(HotkeysTest, ModifiersAreMappedForRegistration) {
    struct { int mode, stored, key; UINT registered; const char* keys; } rows[] = {
        { ActiveWindowFrame, 8, VK_F9, 0, "F9" },
        { WholeScreenCursor, 2 | 4, 'M', MOD_CONTROL | MOD_ALT, "ctrl+alt+m" },
    };
    for (size_t i = 0; i < countof(rows); i++) {
        SetHotkey(rows[i].mode, rows[i].stored, rows[i].key, 1);
        ASSERT_EQ(1, StartMonitoring(gMainWindow));
        EXPECT_FALSE(Free(rows[i].registered, rows[i].key)) << rows[i].keys;
        ASSERT_TRUE(PressKeysOnDisplay(rows[i].keys));
        ASSERT_TRUE(WaitForHotkey(i + 1)) << rows[i].keys;
        EXPECT_EQ(rows[i].mode, gHotkeys[i]);
        StopMonitoring(gMainWindow);
    }
    EXPECT_STREQ("SCREEN", gHistory.records[1].comment);
}

TEST_F(HotkeysTest, AfterStoppingNoHotkeyIsHeld) {
    for (int i = 0; i < CaptureModeCount; i++)
        SetHotkey(FirstCaptureMode + i, 1, 'A' + i, 1);
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    EXPECT_FALSE(Free(MOD_SHIFT, 'A'));
    gCapture.captureKind = 2;
    strcpy(gCapture.imageFilePath, "x");
    StopMonitoring(gMainWindow);
    EXPECT_EQ(0, gCapture.monitoring);
    EXPECT_EQ(0, gCapture.captureKind);
    EXPECT_STREQ("", gCapture.imageFilePath);
    for (int i = 0; i < CaptureModeCount; i++)
        EXPECT_TRUE(Free(MOD_SHIFT, 'A' + i)) << "mode " << FirstCaptureMode + i;
    ASSERT_TRUE(PressKeysOnDisplay("shift+a"));
    EXPECT_FALSE(WaitForHotkey(1, 500));
}

TEST_F(HotkeysTest, StartIsRefusedWhileImagesNeedAHistoryFile) {
    SetHotkey(ActiveWindow, 1, 'I', 1);
    gSettings.imageFolderMode = 1;
    EXPECT_EQ(0, StartMonitoring(gMainWindow));
    EXPECT_EQ(0, gCapture.monitoring);
    EXPECT_TRUE(Free(MOD_SHIFT, 'I'));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ(dir.Path(), boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_EQ(gMainWindow, boxes.messages[0].owner);
}

TEST_F(HotkeysTest, FullHistoryRefusesEveryHotkey) {
    gHistory.count = MaxHistoryRecords;
    EXPECT_EQ(HotkeyConsumed, HandleCaptureHotkey(gMainWindow, NULL, WholeScreen));
    ASSERT_EQ(1u, boxes.messages.size());
    EXPECT_EQ("最大件数1000を超えました。履歴ファイルを変更してください。", boxes.messages[0].text);
    EXPECT_EQ("警告", boxes.messages[0].caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), boxes.messages[0].flags);
    EXPECT_EQ(gMainWindow, boxes.messages[0].owner);
    EXPECT_FALSE(PathExists(dir.File("a1.bmp")));
    EXPECT_EQ(1, gSettings.nextImageNumber);
    // The last free slot still captures.
    gHistory.count = MaxHistoryRecords - 1;
    EXPECT_EQ(HotkeyCaptured, HandleCaptureHotkey(gMainWindow, NULL, WholeScreen));
    EXPECT_EQ(MaxHistoryRecords, gHistory.count);
}

TEST_F(HotkeysTest, BusyPressIsDropped) {
    captureBusy = 1;
    EXPECT_EQ(HotkeyConsumed, HandleCaptureHotkey(gMainWindow, NULL, WholeScreen));
    EXPECT_EQ(1, captureBusy);
    EXPECT_FALSE(PathExists(dir.File("a1.bmp")));
    EXPECT_TRUE(boxes.messages.empty());
}

namespace {

FILE* OpenReadOnlyStream(const char* path) {
    return fopen(path, "rb"); // writes fail, as on a full disk
}

} // namespace

// An invalid setting, a declined overwrite and a failing JPEG write.
TEST_F(HotkeysTest, FailedCaptureRecordsNothing) {
    gSettings.keepOffscreen = 7;
    EXPECT_EQ(HotkeyNotCaptured, HandleCaptureHotkey(gMainWindow, NULL, ActiveWindow));
    EXPECT_EQ(0, gHistory.count);
    EXPECT_EQ(1, gSettings.nextImageNumber);
    EXPECT_EQ(0, captureBusy);

    gSettings.keepOffscreen = 1;
    gCapture.confirmOverwrite = 1;
    ASSERT_TRUE(WriteFileBytes(dir.File("a1.bmp"), "old"));
    boxes.QueueAnswer(IDCANCEL);
    EXPECT_EQ(HotkeyNotCaptured, HandleCaptureHotkey(gMainWindow, NULL, ActiveWindow));
    EXPECT_EQ(0, gHistory.count);
    EXPECT_EQ(1, gSettings.nextImageNumber) << "the stored number waits for a successful capture";
    EXPECT_EQ(2, gCapture.nextNumber);

    gCapture.imageFormat = ImageJpeg;
    SetJpegStreamHook(OpenReadOnlyStream);
    EXPECT_EQ(HotkeyNotCaptured, HandleCaptureHotkey(gMainWindow, NULL, WholeScreen));
    SetJpegStreamHook(NULL);
    EXPECT_EQ(0, gHistory.count);
    EXPECT_EQ(1, gSettings.nextImageNumber);
    EXPECT_EQ(0, captureBusy);
}

namespace {

std::vector<std::string> gCalls;
void AddNewestRow() {
    gCalls.push_back("row " + std::to_string(gHistory.count));
}
void RecordAdded(HWND main) {
    gCalls.push_back(main == gMainWindow ? "added" : "added to another window");
}
void ReloadPreview() {
    gCalls.push_back("preview " + std::to_string(gSettings.nextImageNumber) + " busy " + std::to_string(captureBusy));
}
void ShowPixels(const char* path, const void* header, const void*, size_t size) {
    gCalls.push_back(std::string("pixels ") + strrchr(path, '\\') + " " + std::to_string(size) + " " +
                     std::to_string(((const BITMAPINFOHEADER*)header)->biWidth));
}

} // namespace

// The row first, then the preview; a lossless capture hands its pixels
// over before the preview reloads.
TEST_F(HotkeysTest, ShellIsToldInOrder) {
    struct {
        ImageFormat format;
        std::vector<std::string> calls;
    } cases[] = {
        { ImageJpeg, { "row 1", "added", "preview 2 busy 0" } },
        { ImageBmp, { "row 1", "added", "pixels \\a1.bmp 2359296 1024", "preview 2 busy 0" } },
        { ImagePng, { "row 1", "added", "pixels \\a1.png 2359296 1024", "preview 2 busy 0" } },
    };
    SetCaptureShellLink({ AddNewestRow, RecordAdded, ReloadPreview, NULL, ShowPixels });
    gSettings.useFixedComment = 1;
    CopyText(gSettings.fixedComment, countof(gSettings.fixedComment), "定型");
    for (const auto& c : cases) {
        gCalls.clear();
        ClearHistoryRecords(gHistory);
        gSettings.nextImageNumber = gCapture.nextNumber = 1;
        gCapture.imageFormat = c.format;
        EXPECT_EQ(HotkeyCaptured, HandleCaptureHotkey(gMainWindow, NULL, WholeScreen));
        EXPECT_EQ(c.calls, gCalls) << c.format;
        EXPECT_STREQ("定型", gHistory.records[0].comment);
    }
}

namespace {

// While the overwrite question is open, a modal box pumps messages: the
// user presses the hotkey again.
int AnswerAfterSecondPress(HWND, const char*, const char*, UINT) {
    PressKeysOnDisplay("shift+i");
    WaitForHotkey(2);
    return IDOK;
}

} // namespace

TEST_F(HotkeysTest, PressWhileTheQuestionIsOpenIsIgnored) {
    SetHotkey(ActiveWindow, 1, 'I', 1);
    gCapture.confirmOverwrite = 1;
    ASSERT_TRUE(WriteFileBytes(dir.File("a1.bmp"), "old"));
    ASSERT_EQ(1, StartMonitoring(gMainWindow));
    SetMessageBoxHook(AnswerAfterSecondPress);
    ASSERT_TRUE(PressKeysOnDisplay("shift+i"));
    bool both = WaitForHotkey(2, 4000);
    SetMessageBoxHook(NULL);
    ASSERT_TRUE(both);
    ASSERT_EQ(2u, gOutcomes.size());
    // The second press arrived inside the first and was dropped.
    EXPECT_EQ(HotkeyConsumed, gOutcomes[0]);
    EXPECT_EQ(HotkeyCaptured, gOutcomes[1]);
    EXPECT_EQ(1, gHistory.count);
    EXPECT_EQ(2, gCapture.nextNumber);
}
