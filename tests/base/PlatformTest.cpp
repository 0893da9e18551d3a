// The whole program works in Shift_JIS bytes.  Under Wine that needs the
// Japanese locale; without it every Japanese text would be wrong, so fail
// loudly here first.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

TEST(Platform, AnsiCodePageIs932) {
    EXPECT_EQ(932u, GetACP());
}

TEST(Platform, LiteralsAreShiftJis) {
    // "日時" in code page 932.
    const char text[] = "日時";
    ASSERT_EQ(4u, strlen(text));
    EXPECT_EQ(0x93, (unsigned char)text[0]);
    EXPECT_EQ(0xFA, (unsigned char)text[1]);
    EXPECT_EQ(0x8E, (unsigned char)text[2]);
    EXPECT_EQ(0x9E, (unsigned char)text[3]);
}

TEST(Platform, AnsiApisTakeShiftJisNames) {
    // A name whose second byte is a backslash (表 = 95 5C) must survive a
    // round trip through the file system.
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    char path[MAX_PATH];
    snprintf(path, sizeof(path), "%s表示ソフト-%lu.txt", dir, GetCurrentProcessId());
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(path, &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    FindClose(find);
    EXPECT_EQ(0, strncmp(fd.cFileName, "表示ソフト-", strlen("表示ソフト-")));
    EXPECT_TRUE(DeleteFileA(path));
}
