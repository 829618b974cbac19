#include "conversion/SGFAdjust.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/LiteralSgfAdjust.h"
#include "tests/support/Sjis.h"

using namespace std::string_literals;

namespace {

struct Row {
    const char* name;
    TLineList input;
    bool ok;
    TLineList hd;
    TLineList ha;
    TLineList ck;
};

// Runs every row on one splitter that still holds the outputs of the row before, so outputs left
// over from an earlier call show up as faults.
void ExpectRows(const std::vector<Row>& rows) {
    TSGFAdjust adjust;
    adjust.Input = {"(;SZ[9]AB[aa]", ";B[bb])"};
    ASSERT_TRUE(adjust.Adjust());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        adjust.Input = row.input;
        EXPECT_EQ(adjust.Adjust(), row.ok);
        EXPECT_EQ(adjust.OutputHD, row.hd);
        EXPECT_EQ(adjust.OutputHA, row.ha);
        EXPECT_EQ(adjust.OutputCK, row.ck);
        EXPECT_EQ(adjust.Input, row.input);
    }
}

}  // namespace

TEST(SGFAdjust, SortsAWholeRecordIntoRootStonesAndMoves) {
    ExpectRows({
        {"record over several lines",
         {"(;GM[1]FF[4]SZ[19]PB[Kuro (9d)]PW[Shiro]", "HA[2]AB[pd][dp]KM[0.5]", ";B[pp];W[dd]",
          ";B[tt]C[pass]", ")"},
         true,
         {"GM[1]", "FF[4]", "SZ[19]", "PB[Kuro (9d)]", "PW[Shiro]", "HA[2]", "KM[0.5]"},
         {"AB[pd]", "AB[dp]"},
         {"B[pp]", "W[dd]", "B[tt]C[pass]"}},
        {"record on one line", {"(;SZ[19]PB[a];B[pd];W[dp])"}, true, {"SZ[19]", "PB[a]"}, {},
         {"B[pd]", "W[dp]"}},
        {"last line ending in a move and the closer", {"(;SZ[19]", ";B[pd]", ";W[aa])"}, true,
         {"SZ[19]"}, {}, {"B[pd]", "W[aa]"}},
        {"opener split over two lines", {"(", ";SZ[19]PB[a]", ";B[pd])"}, true,
         {"SZ[19]", "PB[a]"}, {}, {"B[pd]"}},
        {"a ( line before a line without ; is dropped", {"(", "(;SZ[19]", ";B[pd])"}, true,
         {"SZ[19]"}, {}, {"B[pd]"}},
        {"the rest of a ( line is dropped", {"(GM[1]", ";SZ[19]", ";B[pd])"}, true, {"SZ[19]"},
         {}, {"B[pd]"}},
        {"record without moves", {"(;SZ[19]", ")"}, true, {"SZ[19]"}, {}, {}},
        {"empty game", {"(;)"}, true, {}, {}, {}},
        {"value over several lines loses its line breaks",
         {"(;C[line one", "line two]SZ[19]", ";B[aa])"}, true, {"C[line oneline two]", "SZ[19]"},
         {}, {"B[aa]"}},
        {"text after the last value of the root is dropped", {"(;SZ[19]x", ";B[aa])"}, true,
         {"SZ[19]"}, {}, {"B[aa]"}},
    });
}

TEST(SGFAdjust, RejectsTextThatIsNoRecord) {
    ExpectRows({
        {"no lines", {}, false, {}, {}, {}},
        {"only empty lines", {"", ""}, false, {}, {}, {}},
        {"text before the game", {"Game record", "(;SZ[19];B[pd])"}, false, {}, {}, {}},
        {"no closer", {"(;SZ[19];B[pd]"}, false, {}, {}, {}},
        {"only an opener", {"(;"}, false, {}, {}, {}},
        {"a lone ( line", {"(", "SZ[19])"}, false, {}, {}, {}},
    });
}

TEST(SGFAdjust, KeepsTheOddResultsOfCuttingText) {
    ExpectRows({
        {"a ; in a root value ends the root", {"(;SZ[19]C[a;b]PB[x]", ";B[aa]", ")"}, true,
         {"SZ[19]"}, {}, {"b]PB[x]", "B[aa]"}},
        {"an escaped ] ends a value", {"(;C[x\\]y]SZ[19]", ";B[aa]", ")"}, true,
         {"C[x\\]", "y]", "SZ[19]"}, {}, {"B[aa]"}},
        {"empty nodes at ;; across lines and at a final ;",
         {"(;SZ[19]", ";B[aa];", ";W[bb];", ")"}, true, {"SZ[19]"}, {}, {"B[aa]", "", "W[bb]", ""}},
        {"variations come out flattened", {"(;SZ[19];B[pd]", ";W[cc](;B[aa])(;B[bb])", ")"}, true,
         {"SZ[19]"}, {}, {"B[pd]", "W[cc](", "B[aa])(", "B[bb])"}},
        {"a variation opened at the start of a line", {"(;SZ[19];", "(;B[aa])", "(;B[bb])", ")"},
         true, {"SZ[19]"}, {}, {"(", "B[aa])(", "B[bb])"}},
        {"a second game's root joins the moves", {"(;SZ[19];B[aa])", "(;SZ[19];B[bb])"}, true,
         {"SZ[19]"}, {}, {"B[aa])(", "SZ[19]", "B[bb]"}},
        {"only black stones right after AB are stones",
         {"(;AB[aa][bb]AB[cc]AW[dd][ee] AB[ff]KM[0][gg]", ";B[pd])"}, true,
         {"AW[dd]", "[ee]", " AB[ff]", "KM[0]", "[gg]"}, {"AB[aa]", "AB[bb]", "AB[cc]"}, {"B[pd]"}},
    });
}

