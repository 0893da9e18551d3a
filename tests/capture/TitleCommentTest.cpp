// Window titles made into comments: markup and formula starts become their
// full-width forms, and the result is cut on a character boundary.
#include "capture/TitleComment.h"

#include <gtest/gtest.h>

#include <string>

TEST(TitleComment, TitlesBecomeText) {
    std::string a126(126, 'a'), a127(127, 'a');
    struct { const char* name; std::string title; std::string comment; } rows[] = {
        { "plain", "表示ソフト - メモ帳", "表示ソフト - メモ帳" },
        { "an element", "The <select> element", "The ＜select＞ element" },
        { "an entity", "Fish &amp; chips", "Fish ＆amp; chips" },
        { "a formula", "=HYPERLINK(\"http://x\")", "＝HYPERLINK(\"http://x\")" },
        { "plus", "+1 (555)", "＋1 (555)" },
        { "minus only at the start", "-5 - 3", "－5 - 3" },
        { "at sign", "@SUM(A1)", "＠SUM(A1)" },
        { "only the first character starts a formula", " =1+1", " =1+1" },
        { "a stray lead byte", "\x81<", "?＜" },
        { "the wide form fits exactly", a126 + "<", a126 + "＜" },
        { "no half of a wide form", a127 + "<", a127 },
        { "cut at 128 bytes", std::string(200, 'z'), std::string(128, 'z') },
        { "SCREEN", "SCREEN", "SCREEN" },
    };
    for (const auto& r : rows) {
        char out[129];
        TitleAsComment(r.title.c_str(), out, sizeof(out));
        EXPECT_EQ(r.comment, out) << r.name;
    }
}
