#include "conversion/FileError.h"
#include "conversion/Texts.h"
#include "conversion/UgfToSgf.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#define SJIS_FUMEI "\x95\x73\x96\xBE"

namespace {

const TLineList HEADER = {"Lang=SJIS",  "Crypt=0,PLAIN_UGF_FILE", "Size=19",
                          "Winner=B,C", "BMemb1=Taro,3d",         "WMemb1=Jiro"};
const TLineList MOVES = {"PD,B1,1,0", "DD,W1,2,0"};

// "[Header]", the header lines, then extra (later lines win), "[Data]" and the data lines.
TLineList Record(const TLineList& extra = {}, const TLineList& data = MOVES) {
    TLineList lines = {"[Header]"};
    lines.insert(lines.end(), HEADER.begin(), HEADER.end());
    lines.insert(lines.end(), extra.begin(), extra.end());
    lines.push_back("[Data]");
    lines.insert(lines.end(), data.begin(), data.end());
    return lines;
}

TLineList Sgf(const TLineList& source, int dialect) {
    TConversionState state;
    state.Settings.USGFApli = dialect;
    TSilentProgress progress;
    const TConvertedRecord record = ConvertUgfRecord(JoinLines(source), state, progress);
    EXPECT_TRUE(record.ready) << state.FailureReason;
    EXPECT_EQ(state.FailureReason, "");
    return record.text.Lines();
}

}  // namespace

TEST(UgfToSgf, WritesEachDialectLineByLine) {
    const TLineList expected[] = {
        {"(;",
         "SZ[19]PB[Taro(3d)]PW[Jiro(" SJIS_FUMEI ")]BS[0]WS[0]KM[0]HA[0]RU[Japanese]"
         "AP[The strongest game of Go 2.0]VW[]",
         "RE[W+R]PL[B];", "B[pd];", "W[dd])"},
        {"(;SZ[19]BS[0]WS[0]PB[Taro(3d)]PW[Jiro(" SJIS_FUMEI ")]KM[0]HA[0]C[];", "B[pd];W[dd])"},
        {"(;", "FF[4]SZ[19]BS[0]WS[1]PB[Taro]PW[Jiro]KM[0]HA[0]RU[Japanese]AP[AIIGO /AGS]VW[];",
         "B[pd];", "W[dd])"},
        {"(;", texts::FAMILY_GAME_NAME, "PB[Taro]PW[Jiro]GM[1]SZ[19]BS[0]WS[2]KM[0]HA[0];",
         "B[pd];", "W[dd])"},
    };
    for (int dialect = 0; dialect < 4; ++dialect) {
        SCOPED_TRACE(dialect);
        EXPECT_EQ(Sgf(Record(), dialect), expected[dialect]);
    }
}

TEST(UgfToSgf, WritesHandicapStonesEachDialectItsWay) {
    const TLineList source = Record({"Hdcp=2,0.5"}, {"PD,B1,0,0", "DP,W1,0,0", "QQ,W1,1,0"});
    const std::string root0 = "SZ[19]PB[Taro(3d)]PW[Jiro(" SJIS_FUMEI
                              ")]BS[0]WS[0]KM[0.5]HA[2]"
                              "RU[Japanese]AP[The strongest game of Go 2.0]VW[]";
    const TLineList expected[] = {
        {"(;", root0, "RE[W+R]PL[W]AB[pd]AB[dp];", "W[qq])"},
        {"(;SZ[19]BS[0]WS[0]PB[Taro(3d)]PW[Jiro(" SJIS_FUMEI ")]KM[0.5]HA[2]C[]AB[pd][dp];",
         "W[qq])"},
        {"(;",
         "FF[4]SZ[19]BS[0]WS[1]PB[Taro]PW[Jiro]KM[0.5]HA[2]RU[Japanese]AP[AIIGO /AGS]"
         "VW[][pd][dp];",
         "W[qq])"},
        {"(;", texts::FAMILY_GAME_NAME,
         "PB[Taro]PW[Jiro]GM[1]SZ[19]BS[0]WS[2]KM[0.5]HA[2]AB[pd]AB[dp];", "W[qq])"},
    };
    for (int dialect = 0; dialect < 4; ++dialect) {
        SCOPED_TRACE(dialect);
        EXPECT_EQ(Sgf(source, dialect), expected[dialect]);
    }
}

