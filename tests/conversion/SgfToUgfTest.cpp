#include "conversion/FileError.h"
#include "conversion/LineList.h"
#include "conversion/SgfToUgf.h"
#include "conversion/Texts.h"
#include "tests/support/FakeServices.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

const TLineList WORKED_SGF = {"(;GM[1]FF[4]SZ[19]PB[Kuro (9d)]PW[Shiro]RE[B+R]",
                              "HA[2]AB[pd][dp]KM[0.5]", ";W[pp];B[dd]", ";W[tt]C[pass]", ")"};

const TLineList WORKED_UGF = {"[Header]",
                              "Ver=UGF,100",
                              "Lang=SJIS",
                              "Crypt=0,PLAIN_UGF_FILE",
                              std::string("Title=") + texts::UGF_DEFAULT_TITLE + ",,",
                              "Place=",
                              "Date=",
                              "Rule=JPN",
                              "Size=19",
                              "Winner=W,C",
                              "Moves=4",
                              "BMemb1=Kuro,9d,",
                              "WMemb1=Shiro,",
                              "User=",
                              "Copyright=",
                              "Comment=",
                              "[Data]",
                              "PD,B1,0,0",
                              "DP,B1,0,0",
                              "PP,W1,1,0",
                              "DD,B1,2,0",
                              "YA,W1,3,0"};

TLineList Convert(const TLineList& sgf) {
    TConversionState state;
    TSilentProgress progress;
    const TConvertedRecord record = ConvertSgfRecord(sgf, state, progress);
    EXPECT_TRUE(record.ready) << state.FailureReason;
    return record.text.Lines();
}

// The first line that begins with key.
std::string LineOf(const TLineList& lines, const std::string& key) {
    const auto line = std::find_if(lines.begin(), lines.end(),
                                   [&](const std::string& l) { return l.starts_with(key); });
    return line == lines.end() ? "(none)" : *line;
}

// The lines after "[Data]".
TLineList DataOf(const TLineList& lines) {
    const auto data = std::find(lines.begin(), lines.end(), "[Data]");
    return data == lines.end() ? TLineList{"(none)"} : TLineList(data + 1, lines.end());
}

}  // namespace

TEST(SgfToUgf, WritesTheWholeRecordAndDrivesTheBar) {
    TFakeServices fake;
    TConversionState state;
    state.FailureReason = "left over";
    const TConvertedRecord record = ConvertSgfRecord(WORKED_SGF, state, fake.progress);
    ASSERT_TRUE(record.ready);
    EXPECT_EQ(record.text.Lines(), WORKED_UGF);
    EXPECT_EQ(state.FailureReason, "");
    // 8 root properties, 2 handicap stones, 3 move nodes.
    EXPECT_EQ(fake.log,
              (TLog{"Timer1 on", "ProgressBar1.Max=13", "ProgressBar1.Position=13", "Timer1 off"}));
    EXPECT_EQ(state.ProgressCount, 13);
    EXPECT_EQ(state.TempMemo, (TDiagnosticLines{"B", "R"}));
}

TEST(SgfToUgf, LeavesTheComponentsAsTheLastMoveNodeSetThem) {
    TConversionState state;
    TSilentProgress progress;
    ASSERT_TRUE(ConvertSgfRecord({"(;SZ[19];B[pd];W[dd]C[x])"}, state, progress).ready);
    EXPECT_EQ(state.StringSplit.pattern, "]");
    EXPECT_FALSE(state.StringSplit.patterncut);
    EXPECT_EQ(state.StringSplit.expr, "W[dd]C[x]");
    EXPECT_EQ(state.StringSplit.items, (std::vector<std::string>{"W[dd]", "C[x]", ""}));
    EXPECT_EQ(state.PatExtract.Pattern1, "[");
    EXPECT_EQ(state.PatExtract.Pattern2, "]");
    EXPECT_EQ(state.PatExtract.Expr, "");
    EXPECT_EQ(state.PatExtract.Prope, "");
    EXPECT_EQ(state.PatExtract.Data, "");

    ASSERT_TRUE(ConvertSgfRecord({"(;SZ[19]PB[Kuro (9d)]AB[aa])"}, state, progress).ready);
    EXPECT_EQ(state.PatExtract.Expr, "AB[aa]");  // no move node: the handicap step set it last
    EXPECT_EQ(state.PatExtract.Data, "aa");
    EXPECT_EQ(state.StringSplit.expr,
              "W[dd]C[x]");  // no result, no move: as the first call left it
}

