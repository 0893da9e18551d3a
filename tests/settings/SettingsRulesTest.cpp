// The rules for file-naming values that the sheet refuses and loading mends.
#include "settings/SettingsRules.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

TEST(SettingsRules, PrefixIsMeasuredInBytesAndCutOnACharacterBoundary) {
    const std::string full = "全"; // two bytes once compiled
    std::string full31, full32;
    for (int i = 0; i < 31; i++)
        full31 += full;
    full32 = full31 + full;
    const struct {
        std::string prefix;
        bool fits;
        std::string mended;
    } cases[] = {
        { std::string(63, 'x'), true, std::string(63, 'x') },
        { std::string(64, 'x'), false, std::string(63, 'x') },
        { full31 + "x", true, full31 + "x" },
        { full32, false, full31 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fits, ImagePrefixFits(c.prefix.c_str())) << c.prefix;
        char buffer[260];
        strcpy(buffer, c.prefix.c_str());
        int maximum = 5;
        MendFileNamingSettings(buffer, &maximum);
        EXPECT_EQ(c.mended, buffer);
        EXPECT_EQ(5, maximum);
    }
}

TEST(SettingsRules, NegativeMaximumIsRefusedAndReadsAsTheDefault) {
    const struct {
        int maximum;
        bool allowed;
        int mended;
    } cases[] = { { 0, true, 0 }, { 999999, true, 999999 }, { -1, false, 999999 } };
    for (const auto& c : cases) {
        EXPECT_EQ(c.allowed, MaxImageNumberAllowed(c.maximum)) << c.maximum;
        char prefix[8] = "a";
        int maximum = c.maximum;
        MendFileNamingSettings(prefix, &maximum);
        EXPECT_EQ(c.mended, maximum) << c.maximum;
    }
}
