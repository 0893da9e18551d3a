// The settings store against the real profile functions, in scratch folders.
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace {

// A record loaded the way the program loads its global one, from `dir`.
struct LoadedSettings {
    Settings s;
    explicit LoadedSettings(const std::string& dir) {
        SetDefaultSettings(s, dir.c_str());
        LoadSettings(s);
    }
};

std::string IniOf(const TempDir& dir) {
    return dir.File("Gyrolens.ini");
}

// The [File_Set] section of a settings file: from its header up to the next
// section or the end.
std::string FileSetSection(const std::string& file) {
    size_t begin = file.find("[File_Set]");
    if (begin == std::string::npos)
        return "";
    size_t end = file.find("\r\n[", begin);
    return file.substr(begin, end == std::string::npos ? std::string::npos : end + 2 - begin);
}

std::string Profile(const std::string& ini, const char* section, const char* key) {
    char buf[1024];
    GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof(buf), ini.c_str());
    return buf;
}

} // namespace

TEST(Settings, GlobalRecordIsLoadedFromTheWorkingDirectory) {
    EXPECT_EQ(CurrentDirectory(), gSettings.startDirectory);
    EXPECT_EQ(CurrentDirectory() + "\\Gyrolens.ini", gSettings.iniPath);
    EXPECT_TRUE(PathExists(gSettings.iniPath));
}

TEST(Settings, FirstRunCreatesEmptyFileAndKeepsEveryDefault) {
    TempDir dir;
    LoadedSettings loaded(dir.Path());
    const Settings& s = loaded.s;

    EXPECT_EQ(IniOf(dir), s.iniPath);
    EXPECT_TRUE(PathExists(IniOf(dir)));
    EXPECT_EQ("", ReadFileBytes(IniOf(dir)));
    EXPECT_EQ(dir.Path(), s.startDirectory);

    EXPECT_EQ(0, s.confirmOverwrite);
    EXPECT_EQ(0, s.jpegMode);
    EXPECT_EQ(0, s.autoSaveHistory);
    EXPECT_EQ(0, s.jpegQuality);
    EXPECT_EQ(1, s.nextImageNumber);
    for (const HotkeySetting& h : s.hotkeys) {
        EXPECT_EQ(0, h.modifiers);
        EXPECT_EQ(0, h.virtualKey);
        EXPECT_EQ(0, h.enabled);
        EXPECT_EQ(0, h.choice);
    }
    EXPECT_EQ(0, s.imageFolderMode);
    EXPECT_EQ(1, s.keepOffscreen);
    EXPECT_EQ(999999, s.maxImageNumber);
    EXPECT_EQ(1, s.keepImageOnDelete);
    EXPECT_EQ(0, s.zeroPadNumber);
    EXPECT_STREQ("", s.csvTitle);
    EXPECT_STREQ("", s.fixedComment);
    EXPECT_EQ(0, s.useFixedComment);
    EXPECT_STREQ("", s.imageFolder);
    EXPECT_STREQ("", s.imagePrefix);
    for (const FontSetting& f : s.fonts) {
        EXPECT_STREQ("", f.logFont.lfFaceName);
        EXPECT_EQ(0, f.logFont.lfHeight);
        EXPECT_EQ(0, f.logFont.lfWeight);
        EXPECT_EQ(0, f.logFont.lfItalic);
        EXPECT_EQ(10, f.pointSize);
    }
    EXPECT_STREQ("", s.imageApp);
    EXPECT_STREQ("", s.textApp);
    EXPECT_EQ(0, s.windowX);
    EXPECT_EQ(0, s.windowY);
    EXPECT_EQ(100, s.windowWidth);
    EXPECT_EQ(100, s.windowHeight);
    for (int w : s.columnWidths)
        EXPECT_EQ(100, w);
    EXPECT_EQ(0, s.htmlLayout);
    EXPECT_EQ(0, s.htmlPerPage);
    EXPECT_EQ(0, s.htmlImageWidth);
    EXPECT_EQ(0, s.htmlCommentWidth);
    EXPECT_STREQ("", s.htmlFolder);
    EXPECT_STREQ("", s.htmlFilePrefix);
    EXPECT_EQ(0, s.htmlNoImageCopy);
    EXPECT_EQ(0, s.htmlFrameColor);
    EXPECT_EQ(0, s.htmlBackColor);
    EXPECT_EQ(0, s.htmlPerRow);
}