TEST(SGFAdjust, NeverCutsInsideADoubleByteCharacter) {
    ExpectRows({
        {"trail bytes that look like ]",
         {"(;C[" SJIS_ZO "]PB[" SJIS_HYPHEN "]", ";B[aa]C[" SJIS_ZO "])"}, true,
         {"C[" SJIS_ZO "]", "PB[" SJIS_HYPHEN "]"}, {}, {"B[aa]C[" SJIS_ZO "]"}},
        {"a ; right after a double-byte character cuts",
         {"(;C[" SJIS_ZO "];", "B[aa]C[" SJIS_HYO "];W[bb]C[" SJIS_SO ";])"}, true,
         {"C[" SJIS_ZO "]"}, {}, {"B[aa]C[" SJIS_HYO "]", "W[bb]C[" SJIS_SO "", "]"}},
        {"a lead byte ending a root line takes the ] opening the next",
         {"(;C[a\x83", "]b]SZ[19]", ";B[aa])"}, true, {"C[a\x83]b]", "SZ[19]"}, {}, {"B[aa]"}},
        {"a lead byte ending a move line takes the ; opening the next",
         {"(;SZ[19];B[aa]C[x\x83", ";y];W[bb])"}, true, {"SZ[19]"}, {},
         {"B[aa]C[x\x83;y]", "W[bb]"}},
        {"a ) taken as a trail byte closes nothing", {"(;SZ[19];B[aa]", ";W[bb]\x83)"}, false,
         {}, {}, {}},
    });
}

TEST(SGFAdjust, FindsAnIndentedOrMarkedOpenerAsADeliberateMend) {
    ExpectRows({
        {"indented opener", {"  (;SZ[19]PB[a]", ";B[pd])"}, true, {"SZ[19]", "PB[a]"}, {},
         {"B[pd]"}},
        {"first line only blanks", {"   ", "(;SZ[19];B[pd])"}, true, {"SZ[19]"}, {}, {"B[pd]"}},
        {"byte-order mark, blank lines and a tab",
         {"\xEF\xBB\xBF", "", " \t", " (;SZ[19]", ";B[pd])"}, true, {"SZ[19]"}, {}, {"B[pd]"}},
        {"byte-order mark before an opener split over two lines",
         {"\xEF\xBB\xBF(", ";SZ[19]", ";B[pd])"}, true, {"SZ[19]"}, {}, {"B[pd]"}},
        {"blanks before text that is no record still fail", {"  x", "(;SZ[19];B[pd])"}, false,
         {}, {}, {}},
    });
}

TEST(SGFAdjust, SplitsOffTheFinalCloserAfterAnEarlierOneAsADeliberateMend) {
    ExpectRows({
        {"rank in brackets on a record of one line", {"(;SZ[19]PB[Kuro (9d)];B[pd];W[dd])"},
         true, {"SZ[19]", "PB[Kuro (9d)]"}, {}, {"B[pd]", "W[dd]"}},
        {"last line ending in ))", {"(;SZ[19]", ";B[pd]", ";W[aa]))"}, true, {"SZ[19]"}, {},
         {"B[pd]", "W[aa])"}},
        {"a last entry of )) alone", {"(;SZ[19];B[pd]", "))"}, true, {"SZ[19]"}, {},
         {"B[pd])"}},
    });
}

TEST(SGFAdjust, MatchesTheLiteralWalkOnRandomRecords) {
    const std::string pieces[] = {
        "(",  ";",  ")",  "]",  "[",     "(;",         "AB",    "B",    "x",   " ",
        "\t", "\x83", SJIS_ZO, "\x83;", "\xEF\xBB\xBF", "\0"s, SJIS_HYO, "[a]", "C[",
    };
    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round) {
        TLineList input(random() % 7);
        for (std::string& line : input) {
            for (int count = static_cast<int>(random() % 9); count > 0; --count) {
                line += pieces[random() % std::size(pieces)];
            }
        }
        const TLiteralSplit expected = LiteralSgfAdjust(input);
        TSGFAdjust adjust;
        adjust.Input = input;
        const bool ok = adjust.Adjust();
        ASSERT_EQ(ok, expected.ok) << "round " << round;
        ASSERT_EQ(adjust.OutputHD, expected.hd) << "round " << round;
        ASSERT_EQ(adjust.OutputHA, expected.ha) << "round " << round;
        ASSERT_EQ(adjust.OutputCK, expected.ck) << "round " << round;
    }
}