TEST(UgfToSgf, ShortOrOddHeaderValuesStillConvert) {
    struct Row {
        const char* name;
        TLineList extra;
        std::string part;  // of the dialect 0 text
    };
    const Row rows[] = {
        {"white resigned", {"Winner=W,C"}, "RE[B+R]PL[B];"},
        {"empty winner", {"Winner="}, "RE[]PL[B];"},
        {"key without equals", {"Winner", "Size"}, "SZ[]PB"},
        {"other rule", {"Rule=CHN"}, "RU[]AP"},
        {"rule compared with case", {"Rule=jpn"}, "RU[]AP"},
        {"empty player", {"BMemb1="}, "PB[(" SJIS_FUMEI ")]"},
        {"format signs copied", {"BMemb1=%s%d%n,%x"}, "PB[%s%d%n(%x)]"},
        {"lead byte at the end", {"WMemb1=Jiro\x83"}, "PW[Jiro\x83(" SJIS_FUMEI ")]"},
        {"empty komi", {"Hdcp=0,"}, "KM[]HA[0]"},
        {"blank line and other keys", {"", "size=9", "Size =9", "User=x"}, "SZ[19]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = JoinLines(Sgf(Record(row.extra), 0));
        EXPECT_NE(text.find(row.part), std::string::npos) << text;
    }
}

TEST(UgfToSgf, MovesComeFromMoveLinesOnly) {
    struct Row {
        const char* name;
        TLineList extra;
        TLineList data;
        TLineList after;  // dialect 0 lines after "(;" and the root line
    };
    const Row rows[] = {
        {"pass", {}, {"YA,W1,12,0"}, {"RE[W+R]PL[B];", "W[tt])"}},
        {"lower-case ya is a point", {}, {"ya,W2,12,0"}, {"RE[W+R]PL[B];", "W[ya])"}},
        {"rows from the bottom of 25: YY is the point that mirrors to ya",
         {"CoordinateType=IGS", "Size=25"},
         {"YY,B1,1,0", "YA,W1,2,0", "AA,B1,3,0"},
         {"RE[W+R]PL[B];", "B[ya];", "W[tt];", "B[ay])"}},
        {"only letters lower-cased", {}, {SJIS_A "Q,B1,1,0"}, {"RE[W+R]PL[B];", "B[" SJIS_A "q])"}},
        {"comment section unread",
         {},
         {"PD,B1,1,0", "[comment]", "DD,W1,0,0"},
         {"RE[W+R]PL[B];", "B[pd])"}},
        {"no move closes the tree", {}, {}, {"RE[W+R]PL[B];", ")"}},
        {"no line gives a move", {}, {"PD,X1,1,0"}, {"RE[W+R]PL[B];", ")"}},
        {"handicap line without a stone",
         {"Hdcp=1"},
         {"PD,B1,5,0", "DD,W1,1,0"},
         {"RE[W+R]PL[W];", "W[dd])"}},
        {"stones end with the last line",
         {"Hdcp=2147483647"},
         {"PD,B1,0,0"},
         {"RE[W+R]PL[W]AB[pd];", ")"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TLineList lines = Sgf(Record(row.extra, row.data), 0);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(TLineList(lines.begin() + 2, lines.end()), row.after);
    }
    // Dialect 1 writes no "AB" without a value.
    EXPECT_EQ(
        Sgf(Record({"Hdcp=1"}, {"PD,B1,5,0"}), 1),
        (TLineList{"(;SZ[19]BS[0]WS[0]PB[Taro(3d)]PW[Jiro(" SJIS_FUMEI ")]KM[0]HA[1]C[];", ")"}));
}

TEST(UgfToSgf, PacksDialectOneMovesIntoLinesOfMoreThan200Bytes) {
    struct Row {
        const char* name;
        int before;       // moves of six bytes with their terminator
        const char* odd;  // the point of one more move, or none
        int after;        // more moves of six bytes
        std::vector<std::size_t> sizes;
    };
    const Row rows[] = {
        {"70 moves", 70, nullptr, 0, {204, 204, 12}},
        {"200 bytes wait for one more move", 32, "ABCD", 2, {206, 6}},
        {"201 bytes make a line", 32, "ABCDE", 2, {201, 12}},
        {"one move", 1, nullptr, 0, {6}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TLineList data(static_cast<std::size_t>(row.before), "PD,B1,1,0");
        if (row.odd) {
            data.push_back(row.odd + std::string(",B1,1,0"));
        }
        data.insert(data.end(), static_cast<std::size_t>(row.after), "PD,B1,1,0");
        const TLineList lines = Sgf(Record({}, data), 1);
        std::vector<std::size_t> sizes;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            sizes.push_back(lines[i].size());
            EXPECT_EQ(lines[i].back(), i + 1 < lines.size() ? ';' : ')');
        }
        EXPECT_EQ(sizes, row.sizes);
    }
}

TEST(UgfToSgf, RejectsWithReasonProgressAndDiagnosticLines) {
    const TLineList good = Record();
    struct Row {
        const char* name;
        TLineList source;
        int ugfConv, dialect;
        std::string reason;
        TLineList memo;  // lines added after "earlier"
        int max;
        bool atMax;  // the bar set to its maximum before the timer goes off
        int steps;
    };
    const std::string bad = std::string(texts::BAD_HANDICAP_COUNT) + "-1,0.5";
    const std::string crypt = "0,PLAIN_UGF_FILE ";
    const Row rows[] = {
        {"blank first line", {"", "[Header]"}, 0, 0, texts::NO_HEADER_LINE, {}, 1, false, 0},
        {"empty file", {}, 0, 0, texts::NO_HEADER_LINE, {}, 0, false, 0},
        {"no data line",
         {"[Header]", "Lang=SJIS", "Crypt=0,PLAIN_UGF_FILE", "[Comment]"},
         0,
         0,
         texts::NOT_PLAIN_TEXT,
         {""},
         3,
         true,
         1},
        {"crypt with a blank",
         Record({"Crypt=" + crypt}),
         0,
         0,
         texts::NOT_PLAIN_TEXT + crypt,
         {crypt},
         10,
         true,
         8},
        {"lower-case lang",
         Record({"Lang=sjis"}, {}),
         0,
         0,
         texts::NOT_SJIS + std::string("sjis"),
         {},
         8,
         true,
         8},
        {"negative handicap", Record({"Hdcp=-1,0.5"}, {}), 0, 0, bad, {bad}, 8, true, 8},
        {"no output asked", good, 1, 0, texts::UGF_CONVERSION_OFF, {}, 9, true, 9},
        {"unknown dialect",
         good,
         0,
         4,
         texts::UNKNOWN_SGF_DIALECT + std::string("4"),
         {},
         9,
         true,
         9},
        {"no dialect", good, 0, -1, texts::UNKNOWN_SGF_DIALECT + std::string("-1"), {}, 9, true, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeServices fake;
        TConversionState state;
        state.Settings.UGFConv = row.ugfConv;
        state.Settings.USGFApli = row.dialect;
        state.TempMemo = {"earlier"};
        EXPECT_FALSE(ConvertUgfRecord(JoinLines(row.source), state, fake.progress).ready);
        EXPECT_EQ(state.FailureReason, row.reason);
        TDiagnosticLines memo = {"earlier"};
        memo.insert(memo.end(), row.memo.begin(), row.memo.end());
        EXPECT_EQ(state.TempMemo, memo);
        const std::string max = std::to_string(row.max);
        TLog log = {"ProgressBar1.Max=" + max, "ProgressBar1.Position=0", "Timer1 on"};
        if (row.atMax) {
            log.push_back("ProgressBar1.Position=" + max);
        }
        log.push_back("Timer1 off");
        EXPECT_EQ(fake.log, log);
        EXPECT_EQ(state.ProgressCount, row.steps);
    }
}

namespace {

// A record of the newer form as current UGF software writes it, abridged: two handicap stones, a
// pass and a move, then review and comment sections whose lines look like data lines. Each line of
// replace takes the place of the line of its key, or comes after "[Header]"; the line of key drop
// goes.
TLineList NewerRecord(const TLineList& replace = {}, const std::string& drop = "") {
    TLineList lines = {"[Header]",
                       "Ver=UGF3,200",
                       "Lang=SJIS",
                       "Crypt=0,PLAIN_UGF_FILE,READ_WRITE",
                       "Size=19",
                       "Hdcp=2,6.50",
                       "Winner=B,2.50",
                       "CoordinateType=IGS",
                       "PlayerB=ken03110,2k,,",
                       "PlayerW=apetresc,2k?,,a@b.jp",
                       "[Data]",
                       "QP,B1,0,0",
                       "DD,B1,0,0",
                       "YA,W1,1,0",
                       "qp,B1,2,0",
                       "[ReviewNode]",
                       "NODE,1,0,0,0",
                       "PD,W1,3,0",
                       "[ReviewComment]",
                       "DD,B1,4,0",
                       "[Comment]",
                       "QQ,W1,5,0"};
    for (const std::string& line : replace) {
        const std::string key = line.substr(0, line.find('=') + 1);
        const auto same = std::find_if(lines.begin(), lines.end(),
                                       [&](const std::string& l) { return l.starts_with(key); });
        if (same != lines.end()) {
            *same = line;
        } else {
            lines.insert(lines.begin() + 1, line);
        }
    }
    std::erase_if(lines,
                  [&](const std::string& l) { return !drop.empty() && l.starts_with(drop); });
    return lines;
}

}  // namespace

TEST(UgfToSgf, ReadsTheNewerForm) {
    const std::string root =
        "SZ[19]PB[ken03110(2k)]PW[apetresc(2k?)]BS[0]WS[0]KM[6.50]HA[2]"
        "RU[Japanese]AP[The strongest game of Go 2.0]VW[]";
    struct Row {
        const char* name;
        TLineList replace;
        std::string drop;
        TLineList after;  // dialect 0 lines after "(;"
    };
    const Row rows[] = {
        {"rows from the bottom, the pass kept, review sections unread",
         {},
         "",
         {root, "RE[B+2.50]PL[W]AB[qd]AB[dp];", "W[tt];", "B[qd])"}},
        {"Crypt with a third field of another wish",
         {"Crypt=0,PLAIN_UGF_FILE,READ_ONLY"},
         "",
         {root, "RE[B+2.50]PL[W]AB[qd]AB[dp];", "W[tt];", "B[qd])"}},
        {"BMemb1 and WMemb1 win over PlayerB and PlayerW",
         {"BMemb1=Kuro,3d,x", "WMemb1="},
         "",
         {"SZ[19]PB[Kuro(3d,x)]PW[(" SJIS_FUMEI ")]BS[0]WS[0]KM[6.50]HA[2]RU[Japanese]"
          "AP[The strongest game of Go 2.0]VW[]",
          "RE[B+2.50]PL[W]AB[qd]AB[dp];", "W[tt];", "B[qd])"}},
        {"no CoordinateType: rows from the top",
         {},
         "CoordinateType=",
         {root, "RE[B+2.50]PL[W]AB[qp]AB[dd];", "W[tt];", "B[qp])"}},
        {"a size no board has: nothing mirrored",
         {"Size=52"},
         "",
         {"SZ[52]PB[ken03110(2k)]PW[apetresc(2k?)]BS[0]WS[0]KM[6.50]HA[2]"
          "RU[Japanese]AP[The strongest game of Go 2.0]VW[]",
          "RE[B+2.50]PL[W]AB[qp]AB[dd];", "W[tt];", "B[qp])"}},
        {"a smaller board mirrors by its own size",
         {"Size=17"},
         "",
         {"SZ[17]PB[ken03110(2k)]PW[apetresc(2k?)]BS[0]WS[0]KM[6.50]HA[2]"
          "RU[Japanese]AP[The strongest game of Go 2.0]VW[]",
          "RE[B+2.50]PL[W]AB[qb]AB[dn];", "W[tt];", "B[qb])"}},
        {"the older form reads every line up to [Comment]",
         {"Crypt=0,PLAIN_UGF_FILE"},
         "",
         {root, "RE[B+2.50]PL[W]AB[qd]AB[dp];", "W[tt];", "B[qd];", "W[pp];", "B[dp])"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TLineList lines = Sgf(NewerRecord(row.replace, row.drop), 0);
        ASSERT_GE(lines.size(), 1u);
        EXPECT_EQ(TLineList(lines.begin() + 1, lines.end()), row.after);
    }
}

TEST(UgfToSgf, TheNewerFormsBarEndsWhereItsDataEnds) {
    TFakeServices fake;
    TConversionState state;
    ASSERT_TRUE(ConvertUgfRecord(JoinLines(NewerRecord()), state, fake.progress).ready);
    // "[Comment]" on line 20; the data end at "[ReviewNode]", line 15.
    EXPECT_EQ(fake.log, (TLog{"ProgressBar1.Max=20", "ProgressBar1.Position=0", "Timer1 on",
                              "ProgressBar1.Max=15", "ProgressBar1.Position=15", "Timer1 off"}));
    EXPECT_EQ(state.ProgressCount, 1 + 9 + 2 + 2);
}

TEST(UgfToSgf, StepsOncePerHeaderHandicapAndMoveLine) {
    TFakeServices fake;
    TConversionState state;
    state.ProgressCount = 77;
    state.FailureReason = "earlier";
    const TLineList source =
        Record({"Hdcp=2"}, {"PD,B1,0,0", "DP,B1,0,0", "QQ,W1,1,0", "DD,B3,2,0", "[Comment]", "x"});
    ASSERT_TRUE(ConvertUgfRecord(JoinLines(source), state, fake.progress).ready);
    EXPECT_EQ(fake.log, (TLog{"ProgressBar1.Max=13", "ProgressBar1.Position=0", "Timer1 on",
                              "ProgressBar1.Position=13", "Timer1 off"}));
    EXPECT_EQ(state.ProgressCount, 1 + 7 + 2 + 2);
    EXPECT_EQ(state.FailureReason, "");
    EXPECT_EQ(state.StringSplit.pattern, ",");
    EXPECT_TRUE(state.StringSplit.patterncut);
    EXPECT_EQ(state.StringSplit.expr, "DD,B3,2,0");  // as the last data line left it
    EXPECT_EQ(state.StringSplit.items, (std::vector<std::string>{"DD", "B3", "2", "0"}));
}

TEST(UgfToSgf, EarlierOutputBecomesTheBackup) {
    TFakeServices fake;
    TConversionState state;
    fake.files.files = {{"/kifu/game.ugf", JoinLines(Record())},
                        {"/kifu/game.sgf", "old"},
                        {"/kifu/game.bak", "older"}};
    ASSERT_TRUE(ConvertUgfToSgf("/kifu/game.ugf", state, fake.progress, fake.files));
    EXPECT_EQ(TLog(fake.log.end() - 4, fake.log.end()),
              (TLog{"SaveTemporary /kifu/game.sgf", "Delete /kifu/game.bak",
                    "Rename /kifu/game.sgf -> /kifu/game.bak",
                    "Rename /kifu/game.sgf.tmp -> /kifu/game.sgf"}));
    EXPECT_EQ(fake.files.files["/kifu/game.bak"], "old");
    EXPECT_EQ(fake.files.files["/kifu/game.sgf"], JoinLines(Sgf(Record(), 0)));
}

TEST(UgfToSgf, LeavesFilesAloneWhenNothingCanBeWritten) {
    struct Row {
        const char* name;
        int dialect;
        const char* inTheWay;  // a folder at this path
    };
    const Row rows[] = {{"rejected record", 4, ""}, {"folder at the backup name", 0, "/k/g.bak"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeServices fake;
        TConversionState state;
        state.Settings.USGFApli = row.dialect;
        fake.files.files = {{"/k/g.ugf", JoinLines(Record())}, {"/k/g.sgf", "old"}};
        fake.files.directories = {row.inTheWay};
        EXPECT_FALSE(ConvertUgfToSgf("/k/g.ugf", state, fake.progress, fake.files));
        EXPECT_NE(state.FailureReason, "");
        EXPECT_EQ(fake.files.files, (std::map<std::string, std::string>{
                                        {"/k/g.ugf", JoinLines(Record())}, {"/k/g.sgf", "old"}}));
    }
}

TEST(UgfToSgf, FileErrorsReachTheCaller) {
    TFakeServices fake;
    TConversionState state;
    EXPECT_THROW((void)ConvertUgfToSgf("/k/none.ugf", state, fake.progress, fake.files),
                 TFileError);
    EXPECT_TRUE(fake.log.empty());

    fake.files.files = {{"/k/g.ugf", JoinLines(Record())}, {"/k/g.sgf", "old"}};
    fake.files.unwritable = {"/k/g.sgf"};
    fake.files.files["/k/g.bak"] = "older";
    EXPECT_THROW((void)ConvertUgfToSgf("/k/g.ugf", state, fake.progress, fake.files), TFileError);
    // A failed write leaves the old files as they were.
    EXPECT_EQ(fake.files.files,
              (std::map<std::string, std::string>{
                  {"/k/g.ugf", JoinLines(Record())}, {"/k/g.sgf", "old"}, {"/k/g.bak", "older"}}));
}

TEST(UgfToSgf, ConvertsOnTheDisk) {
    TTempDir dir;
    dir.Write("game.ugf", JoinLines(Record({"Hdcp=1,6.5"}, {"PD,B1,0,0"})) + "[Comment]\rx");
    dir.Write("game.sgf", "old");
    dir.Write("game.bak", "older");
    TConversionState state;
    state.Settings.USGFApli = 3;
    TSilentProgress progress;
    TDiskFileService files;
    ASSERT_TRUE(ConvertUgfToSgf(dir.Path("game.ugf"), state, progress, files));
    EXPECT_EQ(dir.Read("game.sgf"), "(;\r\n" + std::string(texts::FAMILY_GAME_NAME) +
                                        "\r\nPB[Taro]PW[Jiro]GM[1]SZ[19]BS[0]WS[2]KM[6.5]HA[1]"
                                        "AB[pd];\r\n)\r\n");
    EXPECT_EQ(dir.Read("game.bak"), "old");
    EXPECT_EQ(dir.List(), "game.bak game.sgf game.ugf");
}
