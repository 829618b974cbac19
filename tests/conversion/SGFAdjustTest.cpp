#include "conversion/SGFAdjust.h"
#include "tests/support/LiteralSgfAdjust.h"
#include "tests/support/Sjis.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

struct Row {
    const char* name;
    std::string file;      // lines separated by "\n"
    std::string expected;  // as Outputs() writes them
};

// The three outputs in one text, each entry quoted and each list named unless it is empty:
// "HD 'SZ[19]' HA 'AB[pd]' CK 'B[pp]'"; "rejected" when Adjust answers false.
std::string Outputs(const TSGFAdjust& adjust, bool ok) {
    std::string text = ok ? "" : "rejected";
    const auto add = [&](const char* name, const TLineList& list) {
        if (!list.empty()) {
            text += (text.empty() ? "" : " ") + std::string(name);
        }
        for (const std::string& entry : list) {
            text += " '" + entry + "'";
        }
    };
    add("HD", adjust.OutputHD);
    add("HA", adjust.OutputHA);
    add("CK", adjust.OutputCK);
    return text;
}

// Runs every row on one splitter that still holds the outputs of the row before, so outputs left
// over from an earlier call show up as faults.
void ExpectRows(const std::vector<Row>& rows) {
    TSGFAdjust adjust;
    adjust.Input = {"(;SZ[9]AB[aa]", ";B[bb])"};
    ASSERT_TRUE(adjust.Adjust());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        adjust.Input = SplitLines(row.file);
        const bool ok = adjust.Adjust();
        EXPECT_EQ(Outputs(adjust, ok), row.expected);
        EXPECT_EQ(adjust.Input, SplitLines(row.file));
    }
}

// What SplitSgfRecord hands over, in three lists.
struct TCollected : TSgfSplitSink {
    TLineList hd, ha, ck;
    void Property(std::string_view entry) override { hd.emplace_back(entry); }
    void Stone(std::string_view entry) override { ha.emplace_back(entry); }
    void Node(std::string_view entry) override { ck.emplace_back(entry); }
};

}  // namespace

TEST(SGFAdjust, SortsAWholeRecordIntoRootStonesAndMoves) {
    ExpectRows({
        {"record over several lines",
         "(;GM[1]FF[4]SZ[19]PB[Kuro (9d)]PW[Shiro]\nHA[2]AB[pd][dp]KM[0.5]\n;B[pp];W[dd]\n"
         ";B[tt]C[pass]\n)",
         "HD 'GM[1]' 'FF[4]' 'SZ[19]' 'PB[Kuro (9d)]' 'PW[Shiro]' 'HA[2]' 'KM[0.5]' "
         "HA 'AB[pd]' 'AB[dp]' CK 'B[pp]' 'W[dd]' 'B[tt]C[pass]'"},
        {"record on one line", "(;SZ[19]PB[a];B[pd];W[dp])",
         "HD 'SZ[19]' 'PB[a]' CK 'B[pd]' 'W[dp]'"},
        {"last line ending in a move", "(;SZ[19]\n;B[pd]\n;W[aa])",
         "HD 'SZ[19]' CK 'B[pd]' 'W[aa]'"},
        {"opener over two lines", "(\n;SZ[19]PB[a]\n;B[pd])", "HD 'SZ[19]' 'PB[a]' CK 'B[pd]'"},
        {"a ( line before a line without ;", "(\n(;SZ[19]\n;B[pd])", "HD 'SZ[19]' CK 'B[pd]'"},
        {"the rest of a ( line is dropped", "(1\n;SZ[19]\n;B[pd])", "HD 'SZ[19]' CK 'B[pd]'"},
        {"no moves", "(;SZ[19]\n)", "HD 'SZ[19]'"},
        {"empty game", "(;)", ""},
        {"value over several lines", "(;C[line one\nline two]SZ[19]\n;B[aa])",
         "HD 'C[line oneline two]' 'SZ[19]' CK 'B[aa]'"},
        {"text after the root's last value", "(;SZ[19]x\n;B[aa])", "HD 'SZ[19]' CK 'B[aa]'"},
        {"no lines", "", "rejected"},
        {"only empty lines", "\n\n", "rejected"},
        {"text before the game", "Game record\n(;SZ[19];B[pd])", "rejected"},
        {"no closer", "(;SZ[19];B[pd]", "rejected"},
        {"only an opener", "(;", "rejected"},
        {"a lone ( line before no property", "(\n[SZ]\n;B[pd])", "rejected"},
    });
}