TEST(Settings, SavedFileSetSectionMatchesTheHandWrittenFile) {
    TempDir dir;
    LoadedSettings loaded(dir.Path());
    SaveSettings(loaded.s);
    std::string expected = ReadFileBytes(TestDataPath("settings/data/file_set_first_run.ini"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, FileSetSection(ReadFileBytes(IniOf(dir))));
}

TEST(Settings, SaveCreatesTheFileWhenItWasRemoved) {
    TempDir dir;
    LoadedSettings loaded(dir.Path());
    ASSERT_TRUE(DeleteFileA(IniOf(dir).c_str()));
    SaveSettings(loaded.s);
    std::string expected = ReadFileBytes(TestDataPath("settings/data/file_set_first_run.ini"));
    EXPECT_EQ(expected, FileSetSection(ReadFileBytes(IniOf(dir))));
}

TEST(Settings, SecondRunOffersShiftIForTheFirstModeOnly) {
    TempDir dir;
    {
        LoadedSettings first(dir.Path());
        SaveSettings(first.s);
        SaveWindowSection(first.s);
    }
    LoadedSettings second(dir.Path());
    const Settings& s = second.s;
    EXPECT_EQ(1, s.hotkeys[0].modifiers);
    EXPECT_EQ(0x49, s.hotkeys[0].virtualKey);
    EXPECT_EQ(0, s.hotkeys[0].enabled);
    for (int i = 1; i < HotkeyCount; i++) {
        EXPECT_EQ(0, s.hotkeys[i].modifiers) << "entry " << i;
        EXPECT_EQ(0, s.hotkeys[i].virtualKey) << "entry " << i;
    }
    // The key exists now: read back as written, not as the start directory.
    EXPECT_STREQ("", s.imageFolder);
    EXPECT_STREQ("", s.textApp);
    EXPECT_STREQ("", s.csvTitle);
    EXPECT_EQ(1, s.nextImageNumber);
    EXPECT_EQ(100, s.windowWidth);
    EXPECT_EQ(100, s.columnWidths[0]);
}

TEST(Settings, MissingKeysTakeTheirMissingDefaults) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[File_Set]\r\nJPEGモード=1\r\n"));
    LoadedSettings loaded(dir.Path());
    const Settings& s = loaded.s;
    EXPECT_EQ(1, s.jpegMode);
    EXPECT_EQ(0, s.nextImageNumber);
    EXPECT_EQ(1, s.keepOffscreen);
    EXPECT_EQ(999999, s.maxImageNumber);
    EXPECT_EQ(1, s.keepImageOnDelete);
    EXPECT_STREQ("NOTITLE", s.csvTitle);
    EXPECT_STREQ("NOTITLE", s.fixedComment);
    EXPECT_EQ(dir.Path(), s.imageFolder);
    EXPECT_STREQ("", s.imagePrefix);
    for (const FontSetting& f : s.fonts) {
        EXPECT_STREQ("MS ゴシック", f.logFont.lfFaceName);
        EXPECT_EQ(10, f.logFont.lfHeight);
        EXPECT_EQ(10, f.pointSize);
        EXPECT_EQ(400, f.logFont.lfWeight);
        EXPECT_EQ(0, f.logFont.lfItalic);
    }
    EXPECT_STREQ("", s.imageApp);
    EXPECT_STREQ("notepad", s.textApp);
    EXPECT_EQ(0, s.windowX);
    EXPECT_EQ(100, s.windowWidth);
    EXPECT_EQ(100, s.windowHeight);
    for (int w : s.columnWidths)
        EXPECT_EQ(30, w);
    EXPECT_EQ(dir.Path(), s.htmlFolder);
    EXPECT_STREQ("page", s.htmlFilePrefix);
    EXPECT_EQ(0, s.htmlPerRow);
    // No hotkeys in the file: Shift+I for the first mode.
    EXPECT_EQ(1, s.hotkeys[0].modifiers);
    EXPECT_EQ(0x49, s.hotkeys[0].virtualKey);
}

TEST(Settings, ZeroColumnWidthBecomes30ButZeroWindowWidthStays) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[Window]\r\n幅=0\r\n高さ=0\r\n項目１幅=0\r\n項目２幅=55\r\n"
                                           "項目３幅=-4\r\n"));
    LoadedSettings loaded(dir.Path());
    EXPECT_EQ(0, loaded.s.windowWidth);
    EXPECT_EQ(0, loaded.s.windowHeight);
    EXPECT_EQ(30, loaded.s.columnWidths[0]);
    EXPECT_EQ(55, loaded.s.columnWidths[1]);
    EXPECT_EQ(-4, loaded.s.columnWidths[2]);
    EXPECT_EQ(30, loaded.s.columnWidths[3]);
}

