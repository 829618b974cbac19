#include "conversion/Game.h"
#include "conversion/SGFAdjust.h"
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

// The three outputs in one text, each entry quoted and each list named unless it is empty, then
// what was left out: "HD 'SZ[19]' HA 'AB[pd]' CK 'B[pp]' left out 2/1"; "rejected" when Adjust
// answers false.
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
    if (adjust.LeftOut != TSgfLeftOut{}) {
        text += " left out " + std::to_string(adjust.LeftOut.variations) + "/" +
                std::to_string(adjust.LeftOut.games);
    }
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
        {"a value before the first node belongs to none", "(\n[SZ]\n;B[pd])", "HD 'B[pd]'"},
        {"the first game tree closed before a node", "()(;SZ[19];B[pd])", "rejected"},
    });
}

TEST(SGFAdjust, ReadsValuesAsTextAndTakesTheMainLine) {
    ExpectRows({
        {"a ; in a root value is text of it", "(;SZ[19]C[a;b]PB[x]\n;B[aa]\n)",
         "HD 'SZ[19]' 'C[a;b]' 'PB[x]' CK 'B[aa]'"},
        {"a move in a comment is text of it", "(;SZ[9];B[ee];W[cc]C[better;W[gg];B[gc])",
         "HD 'SZ[9]' CK 'B[ee]' 'W[cc]C[better;W[gg]' 'B[gc]'"},
        {"an escaped ] ends no value", "(;C[x\\]y]SZ[19]\n;B[aa]\n)",
         "HD 'C[x\\]y]' 'SZ[19]' CK 'B[aa]'"},
        {"( and ) in a value", "(;PB[Kuro (9d)]C[(;x)];B[pd]C[:)])",
         "HD 'PB[Kuro (9d)]' 'C[(;x)]' CK 'B[pd]C[:)]'"},
        {"a ] outside any value ends an entry", "(;GM[1]]SZ[19];B[aa])",
         "HD 'GM[1]' ']' 'SZ[19]' CK 'B[aa]'"},
        {"empty nodes", "(;SZ[19]\n;B[aa];\n;W[bb];\n)", "HD 'SZ[19]' CK 'B[aa]' '' 'W[bb]' ''"},
        {"variations left out", "(;SZ[19];B[pd]\n;W[cc](;B[aa])(;B[bb])\n)",
         "HD 'SZ[19]' CK 'B[pd]' 'W[cc]' 'B[aa]' left out 1/0"},
        {"a variation opened at the start of a line", "(;SZ[19];\n(;B[aa])\n(;B[bb])\n)",
         "HD 'SZ[19]' CK '' 'B[aa]' left out 1/0"},
        {"variations of variations", "(;SZ[19](;B[aa](;W[bb])(;W[cc]))(;B[dd](;W[ee];B[ff])))",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]' left out 2/0"},
        {"each move a variation of its own", "(;SZ[19](;B[aa](;W[bb](;B[cc]))))",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]' 'B[cc]'"},
        {"an empty variation is none", "(;SZ[19];B[aa]()(;W[bb])())",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]'"},
        {"a node after a variation branches off", "(;SZ[19];B[aa](;W[bb]);W[cc])",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]' left out 1/0"},
        {"later games left out", "(;SZ[19];B[aa])\n(;SZ[19];B[bb])()\n(x)(C[;](;W[cc]))",
         "HD 'SZ[19]' CK 'B[aa]' left out 0/2"},
        {"a first game tree left open", "(;SZ[19];B[aa](;W[bb])(;W[cc]",
         "HD 'SZ[19]' CK 'B[aa]' "
         "'W[bb]' left out 1/0"},
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
         "HD 'C[" SJIS_ZO "]' CK 'B[aa]C[" SJIS_SO ";]'"},
        {"a ( as a trail byte outside a value opens nothing", "(;SZ[19];B[aa]\x83(;W[bb])",
         "HD 'SZ[19]' CK 'B[aa]\x83(' 'W[bb]'"},
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
        {"a ( on a line of its own opens a variation", "(;SZ[19];B[aa]\n(\n  ;W[bb])\n)",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]'"},
        {"a ; in the opening line's rest", "(x[1];y\n;B[aa])", "HD 'x[1]' CK 'y' 'B[aa]'"},
        {"blanks between ( and ; of the opening", "( ;GM[1]SZ[19];B[aa])",
         "HD 'GM[1]' 'SZ[19]' CK 'B[aa]'"},
        {"blanks between ( and ; of variations", "(;SZ[19];B[aa]\n( ;W[bb])\n(\t;W[cc])\n)",
         "HD 'SZ[19]' CK 'B[aa]' 'W[bb]' left out 1/0"},
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
         "HD 'SZ[19]' CK 'B[aa]C[a [b]' 'W[bb]'"},
        {"a \\ at the end of a line escapes the line break", "(;C[a\\\n]SZ[9];B[aa])",
         "HD 'C[a\\]' 'SZ[9]' CK 'B[aa]'"},
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

TEST(SGFAdjust, EndsTheMainLineAtTheFirstCloser) {
    ExpectRows({
        {"rank in brackets, one line", "(;SZ[19]PB[Kuro (9d)];B[pd];W[dd])",
         "HD 'SZ[19]' 'PB[Kuro (9d)]' CK 'B[pd]' 'W[dd]'"},
        {"last line ending in ))", "(;SZ[19]\n;B[pd]\n;W[aa]))", "HD 'SZ[19]' CK 'B[pd]' 'W[aa]'"},
        {"a last line of ))", "(;SZ[19];B[pd]\n))", "HD 'SZ[19]' CK 'B[pd]'"},
    });
}

// Random records of the pieces that SGF's structure is made of, read by the splitter over lines,
// over one text, counted, and by the game tree reader of its own: the four agree on the record's
// acceptance, its entries and its main line's game.
TEST(SGFAdjust, AgreesWithItselfAndWithTheTreeReaderOnRandomRecords) {
    const std::string pieces[] = {
        "(", ";", ")", "]", "[", "(;", "AB", "B", "W", "x", " ", "\t", "\x83", SJIS_ZO, "\x83;",
        "\xEF\xBB\xBF", "\0"s, SJIS_HYO, "[a]", "C[", " AB[", "( ", "1", "\\", "AB ", "[dd]",
        "SZ[9]", "AW", "\n", "\r\n", "[tt]",
        // An escaped double-byte character whose trail byte is "]", after plain bytes.
        "x[\\" SJIS_ZO};
    std::mt19937 random(20261208);
    std::size_t accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text = random() % 4 != 0 ? "(;" : "";
        for (int count = static_cast<int>(random() % 24); count > 0; --count) {
            text += pieces[random() % std::size(pieces)];
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << text);
        TSGFAdjust adjust;
        adjust.Input = SplitLines(text);
        const bool ok = adjust.Adjust();
        ASSERT_TRUE(
            ok || (adjust.OutputHD.empty() && adjust.OutputHA.empty() && adjust.OutputCK.empty()));
        const std::optional<std::size_t> count = CountSgfEntries(text);
        ASSERT_EQ(count.has_value(), ok);
        TCollected collected;
        TSgfLeftOut leftOut;
        ASSERT_EQ(SplitSgfRecord(text, collected, &leftOut), ok);
        if (!ok) {
            continue;
        }
        ++accepted;
        ASSERT_EQ(*count, adjust.OutputHD.size() + adjust.OutputHA.size() + adjust.OutputCK.size());
        ASSERT_EQ(collected.hd, adjust.OutputHD);
        ASSERT_EQ(collected.ha, adjust.OutputHA);
        ASSERT_EQ(collected.ck, adjust.OutputCK);
        ASSERT_EQ(leftOut, adjust.LeftOut);
        const TGameRecord split = ReadSgfGameAsSplit(text);
        const TGameRecord tree = ReadSgfGame(text);
        ASSERT_EQ(split.ok, tree.ok);
        if (split.ok) {
            ASSERT_EQ(FirstDifference(split.game, tree.game).what, TGameDifference::TWhat::None);
            ASSERT_EQ(split.game.notes.variations, tree.game.notes.variations);
            ASSERT_EQ(split.game.notes.games, tree.game.notes.games);
            ASSERT_EQ(split.game.notes.rootMoves, tree.game.notes.rootMoves);
            ASSERT_EQ(split.game.notes.laterSetup, tree.game.notes.laterSetup);
        }
    }
    EXPECT_GT(accepted, 2000u);  // the pieces make records often enough to test something
}