TEST(SgfToUgf, TakesRootValuesIntoTheHeader) {
    struct Row {
        const char* name;
        std::string root;
        std::string line;
    };
    const Row rows[] = {
        {"no result", "SZ[19]", "Winner="},
        {"black wins by resignation", "RE[B+R]", "Winner=W,C"},
        {"white wins by resignation, lower case", "RE[W+r]", "Winner=B,C"},
        {"lower-case colour", "REsult[b+R]", "Winner=W,C"},
        {"any other colour by resignation", "RE[?+R]", "Winner=B,C"},
        {"a word after + is kept", "RE[W+Resign]", "Winner=W,Resign"},
        {"points", "RE[B+2.5]", "Winner=B,2.5"},
        {"pieces after the second are dropped", "RE[W+3+x]", "Winner=W,3"},
        {"no +", "RE[Draw]", "Winner=Draw"},
        {"nothing after +", "RE[B+]", "Winner="},
        {"Chinese rules", "RU[Chinese]", "Rule="},
        {"Japanese rules", "RU[Japanese]", "Rule=JPN"},
        {"rule name in lower case", "RU[japanese]", "Rule="},
        {"no rule", "SZ[19]", "Rule=JPN"},
        {"name and rank", "PB[Kuro]BR[3d]", "BMemb1=Kuro,3d"},
        {"name alone", "PB[Kuro]", "BMemb1=Kuro,"},
        {"bracketed rank and rank", "PB[Kuro (3d)]BR[3d]", "BMemb1=Kuro,3d,3d"},
        {"bracketed rank without a blank", "PB[Taro(3d)]", "BMemb1=Taro,3d,"},
        {"long names", "PlayerWhite[Shiro (2k)]WhiteRank[1k]", "WMemb1=Shiro,2k,1k"},
        {"double-byte name", "PB[" SJIS_A " (" SJIS_ZO ")]", "BMemb1=" SJIS_A "," SJIS_ZO ","},
        {"the last occurrence wins", "SZ[9]SiZe[13]", "Size=13"},
        {"names and values are trimmed", " SZ [ 19 ]", "Size=19"},
        {"event", "EVent[Honinbo]", "Title=Honinbo,,"},
        {"place", "PC[Tokyo]", "Place=Tokyo"},
        {"date is not carried", "DT[2024-06-11]", "Date="},
        {"copyright", "CP[(c) Kuro]", "Copyright=(c) Kuro"},
        {"user", "US[Shiro]", "User=Shiro"},
        {"a property name in the wrong case is not taken", "sz[9]", "Size=19"},
        {"no size: 19 by the SGF standard", "PB[Kuro]", "Size=19"},
        {"an empty size stays empty", "SZ[]", "Size="},
        {"a size of another form stays as it is", "SZ[19:13]", "Size=19:13"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TLineList ugf = Convert({"(;" + row.root, ";B[pd])"});
        const std::string key = row.line.substr(0, row.line.find('=') + 1);
        EXPECT_EQ(LineOf(ugf, key), row.line);
        EXPECT_EQ(ugf.size(), 18u);
    }
}

TEST(SgfToUgf, WritesHandicapStonesThenMovesNumberedInOneSequence) {
    struct Row {
        const char* name;
        TLineList sgf;
        TLineList data;
        std::string moves;
    };
    const Row rows[] = {
        {"empty point", {"(;SZ[19];B[])"}, {",B1,1,0"}, "Moves=2"},
        {"only lower-case tt is the pass",
         {"(;SZ[19];B[TT];W[tt])"},
         {"TT,B1,1,0", "YA,W1,2,0"},
         "Moves=3"},
        {"other properties of a node give nothing",
         {"(;SZ[19];B[pd]C[nice]BL[30];W[dd])"},
         {"PD,B1,1,0", "DD,W1,2,0"},
         "Moves=3"},
        {"long move names and two moves in a node",
         {"(;SZ[19];Black[pd]White[dd])"},
         {"PD,B1,1,0", "DD,W1,2,0"},
         "Moves=3"},
        {"the main line, into the first variation",
         {"(;SZ[19];B[pd]", ";W[cc](;B[aa])(;B[bb])", ")"},
         {"PD,B1,1,0", "CC,W1,2,0", "AA,B1,3,0"},
         "Moves=4"},
        {"stones without a handicap count",
         {"(;AB[pd];B[dd])"},
         {"PD,B1,0,0", "DD,B1,1,0"},
         "Moves=2"},
        {"a handicap count without stones", {"(;HA[2];W[dd])"}, {"DD,W1,1,0"}, "Moves=2"},
        {"no moves", {"(;SZ[19]AB[pd][dp]", ")"}, {"PD,B1,0,0", "DP,B1,0,0"}, "Moves=1"},
        {"other setup stones give nothing",
         {"(;AW[aa]", ";AE[aa]B[bb])"},
         {"BB,B1,1,0"},
         "Moves=2"},
        {"trail bytes are not upper-cased",
         {"(;SZ[19];B[\x83\x61"
          "a])"},
         {"\x83\x61"
          "A,B1,1,0"},
         "Moves=2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TLineList ugf = Convert(row.sgf);
        EXPECT_EQ(DataOf(ugf), row.data);
        EXPECT_EQ(LineOf(ugf, "Moves="), row.moves);
    }
}

TEST(SgfToUgf, ReadsOpeningsAndBlanksAsTheRecordWithItsSemicolonInPlace) {
    struct Row {
        const char* name;
        TLineList sgf;
        TLineList same;  // the same record as the program read it before
    };
    const Row rows[] = {
        {"no ; after (, Nihon Ki-in style",
         {"(", "TE[" SJIS_HYO "]", "PB[" SJIS_ZO "]BR[9p]", "PW[b]", "HA[2]AB[pd][dp]", ";B[qq]",
          ";W[dd])"},
         {"(;", "TE[" SJIS_HYO "]", "PB[" SJIS_ZO "]BR[9p]", "PW[b]", "HA[2]AB[pd][dp]", ";B[qq]",
          ";W[dd])"}},
        {"no ; on one line", {"(SZ[13]PB[a];B[pd];W[dd])"}, {"(;SZ[13]PB[a];B[pd];W[dd])"}},
        {"first node indented",
         {"(", "  ;GM[1]FF[4]CA[UTF-8]SZ[9]PB[a]RE[B+R]", "  ;B[ee]", "  ;W[cc]", ")"},
         {"(;GM[1]FF[4]CA[UTF-8]SZ[9]PB[a]RE[B+R]", ";B[ee]", ";W[cc]", ")"}},
        {"stones after blanks and line breaks",
         {"(;SZ[19] HA[3] AB[pd] [dp]", "  [dd] KM[0.5]", ";B[qq])"},
         {"(;SZ[19]HA[3]AB[pd][dp][dd]KM[0.5]", ";B[qq])"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Convert(row.sgf), Convert(row.same));
    }
    EXPECT_EQ(DataOf(Convert(rows[3].sgf)),
              (TLineList{"PD,B1,0,0", "DP,B1,0,0", "DD,B1,0,0", "QQ,B1,1,0"}));
}

TEST(SgfToUgf, WritesRecordsOfOtherEncodingsAsTheirShiftJisText) {
    struct Row {
        const char* name;
        std::string sgf;
        std::string shiftJis;  // the same record in Shift-JIS
        std::string encoding;  // as the notes name it
        std::size_t replaced;
    };
    // 本因坊 (名人), ゾ表, 東京 and 囲碁 in Shift-JIS.
    const std::string honinbo = "\x96\x7B\x88\xF6\x96\x56 (\x96\xBC\x90\x6C)";
    const std::string tokyo = "\x93\x8C\x8B\x9E";
    const std::string igo = "\x88\xCD\x8C\xE9";
    const Row rows[] = {
        {"UTF-8 named",
         "(;CA[UTF-8]SZ[19]PB[本因坊 (名人)]PW[ゾ表]PC[東京]EV[囲碁]\r\n;B[pd];W[dd])",
         "(;CA[UTF-8]SZ[19]PB[" + honinbo + "]PW[" SJIS_ZO SJIS_HYO "]PC[" + tokyo + "]EV[" + igo +
             "]\r\n;B[pd];W[dd])",
         "UTF-8", 0},
        {"UTF-8 without CA, a character with no Shift-JIS form",
         "(;SZ[19]PB[이세돌]PW[本因坊 (名人)]\n;B[pd])",
         "(;SZ[19]PB[???]PW[" + honinbo + "]\n;B[pd])", "UTF-8", 3},
        {"EUC-JP named", "(;CA[EUC-JP]PC[\xC5\xEC\xB5\xFE];B[pd])",
         "(;CA[EUC-JP]PC[" + tokyo + "];B[pd])", "EUC-JP", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TConversionState state;
        TSilentProgress progress;
        state.TempMemo = {"earlier"};
        const TConvertedRecord record = ConvertSgfBytes(row.sgf, state, progress);
        ASSERT_TRUE(record.ready);
        EXPECT_EQ(record.text.Lines(), Convert(SplitLines(row.shiftJis)));
        EXPECT_EQ(state.SgfNotes.encoding, row.encoding);
        EXPECT_EQ(state.SgfNotes.replaced, row.replaced);
        TDiagnosticLines memo = {"earlier"};
        if (row.replaced > 0) {
            memo.push_back(std::string(texts::REPLACED_BEFORE) + std::to_string(row.replaced) +
                           texts::REPLACED_AFTER);
        }
        EXPECT_EQ(TDiagnosticLines(state.TempMemo.begin(), state.TempMemo.begin() + memo.size()),
                  memo);
    }
}

TEST(SgfToUgf, NotesOnlyWhatTheRecordShows) {
    struct Row {
        const char* name;
        std::string sgf;
        std::string encoding;
        std::size_t variations;
        std::size_t games;
    };
    const Row rows[] = {
        {"Shift-JIS, one game", "(;CA[SJIS]PB[" SJIS_ZO "];B[pd]C[Kuro (9d)])", "", 0, 0},
        {"ASCII named UTF-8 is not turned", "(;CA[UTF-8]SZ[19];B[pd])", "", 0, 0},
        {"a byte-order mark is", "\xEF\xBB\xBF(;SZ[19];B[pd])", "UTF-8", 0, 0},
        {"variations", "(;SZ[19];B[pd](;W[dd])(;W[dp]))", "", 1, 0},
        {"a variation opened on its own line", "(;SZ[19];B[pd]\n(\n;W[dd])\n(;W[dp]))", "", 1, 0},
        {"two games", "(;SZ[19];B[aa])\n(;SZ[19];B[bb])", "", 0, 1},
        {"each move in a variation of its own", "(;SZ[19];B[pd]( ;W[dd](;B[dp])))", "", 0, 0},
        {"an indented first node alone", "(\n  ;SZ[19]\n  ;B[pd]\n)", "", 0, 0},
        {"no ; after the first (", "(SZ[19];B[pd](;W[dd])(;W[dp](;B[aa])(;B[bb])))", "", 2, 0},
        {"\"(\" in a comment", "(;SZ[19];B[pd]C[(;W)(;B)])", "", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TConversionState state;
        state.SgfNotes = {"left over", 9, 7, 5};
        TSilentProgress progress;
        ASSERT_TRUE(ConvertSgfBytes(row.sgf, state, progress).ready);
        EXPECT_EQ(state.SgfNotes.encoding, row.encoding);
        EXPECT_EQ(state.SgfNotes.replaced, 0u);
        EXPECT_EQ(state.SgfNotes.variations, row.variations);
        EXPECT_EQ(state.SgfNotes.games, row.games);
    }
}

TEST(SgfToUgf, GivesAReasonAndTouchesNoFileWhenNothingIsWritten) {
    struct Row {
        const char* name;
        std::string sgf;
        std::int32_t setting;
        std::string reason;
        TLog log;
    };
    const Row rows[] = {
        {"no record",
         "Game record",
         0,
         texts::SGF_NOT_A_RECORD,
         {"Timer1 on", "ProgressBar1.Position=7", "Timer1 off"}},
        {"conversion not chosen",
         "(;SZ[19];B[pd])",
         1,
         texts::SGF_CONVERSION_OFF,
         {"Timer1 on", "ProgressBar1.Max=2", "ProgressBar1.Position=2", "Timer1 off"}},
        {"no choice at all",
         "(;SZ[19];B[pd])",
         -1,
         texts::SGF_CONVERSION_OFF,
         {"Timer1 on", "ProgressBar1.Max=2", "ProgressBar1.Position=2", "Timer1 off"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFakeServices fake;
        fake.files.files = {{"/kifu/a.sgf", row.sgf}, {"/kifu/a.ugf", "earlier"}};
        fake.progress.SetBar(TBar::ProgressBar1, TBarField::Max, 7);  // from an earlier file
        fake.log.clear();
        TConversionState state;
        state.Settings.SGFConv = row.setting;
        EXPECT_FALSE(ConvertSgfToUgf("/kifu/a.sgf", state, fake.progress, fake.files));
        EXPECT_EQ(state.FailureReason, row.reason);
        EXPECT_EQ(fake.log, row.log);  // no delete, rename or save
        EXPECT_EQ(fake.files.files.size(), 2u);
    }
}

TEST(SgfToUgf, MovesTheEarlierOutputToTheBackupName) {
    TFakeServices fake;
    fake.files.files = {{"/kifu/game.sgf", "(;SZ[19]\r\n;B[pd])\r\n"},
                        {"/kifu/game.ugf", "earlier"},
                        {"/kifu/game.bak", "older"}};
    TConversionState state;
    ASSERT_TRUE(ConvertSgfToUgf("/kifu/game.sgf", state, fake.progress, fake.files));
    EXPECT_EQ(fake.log, (TLog{"Timer1 on", "ProgressBar1.Max=2", "ProgressBar1.Position=2",
                              "Timer1 off", "SaveTemporary /kifu/game.ugf", "Delete /kifu/game.bak",
                              "Rename /kifu/game.ugf -> /kifu/game.bak",
                              "Rename /kifu/game.ugf.tmp -> /kifu/game.ugf"}));
    EXPECT_EQ(fake.files.files["/kifu/game.bak"], "earlier");
    EXPECT_EQ(fake.files.files["/kifu/game.ugf"].substr(0, 10), "[Header]\r\n");
    EXPECT_EQ(state.FailureReason, "");
}

TEST(SgfToUgf, KeepsAnEarlierOutputThatCannotBeMovedAsADeliberateMend) {
    TFakeServices fake;
    fake.files.files = {{"/kifu/game.sgf", "(;SZ[19];B[pd])"}, {"/kifu/game.ugf", "earlier"}};
    fake.files.directories = {"/kifu/game.bak"};
    TConversionState state;
    EXPECT_FALSE(ConvertSgfToUgf("/kifu/game.sgf", state, fake.progress, fake.files));
    EXPECT_EQ(fake.files.files,
              (std::map<std::string, std::string>{{"/kifu/game.sgf", "(;SZ[19];B[pd])"},
                                                  {"/kifu/game.ugf", "earlier"}}));
    EXPECT_EQ(state.FailureReason, texts::CANNOT_BACK_UP);
}

TEST(SgfToUgf, RaisesFileErrorsWithTheirPaths) {
    TFakeServices fake;
    fake.files.files = {{"/kifu/b.sgf", "(;SZ[19];B[pd])"}};
    fake.files.unwritable = {"/kifu/b.ugf"};
    TConversionState state;
    try {
        (void)ConvertSgfToUgf("/kifu/a.sgf", state, fake.progress, fake.files);
        ADD_FAILURE() << "no error for a missing file";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.what(),
                  std::string(texts::FILE_PREFIX) + "/kifu/a.sgf" + texts::CANNOT_OPEN);
        EXPECT_TRUE(fake.log.empty());  // nothing started
    }
    try {
        (void)ConvertSgfToUgf("/kifu/b.sgf", state, fake.progress, fake.files);
        ADD_FAILURE() << "no error for an output that cannot be written";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.kind, TFileErrorKind::Create);
        EXPECT_EQ(error.path, "/kifu/b.ugf");
    }
}

TEST(SgfToUgf, WritesTheFileOnDisk) {
    TTempDir dir;
    std::string sgf;
    for (const std::string& line : WORKED_SGF) {
        sgf += line + "\n";  // lone LF line ends read like CR LF
    }
    dir.Write("game.sgf", sgf);
    dir.Write("game.ugf", "earlier");
    TConversionState state;
    TSilentProgress progress;
    TDiskFileService files;
    ASSERT_TRUE(ConvertSgfToUgf(dir.Path("game.sgf"), state, progress, files));
    EXPECT_EQ(dir.Read("game.ugf"), JoinLines(WORKED_UGF));
    EXPECT_EQ(dir.Read("game.bak"), "earlier");
    EXPECT_EQ(dir.List(), "game.bak game.sgf game.ugf");
}