TEST(Settings, NonNumericIntegerReadsZero) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[File_Set]\r\nJPEG品質=abc\r\n画像ファイル開始番号=-5\r\n"
                                           "範囲外カット=x1\r\n"));
    LoadedSettings loaded(dir.Path());
    EXPECT_EQ(0, loaded.s.jpegQuality);
    EXPECT_EQ(-5, loaded.s.nextImageNumber);
    EXPECT_EQ(0, loaded.s.keepOffscreen);
}

TEST(Settings, OverlongTextsAreCutToTheirBuffers) {
    TempDir dir;
    // 字 is 8E 9A: its trail byte lies in the lead range.
    std::string kanji;
    for (int i = 0; i < 64; i++)
        kanji += "字";
    std::string comment = kanji + "1";
    std::string title = "x" + kanji;
    std::string folder(400, 'f');
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[File_Set]\r\nコメント=" + comment + "\r\nCSVタイトル=" + title +
                                               "\r\n保存先=" + folder + "\r\n全体フォント名=" +
                                               std::string(40, 'F') + "\r\n"));
    LoadedSettings loaded(dir.Path());
    const Settings& s = loaded.s;
    // 129-byte buffer: 64 two-byte characters.
    EXPECT_EQ(kanji, s.fixedComment);
    // 64-byte buffer: "x" and 31 characters; a 32nd would leave no terminator.
    EXPECT_EQ(title.substr(0, 63), s.csvTitle);
    EXPECT_EQ(std::string(259, 'f'), s.imageFolder);
    EXPECT_EQ(std::string(31, 'F'), s.fonts[0].logFont.lfFaceName);
}

TEST(Settings, HotkeyRuleLeavesDefinedKeysAlone) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[File_Set]\r\n画面全体：修飾キー=0\r\n画面全体：キー=80\r\n"
                                           "画面全体：監視=1\r\nAウィンドウD：修飾キー=6\r\n"
                                           "AウィンドウD：キー=65\r\nAウィンドウD：選択=3\r\n"));
    LoadedSettings loaded(dir.Path());
    const Settings& s = loaded.s;
    EXPECT_EQ(0, s.hotkeys[0].modifiers);
    EXPECT_EQ(80, s.hotkeys[0].virtualKey);
    EXPECT_EQ(1, s.hotkeys[0].enabled);
    EXPECT_EQ(0, s.hotkeys[1].modifiers);
    EXPECT_EQ(0, s.hotkeys[1].virtualKey);
    EXPECT_EQ(6, s.hotkeys[7].modifiers);
    EXPECT_EQ(65, s.hotkeys[7].virtualKey);
    EXPECT_EQ(3, s.hotkeys[7].choice);
}

TEST(Settings, ValuesRoundTripThroughTheFile) {
    TempDir dir;
    Settings s;
    {
        LoadedSettings first(dir.Path());
        s = first.s;
    }
    s.confirmOverwrite = 1;
    s.jpegMode = 1;
    s.jpegQuality = 75;
    s.nextImageNumber = -3;
    s.hotkeys[5] = { 3, 0x7B, 1, 2 };
    strcpy(s.imageFolder, "C:\\表示\\ソフト");
    strcpy(s.imagePrefix, "能");
    strcpy(s.fonts[2].logFont.lfFaceName, "ＭＳ 明朝");
    s.fonts[2].logFont.lfItalic = 1;
    s.fonts[2].logFont.lfWeight = 700;
    s.windowX = -8;
    s.columnWidths[3] = 250;
    s.htmlLayout = 5;
    s.htmlFrameColor = 0x00FF8000;
    strcpy(s.htmlFolder, "D:\\出力");
    SaveSettings(s);
    SaveWindowSection(s);
    SaveHtmlSection(s);

    LoadedSettings back(dir.Path());
    EXPECT_EQ(1, back.s.confirmOverwrite);
    EXPECT_EQ(75, back.s.jpegQuality);
    EXPECT_EQ(-3, back.s.nextImageNumber);
    EXPECT_EQ(3, back.s.hotkeys[5].modifiers);
    EXPECT_EQ(0x7B, back.s.hotkeys[5].virtualKey);
    EXPECT_EQ(1, back.s.hotkeys[5].enabled);
    EXPECT_EQ(2, back.s.hotkeys[5].choice);
    EXPECT_STREQ("C:\\表示\\ソフト", back.s.imageFolder);
    EXPECT_STREQ("能", back.s.imagePrefix);
    EXPECT_STREQ("ＭＳ 明朝", back.s.fonts[2].logFont.lfFaceName);
    EXPECT_EQ(1, back.s.fonts[2].logFont.lfItalic);
    EXPECT_EQ(700, back.s.fonts[2].logFont.lfWeight);
    EXPECT_EQ(-8, back.s.windowX);
    EXPECT_EQ(250, back.s.columnWidths[3]);
    EXPECT_EQ(5, back.s.htmlLayout);
    EXPECT_EQ(0x00FF8000, back.s.htmlFrameColor);
    EXPECT_STREQ("D:\\出力", back.s.htmlFolder);
}

