#include "conversion/StringSplit.h"
#include "tests/support/Sjis.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;
using TItems = std::vector<std::string>;

namespace {

TItems SplitOf(const std::string& expr, const std::string& pattern, bool patterncut) {
    TStringSplit split;
    split.expr = expr;
    split.pattern = pattern;
    split.patterncut = patterncut;
    split.Split();
    return split.items;
}

}  // namespace

TEST(StringSplit, CutsAtEverySeparatorWithEmptyPieces) {
    struct Row {
        const char* name;
        std::string expr;
        std::string pattern;
        TItems cut;
        TItems kept;  // patterncut false
    };
    const Row rows[] = {
        {"two pieces", "a,b", ",", {"a", "b"}, {"a,", "b"}},
        {"trailing separator", "a,b,", ",", {"a", "b", ""}, {"a,", "b,", ""}},
        {"leading separator", ",a", ",", {"", "a"}, {",", "a"}},
        {"adjacent separators", "a,,b", ",", {"a", "", "b"}, {"a,", ",", "b"}},
        {"occurrences do not overlap", "aaa", "aa", {"", "a"}, {"aa", "a"}},
        {"empty text", "", ",", {}, {}},
        {"absent separator", "abc", ",", {"abc"}, {"abc"}},
        {"empty separator", "a,b", "", {"a,b"}, {"a,b"}},
        {"separator only", ",", ",", {"", ""}, {",", ""}},
        {"trail byte is no separator",
         "x" SJIS_ZO "]y",
         "]",
         {"x" SJIS_ZO, "y"},
         {"x" SJIS_ZO "]", "y"}},
        {"nothing after a NUL is cut", "a\0,b"s, ",", {"a\0,b"s}, {"a\0,b"s}},
        {"the last piece keeps what follows a NUL",
         "a,b\0,c"s,
         ",",
         {"a", "b\0,c"s},
         {"a,", "b\0,c"s}},
        {"multi-byte separator", "PB=Kuro==x", "==", {"PB=Kuro", "x"}, {"PB=Kuro==", "x"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitOf(row.expr, row.pattern, true), row.cut);
        EXPECT_EQ(SplitOf(row.expr, row.pattern, false), row.kept);
    }
}

TEST(StringSplit, SeparatorEndingInLeadByteShiftsTheRest) {
    // Each search starts afresh after the previous separator: after "\x83" the "]" that would be
    // a trail byte in the whole text is a character of its own in the rest.
    EXPECT_EQ(SplitOf("a\x83]b", "\x83", true), (TItems{"a", "]b"}));
    EXPECT_EQ(SplitOf("a\x83]b", "]", true), (TItems{"a\x83]b"}));
}

TEST(StringSplit, PiecesJoinedGiveBackTheTextWhenSeparatorsAreKept) {
    std::mt19937 random(7);
    const std::string alphabet[] = {",", "]", ";", "a", SJIS_ZO, SJIS_HYO, "\x83", "\0"s};
    for (int round = 0; round < 500; ++round) {
        std::string expr;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            expr += alphabet[random() % std::size(alphabet)];
        }
        for (const char* pattern : {",", "]", ";;", "\x83"}) {
            std::string joined;
            for (const std::string& piece : SplitOf(expr, pattern, false)) {
                joined += piece;
            }
            ASSERT_EQ(joined, expr) << "pattern " << pattern;
        }
    }
}

TEST(StringSplit, DefaultsAreCommaAndCut) {
    TStringSplit split;
    split.expr = "a,b";
    split.Split();
    EXPECT_EQ(split.items, (TItems{"a", "b"}));
    split.expr = "";
    split.Split();
    EXPECT_TRUE(split.items.empty());
}
