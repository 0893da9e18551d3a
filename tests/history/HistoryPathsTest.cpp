// Where a row's files lie and what opening them starts.
#include "history/HistoryPaths.h"

#include <gtest/gtest.h>

#include <string>

static const char Hyou[] = "\x95\x5C"; // 表: its second byte is a backslash

TEST(HistoryPaths, ImageFullPath) {
    struct { const char* folder; const char* text; const char* expected; } rows[] = {
        { "C:\\hist", "\\cap1.jpg", "C:\\hist\\cap1.jpg" },
        { "D:\\other", "\\cap1.jpg", "D:\\other\\cap1.jpg" },
        { "C:\\hist", "E:\\pics\\a.jpg", "E:\\pics\\a.jpg" },
        { "C:\\hist", "\\\\server\\share\\a.jpg", "\\\\server\\share\\a.jpg" },
        { "C:\\hist", "a.jpg", "a.jpg" },
    };
    for (const auto& r : rows) {
        char out[PathSize];
        EXPECT_TRUE(ImageFullPath(r.folder, r.text, out, sizeof(out))) << r.text;
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
    EXPECT_TRUE(TextFullPath("C:\\hist", "memo.txt", out, sizeof(out)));
    EXPECT_STREQ("C:\\hist\\memo.txt", out);
}

TEST(HistoryPaths, LaunchPlans) {
    std::string dbcsFolder = std::string("C:\\") + Hyou;
    std::string dbcsPath = dbcsFolder + "\\a.jpg";
    struct {
        const char* path;
        bool textOnly;
        bool launches;
        bool withApp;
        const char* file;
        const char* parameters;
        const char* directory;
    } rows[] = {
        { "C:\\h\\cap1.jpg", false, true, true, "viewer", "cap1.jpg", "C:\\h" },
        { "C:\\h\\my capture 1.jpg", false, true, true, "viewer", "\"my capture 1.jpg\"", "C:\\h" },
        { "C:\\h\\memo.txt", false, true, true, "notepad", "memo.txt", "C:\\h" },
        { "C:\\h\\memo.txt", true, true, true, "notepad", "memo.txt", "C:\\h" },
        { "C:\\h\\cap1.jpg", true, false, false, "", "", "" },
        { "C:\\h\\cap1.JPG", false, false, false, "", "", "" },
        { "C:\\h\\memo.TXT", true, false, false, "", "", "" },
        { "C:\\h\\", true, false, false, "", "", "" },
        { "C:\\h\\a.png", false, true, true, "viewer", "a.png", "C:\\h" },
        { "C:\\h\\a.doc", false, false, false, "", "", "" },
        { dbcsPath.c_str(), false, true, true, "viewer", "a.jpg", dbcsFolder.c_str() },
    };
    for (const auto& r : rows) {
        LaunchPlan plan;
        EXPECT_EQ(r.launches, PlanLaunch(r.path, "viewer", "notepad", r.textOnly, &plan)) << r.path;
        if (!r.launches)
            continue;
        EXPECT_EQ(r.withApp, plan.withApp) << r.path;
        EXPECT_STREQ(r.file, plan.file) << r.path;
        EXPECT_STREQ(r.parameters, plan.parameters) << r.path;
        EXPECT_STREQ(r.directory, plan.directory) << r.path;
    }
}

TEST(HistoryPaths, WithoutAnApplicationTheDocumentItselfOpens) {
    LaunchPlan plan;
    ASSERT_TRUE(PlanLaunch("C:\\h\\cap 1.jpg", "", "notepad", false, &plan));
    EXPECT_FALSE(plan.withApp);
    EXPECT_STREQ("C:\\h\\cap 1.jpg", plan.file);
    EXPECT_STREQ("", plan.parameters);
}
