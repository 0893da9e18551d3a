// Where a row's files lie and what opening them starts (the GUI tests cover
// the launches themselves).
#include "history/HistoryPaths.h"

#include <gtest/gtest.h>

#include <string>

TEST(HistoryPaths, ImageFullPath) {
    struct { const char* text; const char* expected; } rows[] = {
        { "\\cap1.jpg", "C:\\hist\\cap1.jpg" },
        { "E:\\pics\\a.jpg", "E:\\pics\\a.jpg" },
        { "\\\\server\\share\\a.jpg", "\\\\server\\share\\a.jpg" },
        { "a.jpg", "a.jpg" },
    };
    for (const auto& r : rows) {
        char out[PathSize];
        EXPECT_TRUE(ImageFullPath("C:\\hist", r.text, out, sizeof(out))) << r.text;
        EXPECT_STREQ(r.expected, out) << r.text;
    }
}

TEST(HistoryPaths, PathsThatDoNotFitAreRefusedNotCut) {
    std::string folder(250, 'f');
    char out[PathSize] = "x";
    EXPECT_FALSE(ImageFullPath(folder.c_str(), "\\a_long_name.jpg", out, sizeof(out)));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(TextFullPath(folder.c_str(), "a_long_name.txt", out, sizeof(out)));
    EXPECT_STREQ("", out);
}

// 表 ends in the byte of a backslash: the folder is split character-wise.
TEST(HistoryPaths, LaunchSplitsAtTheLastRealBackslash) {
    LaunchPlan plan;
    ASSERT_TRUE(PlanLaunch("C:\\\x95\x5C\\a b.jpg", "viewer", "notepad", false, &plan));
    EXPECT_TRUE(plan.withApp);
    EXPECT_STREQ("C:\\\x95\x5C", plan.directory);
    EXPECT_STREQ("\"a b.jpg\"", plan.parameters);
    EXPECT_FALSE(PlanLaunch("C:\\\x95\x5C\\a.jpg", "viewer", "notepad", true, &plan));
}