TEST(SGFAdjust, KeepsTheOddResultsOfCuttingText) {
    ExpectRows({
        {"a ; in a root value ends the root", "(;SZ[19]C[a;b]PB[x]\n;B[aa]\n)",
         "HD 'SZ[19]' CK 'b]PB[x]' 'B[aa]'"},
        {"an escaped ] ends a value", "(;C[x\\]y]SZ[19]\n;B[aa]\n)",
         "HD 'C[x\\]' 'y]' 'SZ[19]' CK 'B[aa]'"},
        {"empty nodes", "(;SZ[19]\n;B[aa];\n;W[bb];\n)", "HD 'SZ[19]' CK 'B[aa]' '' 'W[bb]' ''"},
        {"variations flattened", "(;SZ[19];B[pd]\n;W[cc](;B[aa])(;B[bb])\n)",
         "HD 'SZ[19]' CK 'B[pd]' 'W[cc](' 'B[aa])(' 'B[bb])'"},
        {"a variation opened at the start of a line", "(;SZ[19];\n(;B[aa])\n(;B[bb])\n)",
         "HD 'SZ[19]' CK '(' 'B[aa])(' 'B[bb])'"},
        {"a second game's root joins the moves", "(;SZ[19];B[aa])\n(;SZ[19];B[bb])",
         "HD 'SZ[19]' CK 'B[aa])(' 'SZ[19]' 'B[bb]'"},
        {"only black stones right after AB", "(;AB[aa][bb]AB[cc]AW[dd][ee]KM[0][gg];B[pd])",
         "HD 'AW[dd]' '[ee]' 'KM[0]' '[gg]' HA 'AB[aa]' 'AB[bb]' 'AB[cc]' CK 'B[pd]'"},
    });
}

TEST(SGFAdjust, NeverCutsInsideADoubleByteCharacter) {
    ExpectRows({
        {"trail bytes that look like ]",
         "(;C[" SJIS_ZO "]PB[" SJIS_HYPHEN "]\n;B[aa]C[" SJIS_ZO "])",
         "HD 'C[" SJIS_ZO "]' 'PB[" SJIS_HYPHEN "]' CK 'B[aa]C[" SJIS_ZO "]'"},
        {"a ; right after a double-byte character", "(;C[" SJIS_ZO "];\nB[aa]C[" SJIS_SO ";])",
         "HD 'C[" SJIS_ZO "]' CK 'B[aa]C[" SJIS_SO "' ']'"},
        {"a lead byte ending a root line takes the ] opening the next",
         "(;C[a\x83\n]b]SZ[19]\n;B[aa])", "HD 'C[a\x83]b]' 'SZ[19]' CK 'B[aa]'"},
        {"a lead byte ending a move line takes the ; opening the next",
         "(;SZ[19];B[aa]C[x\x83\n;y];W[bb])", "HD 'SZ[19]' CK 'B[aa]C[x\x83;y]' 'W[bb]'"},
        {"a ) taken as a trail byte closes nothing", "(;SZ[19];B[aa]\n;W[bb]\x83)", "rejected"},
    });
}