TEST(Settings, WindowAndHtmlSectionsHoldTheirKeysInOrder) {
    TempDir dir;
    LoadedSettings loaded(dir.Path());
    Settings& s = loaded.s;
    s.windowX = 10;
    s.windowY = 20;
    s.windowWidth = 640;
    s.windowHeight = 480;
    s.columnWidths[0] = 1;
    s.columnWidths[1] = 2;
    s.columnWidths[2] = 3;
    s.columnWidths[3] = 4;
    s.htmlLayout = 2;
    s.htmlPerPage = 20;
    s.htmlImageWidth = -1;
    s.htmlCommentWidth = -2;
    strcpy(s.htmlFolder, "C:\\out");
    strcpy(s.htmlFilePrefix, "page");
    s.htmlNoImageCopy = 1;
    s.htmlFrameColor = 255;
    s.htmlBackColor = 65280;
    s.htmlPerRow = 4;
    SaveWindowSection(s);
    SaveHtmlSection(s);
    std::string file = ReadFileBytes(IniOf(dir));
    EXPECT_NE(std::string::npos, file.find("[Window]\r\nX位置=10\r\nY位置=20\r\n幅=640\r\n高さ=480\r\n"
                                           "項目１幅=1\r\n項目２幅=2\r\n項目３幅=3\r\n項目４幅=4\r\n"))
        << file;
    EXPECT_NE(std::string::npos, file.find("[HTML]\r\nレイアウト=2\r\n最大イメージ数=20\r\nイメージ幅=-1\r\n"
                                           "コメント幅=-2\r\n出力先=C:\\out\r\nファイル名=page\r\n"
                                           "画像コピーしない=1\r\n枠色=255\r\n背景色=65280\r\n１行項目数=4\r\n"))
        << file;
}

TEST(Settings, AnotherWorkingDirectoryUsesItsOwnFile) {
    TempDir first("gyro-a");
    TempDir second("gyro-b");
    std::string saved = CurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryA(first.Path().c_str()));
    LoadedSettings a(CurrentDirectory());
    ASSERT_TRUE(SetCurrentDirectoryA(second.Path().c_str()));
    LoadedSettings b(CurrentDirectory());
    SetCurrentDirectoryA(saved.c_str());
    EXPECT_EQ(IniOf(first), a.s.iniPath);
    EXPECT_EQ(IniOf(second), b.s.iniPath);
    EXPECT_TRUE(PathExists(IniOf(first)));
    EXPECT_TRUE(PathExists(IniOf(second)));

    a.s.jpegQuality = 33;
    SaveSettings(a.s);
    EXPECT_EQ("33", Profile(IniOf(first), "File_Set", "JPEG品質"));
    EXPECT_EQ("<missing>", Profile(IniOf(second), "File_Set", "JPEG品質"));
}

TEST(Settings, UnwritableFolderIsNotReported) {
    Settings s;
    SetDefaultSettings(s, "Z:\\no\\such\\folder\\anywhere");
    LoadSettings(s);
    EXPECT_STREQ("Z:\\no\\such\\folder\\anywhere\\Gyrolens.ini", s.iniPath);
    EXPECT_EQ(1, s.nextImageNumber);
}

// Values the settings sheet refuses are mended when the file holds them:
// the capture never meets them, and the keys keep their formats.
TEST(Settings, LoadingMendsAPrefixTooLongForTheCaptureAndANegativeMaximum) {
    TempDir dir;
    std::string prefix = "前置" + std::string(60, 'x'); // 64 bytes
    ASSERT_TRUE(WriteFileBytes(IniOf(dir), "[File_Set]\r\n画像ファイル名=" + prefix +
                                               "\r\nファイル名最大番号=-3\r\n"));
    LoadedSettings loaded(dir.Path());
    EXPECT_EQ(prefix.substr(0, 63), loaded.s.imagePrefix);
    EXPECT_EQ(999999, loaded.s.maxImageNumber);
    SaveSettings(loaded.s);
    EXPECT_EQ(prefix.substr(0, 63), Profile(IniOf(dir), "File_Set", "画像ファイル名"));
    EXPECT_EQ("999999", Profile(IniOf(dir), "File_Set", "ファイル名最大番号"));
}
