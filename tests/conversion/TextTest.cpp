#include "conversion/Text.h"
#include "tests/support/Sjis.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace std::string_literals;

TEST(Text, LeadBytesAreTheTwoShiftJisRanges) {
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
    EXPECT_FALSE(IsLeadByte('A'));
}

TEST(Text, FindTextSkipsTrailBytesAndStopsAtNul) {
    struct Row {
        const char* name;
        std::string pattern;
        std::string text;
        std::size_t expected;
    };
    const Row rows[] = {
        {"first occurrence, 1-based", "b", "abcb", 2},
        {"absent", "x", "abc", 0},
        {"empty pattern", "", "abc", 0},
        {"empty text", "a", "", 0},
        {"pattern longer than text", "abcd", "abc", 0},
        {"trail byte ] is not a bracket", "]", "a" SJIS_ZO "]", 4},
        {"trail byte \\ is not a delimiter", "\\", SJIS_HYO, 0},
        {"trail byte [ is not a bracket", "[", SJIS_CHOON "x[", 4},
        {"trail byte A is not a letter", "A", SJIS_A "A", 3},
        {"two-byte pattern matches whole characters", SJIS_ZO, "x" SJIS_ZO, 2},
        {"match may not start on a trail byte", "\x5D\x83", SJIS_ZO "\x83\x5D", 0},
        {"nothing after a NUL", "b", "a\0b"s, 0},
        {"before a NUL is found", "a", "a\0b"s, 1},
        {"half-width katakana are single bytes", "]", "\xB1]", 2},
        {"lead byte at the very end", "\x83", "ab\x83", 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindText(row.pattern, row.text), row.expected);
    }
}

TEST(Text, FindFromAgreesWithACharacterByCharacterWalk) {
    // The plain walk: step over whole characters from start, stop at the first NUL byte.
    const auto walk = [](std::string_view pattern, std::string_view text, std::size_t start) {
        text = text.substr(0, std::min(text.size(), text.find('\0')));
        for (std::size_t i = start; i < text.size(); i += CharLength(text, i)) {
            if (!pattern.empty() && text.substr(i, pattern.size()) == pattern) {
                return i;
            }
        }
        return std::string_view::npos;
    };
    std::mt19937 random(11);
    const std::string pieces[] = {"]", "\x83", "\x83\x5D", "\x95\x5C", "a", ";", "\0"s, "\xE0\x81"};
    const std::string patterns[] = {"]", ";", "\x83", "\x83\x5D", "]]", "\x5D\x83", "a;"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        // Short texts are walked byte by byte, long ones searched with memchr: cover both.
        for (int i = static_cast<int>(random() % (round % 2 ? 16 : 120)); i > 0; --i) {
            text += pieces[random() % std::size(pieces)];
        }
        for (const std::string& pattern : patterns) {
            ASSERT_EQ(FindFrom(pattern, text), walk(pattern, text, 0))
                << "pattern " << testing::PrintToString(pattern) << " text "
                << testing::PrintToString(text);
        }
    }
}

TEST(Text, NulEndsTheSearchEvenAfterALeadByte) { EXPECT_EQ(FindText(";", "\x83\0;"s), 0u); }

TEST(Text, CaseMappingTouchesAsciiLettersOnly) {
    EXPECT_EQ(AnsiLower("PD" SJIS_A "Z"), "pd" SJIS_A "z");
    EXPECT_EQ(AnsiUpper("pd"
                        "\x82\x61"
                        "z"),
              "PD"
              "\x82\x61"
              "Z");                        // Ｂ's trail byte is 'a'
    EXPECT_EQ(AnsiUpper("\xE0"), "\xE0");  // a lone lead byte at the end
    EXPECT_EQ(AnsiLower("\xC0\xDE"), "\xC0\xDE");
    EXPECT_TRUE(SameTextIgnoringCase("[data]", "[Data]"));
    EXPECT_FALSE(SameTextIgnoringCase(SJIS_A, "\x83\x61"));
    EXPECT_FALSE(SameTextIgnoringCase(" [Data]", "[Data]"));
}

TEST(Text, TrimRemovesControlBytesAndBlanksAtBothEnds) {
    EXPECT_EQ(Trim(" \t\r\na b\x01 "), "a b");
    EXPECT_EQ(Trim(" \x1f "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\x81\x40"), "\x81\x40");  // the full-width blank is not a control byte
}

TEST(Text, CopyClampsStartAndCount) {
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 3, -1), "");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
}