TEST(SGFAdjust, FindsAnIndentedOrMarkedOpenerAsADeliberateMend) {
    ExpectRows({
        {"indented opener", "  (;SZ[19]PB[a]\n;B[pd])", "HD 'SZ[19]' 'PB[a]' CK 'B[pd]'"},
        {"first line only blanks", "   \n(;SZ[19];B[pd])", "HD 'SZ[19]' CK 'B[pd]'"},
        {"byte-order mark, blank lines, a tab", "\xEF\xBB\xBF\n\n \t\n (;SZ[19]\n;B[pd])",
         "HD 'SZ[19]' CK 'B[pd]'"},
        {"byte-order mark before an opener over two lines", "\xEF\xBB\xBF(\n;SZ[19]\n;B[pd])",
         "HD 'SZ[19]' CK 'B[pd]'"},
        {"blanks before text that is no record", "  x\n(;SZ[19];B[pd])", "rejected"},
    });
}

TEST(SGFAdjust, ReadsTheOpeningsThatCurrentSoftwareWrites) {
    ExpectRows({
        {"no ; on a record over several lines", "(\r\nTE[x]\r\nPB[a]\r\n;B[pd]\r\n)",
         "HD 'TE[x]' 'PB[a]' CK 'B[pd]'"},
        {"no ; on a record on one line", "(SZ[19]PB[a];B[pd])", "HD 'SZ[19]' 'PB[a]' CK 'B[pd]'"},
        {"no ;, blanks and blank lines before the name", "(  \n\n\t GM[1]\n;B[aa])",
         "HD '  \t GM[1]' CK 'B[aa]'"},
        {"no ;, a lower-case name", "(sz[19];B[aa])", "HD 'sz[19]' CK 'B[aa]'"},
        {"no ;, the record's first bytes blanks", " \n (SZ[9]\n;B[aa])", "HD 'SZ[9]' CK 'B[aa]'"},
        {"no ; and no node at all", "(\n)", "rejected"},
        {"first node indented", "(\n  ;GM[1]FF[4]SZ[19]\n  ;B[pd]\n)",
         "HD 'GM[1]' 'FF[4]' 'SZ[19]' CK 'B[pd]'"},
        {"first node indented by a tab, blanks after (", "(  \n\t;SZ[9]\n;B[aa])",
         "HD 'SZ[9]' CK 'B[aa]'"},
        {"first node indented after a byte-order mark", "\xEF\xBB\xBF(\n  ;SZ[19]\n)",
         "HD 'SZ[19]'"},
        {"first node indented, a lone ;", "(\n ;\nSZ[19]\n;B[aa])", "HD 'SZ[19]' CK 'B[aa]'"},
        {"later ( lines joined as before", "(;SZ[19];B[aa]\n(\n  ;W[bb])\n)",
         "HD 'SZ[19]' CK 'B[aa]  ' 'W[bb])'"},
        {"a ; in the opening line's rest", "(x[1];y\n;B[aa])", "HD 'x[1]' CK 'y' 'B[aa]'"},
        {"blanks between ( and ; of the opening", "( ;GM[1]SZ[19];B[aa])",
         "HD 'GM[1]' 'SZ[19]' CK 'B[aa]'"},
        {"blanks between ( and ; of variations", "(;SZ[19];B[aa]\n( ;W[bb])\n(\t;W[cc])\n)",
         "HD 'SZ[19]' CK 'B[aa](' 'W[bb])(' 'W[cc])'"},
    });
}

TEST(SGFAdjust, ReadsALineThatBeginsInsideAValueAsTextOfItAsADeliberateMend) {
    ExpectRows({
        {"a comment's last line beginning with (",
         "(;SZ[19]\n;B[aa]C[a repetition\n(in rule 8(1))])",
         "HD 'SZ[19]' CK 'B[aa]C[a repetition(in rule 8(1))]'"},
        {"after an escaped ] and a trail byte like ]",
         "(;SZ[19];B[aa]C[x\\] " SJIS_ZO "\n(y)]\n;W[bb])",
         "HD 'SZ[19]' CK 'B[aa]C[x\\] " SJIS_ZO "(y)]' 'W[bb]'"},
        {"a [ inside a value opens no other", "(;SZ[19];B[aa]C[a [b]\n(x\n;W[bb])\n)",
         "HD 'SZ[19]' CK 'B[aa]C[a [b](' 'W[bb])'"},
    });
}

