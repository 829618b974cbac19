#include "shell/Profile.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace std::string_literals;

TEST(Profile, FindsSectionsAndKeysWhateverTheirCaseAndBlanks) {
    const TProfile profile(
        "; settings\r\n[form]\r\nTop = 12 \r\n[ Setting ]\r\nsgfconv=3\r\n; USGFAPLI=2\r\n"
        "usgfapli\r\nssgfapli=\"7\"\r\n[Other]\r\nUGFCONV=9\r\n");
    EXPECT_EQ(profile.ReadString("FORM", "TOP"), "12");
    EXPECT_EQ(profile.ReadString("SETTING", "SGFCONV"), "3");
    EXPECT_EQ(profile.ReadString("SETTING", "SSGFAPLI"), "7");
    // A comment, a line without "=", a key of another section and a missing section are no values.
    EXPECT_EQ(profile.ReadString("SETTING", "USGFAPLI"), std::nullopt);
    EXPECT_EQ(profile.ReadString("SETTING", "UGFCONV"), std::nullopt);
    EXPECT_EQ(profile.ReadString("NONE", "TOP"), std::nullopt);
}

TEST(Profile, WritingOneKeyKeepsEveryOtherByte) {
    const std::string before =
        "; written by hand\r\n[Mine]\r\nColour=blue\r\n\r\n[setting]\r\nsgfconv=1\r\n"
        "UGFCONV=0\r\n\r\n[Last]\r\nx=1\r\n";
    TProfile profile(before);
    profile.WriteString("SETTING", "SGFCONV", "0");
    EXPECT_EQ(profile.Bytes(),
              "; written by hand\r\n[Mine]\r\nColour=blue\r\n\r\n[setting]\r\nsgfconv=0\r\n"
              "UGFCONV=0\r\n\r\n[Last]\r\nx=1\r\n");
    // A new key goes after the section's last key, before the blank line that ends it; a new
    // section goes at the end.
    profile.WriteString("SETTING", "USGFAPLI", "3");
    profile.WriteString("FORM", "TOP", "-5");
    EXPECT_EQ(profile.Bytes(),
              "; written by hand\r\n[Mine]\r\nColour=blue\r\n\r\n[setting]\r\nsgfconv=0\r\n"
              "UGFCONV=0\r\nUSGFAPLI=3\r\n\r\n[Last]\r\nx=1\r\n[FORM]\r\nTOP=-5\r\n");
}

TEST(Profile, KeepsLoneLineEndsNulBytesAndAMissingLastLineEnd) {
    TProfile profile("; a\0b\n[FORM]\nTOP=1\rLEFT=2"s);
    EXPECT_EQ(profile.ReadString("FORM", "TOP"), "1");
    EXPECT_EQ(profile.ReadString("FORM", "LEFT"), "2");
    profile.WriteString("FORM", "LEFT", "3");
    EXPECT_EQ(profile.Bytes(), "; a\0b\n[FORM]\nTOP=1\rLEFT=3"s);
    profile.WriteString("SETTING", "SGFCONV", "0");
    EXPECT_EQ(profile.Bytes(), "; a\0b\n[FORM]\nTOP=1\rLEFT=3\r\n[SETTING]\r\nSGFCONV=0\r\n"s);
}

TEST(Profile, ParsesIntegersAsTheSettingsFileHoldsThem) {
    struct Row {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Row rows[] = {
        {"0", 0},
        {"117", 117},
        {"-5", -5},
        {"+5", 5},
        {"0x40", 64},
        {"0X1f", 31},
        {"$40", 64},
        {"$FFFFFFFF", -1},
        {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"0x", std::nullopt},  // two characters only: read as a decimal, which it is not
        {"0x123456789", std::nullopt},
        {"$", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"12abc", std::nullopt},
        {"+-1", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseProfileInt(row.text), row.value);
    }
}