TEST(SGFAdjust, FindsHandicapStonesAfterBlanks) {
    ExpectRows({
        {"a blank before AB", "(;SZ[19] AB[pd];B[aa])", "HD 'SZ[19]' HA 'AB[pd]' CK 'B[aa]'"},
        {"a blank before a further value", "(;AB[pd] [dp]\t[dd];B[aa])",
         "HA 'AB[pd]' 'AB[dp]' 'AB[dd]' CK 'B[aa]'"},
        {"values on lines of their own", "(;AB[pd]\n  [dp]\n  AB[dd]\n;B[aa])",
         "HA 'AB[pd]' 'AB[dp]' 'AB[dd]' CK 'B[aa]'"},
        {"a blank value after another property", "(;KM[0] [pd]\n AW[dd];B[aa])",
         "HD 'KM[0]' ' [pd]' ' AW[dd]' CK 'B[aa]'"},
        {"blanks between AB and its value", "(;AB [pd] [dp]\nAB\t\n[dd]ABC[x];B[aa])",
         "HD 'ABC[x]' HA 'AB[pd]' 'AB[dp]' 'AB[dd]' CK 'B[aa]'"},
    });
}

TEST(SGFAdjust, SplitsOffTheFinalCloserAfterAnEarlierOneAsADeliberateMend) {
    ExpectRows({
        {"rank in brackets, one line", "(;SZ[19]PB[Kuro (9d)];B[pd];W[dd])",
         "HD 'SZ[19]' 'PB[Kuro (9d)]' CK 'B[pd]' 'W[dd]'"},
        {"last line ending in ))", "(;SZ[19]\n;B[pd]\n;W[aa]))", "HD 'SZ[19]' CK 'B[pd]' 'W[aa])'"},
        {"a last line of ))", "(;SZ[19];B[pd]\n))", "HD 'SZ[19]' CK 'B[pd])'"},
    });
}

TEST(SGFAdjust, MatchesTheLiteralWalkOnRandomRecords) {
    const std::string pieces[] = {
        "(", ";", ")", "]", "[", "(;", "AB", "B", "x", " ", "\t", "\x83", SJIS_ZO, "\x83;",
        "\xEF\xBB\xBF", "\0"s, SJIS_HYO, "[a]", "C[", " AB[", "( ", "1", "\\", "AB ",
        // An escaped double-byte character whose trail byte is "]", after plain bytes.
        "x[\\" SJIS_ZO};
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
        ASSERT_EQ(adjust.Adjust(), expected.ok) << "round " << round;
        ASSERT_EQ(adjust.OutputHD, expected.hd) << "round " << round;
        ASSERT_EQ(adjust.OutputHA, expected.ha) << "round " << round;
        ASSERT_EQ(adjust.OutputCK, expected.ck) << "round " << round;
        // The converter's walks over the same record as one text: the entries counted, handed
        // over, and handed over again with the line starts of the count, are Adjust's.
        const std::string text = JoinLines(input);
        adjust.Input = SplitLines(text);
        const bool ok = adjust.Adjust();
        TSgfLineStarts starts;
        const std::optional<std::size_t> count = CountSgfEntries(text, &starts);
        ASSERT_EQ(count.has_value(), ok) << "round " << round;
        if (ok) {
            ASSERT_EQ(*count,
                      adjust.OutputHD.size() + adjust.OutputHA.size() + adjust.OutputCK.size())
                << "round " << round;
        }
        for (TSgfLineStarts* given : {static_cast<TSgfLineStarts*>(nullptr), &starts}) {
            TCollected collected;
            ASSERT_EQ(SplitSgfRecord(text, collected, given), ok) << "round " << round;
            if (ok) {
                ASSERT_EQ(collected.hd, adjust.OutputHD) << "round " << round;
                ASSERT_EQ(collected.ha, adjust.OutputHA) << "round " << round;
                ASSERT_EQ(collected.ck, adjust.OutputCK) << "round " << round;
            }
        }
    }
}
