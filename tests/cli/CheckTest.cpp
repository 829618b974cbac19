#include "cli/Check.h"
#include "cli/Kifuconv.h"
#include "conversion/ConversionRun.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TRun {
    int status;
    std::string out;
};

TRun Kifuconv(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunKifuconv(arguments, out, err, false);
    return {status, out.str()};
}

const std::string UGF =
    "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\n[Data]\r\n"
    "PD,B1,1,0\r\nDD,W1,2,0\r\nYA,B1,3,0\r\n";
// Shift-JIS of 9 x 9 whose black player's name holds ";".
const std::string UGF_NAME_WITH_SEMICOLON =
    "[Header]\r\nVer=UGF3,200\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE,READ_WRITE\r\nSize=9\r\n"
    "PlayerB=kazi;wami,7d,,\r\nPlayerW=yinni,8d,,\r\n[Data]\r\nEE,B1,1,0\r\nCC,W1,2,0\r\n";

}  // namespace

TEST(KifuconvCheck, SaysForEachRecordWhetherItsConversionKeepsTheGameAndWritesNothing) {
    TTempDir dir;
    dir.Write("a.ugf", UGF);
    dir.Write("b.sgf", "(;SZ[9]AB[cc][gg];W[ee](;B[dd])(;B[ff]))");
    dir.Write("d.txt", "x");
    const std::string listed = dir.List();
    const TRun run = Kifuconv(
        {"--check", "--app", "1", dir.Path("a.ugf"), dir.Path("b.sgf"), dir.Path("d.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              dir.Path("a.ugf") + ": same game (3 moves)\n" + dir.Path("b.sgf") +
                  ": not kept by design: 1 variation left out; handicap stones read back "
                  "as black moves (no Hdcp line is written) (2 moves; first change: setup stone 1: "
                  "source black C7, output none)\n" +
                  dir.Path("d.txt") + ": skipped: not a .ugf, .ugi or .sgf file\n" +
                  "checked 2 records (5 moves): 1 same game, 1 not kept by design, 0 differ, "
                  "0 not converted, 1 skipped\n");
    EXPECT_EQ(dir.List(), listed);
    // What the design changes is no failure.
    EXPECT_EQ(Kifuconv({"--check", dir.Path("a.ugf"), dir.Path("b.sgf")}).status, 0);
    EXPECT_EQ(Kifuconv({"--check", "--ugf-conv", "1", dir.Path("a.ugf")}).status, 1);
}

// Records whose values hold ";", "(" or ")", or whose variations nest: the UGF written holds the
// main line that was played, and the check, reading the source with a reader of its own, says so.
TEST(KifuconvCheck, ReadsValuesAsTextAndTheMainLineInConversionAndCheckAlike) {
    struct TRow {
        const char* name;
        const char* file;
        std::string bytes;
        const char* app;
        std::string check;
        std::string written;  // a line the output holds
    };
    const TRow rows[] = {
        {"a move in a comment", "a.sgf", "(;SZ[9];B[ee];W[cc]C[better;W[gg];B[gc])", "0",
         "same game (3 moves)", "Moves=4\r\n"},
        {"a ; in a root comment", "b.sgf", "(;GM[1]C[Hello; have fun]SZ[9];B[ee];W[dd])", "0",
         "same game (2 moves)", "Size=9\r\n"},
        {"a ; in a player's name", "c.ugf", UGF_NAME_WITH_SEMICOLON, "3", "same game (2 moves)",
         "PB[kazi;wami]"},
        {"variations and a second game", "d.sgf",
         "(;SZ[9];B[ee](;W[cc];B[gc])(;W[gg]))\n(;SZ[9];B[aa])", "0",
         "not kept by design: 1 variation left out; 1 more game in the file left out (3 moves)",
         "Moves=4\r\n"},
        {"each move a variation of its own", "e.sgf", "(;SZ[9](;B[ee](;W[cc](;B[gc]))))", "0",
         "same game (3 moves)", "GC,B1,3,0\r\n"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TTempDir dir;
        dir.Write(row.file, row.bytes);
        const TRun check = Kifuconv({"--check", "--app", row.app, dir.Path(row.file)});
        EXPECT_EQ(check.out.substr(0, check.out.find('\n')), dir.Path(row.file) + ": " + row.check);
        EXPECT_EQ(check.status, 0);
        ASSERT_EQ(Kifuconv({"--app", row.app, dir.Path(row.file)}).status, 0);
        const std::string output = std::string(row.file).substr(0, 2) +
                                   (std::string(row.file).ends_with(".sgf") ? "ugf" : "sgf");
        EXPECT_NE(dir.Read(output).find(row.written), std::string::npos) << dir.Read(output);
    }
}

// One record a run, so that its line and the exit status are its own.
TEST(KifuconvCheck, CountsMovesAndSetsTheExitStatusByTheRecordAlone) {
    struct TRow {
        const char* name;
        const char* file;
        std::string bytes;
        std::string line;
        int status;
    };
    const std::string ugf =
        "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=9\r\n[Data]\r\n";
    const TRow rows[] = {
        {"one move", "a.sgf", "(;SZ[9];B[ee])", "same game (1 move)", 0},
        {"no move", "b.sgf", "(;SZ[9])", "same game (0 moves)", 0},
        // One value of the record, one line of the UGF, read back as a point off the board.
        {"a compressed point list", "c.sgf", "(;SZ[9]AB[aa:bb];W[ee])",
         "not kept by design: handicap stones read back as black moves (no Hdcp line is written) "
         "(1 move; first change: setup stone 1: source black A9, output none)",
         0},
        // The SGF written keeps the "]" of the point as it stands, and ends the value there.
        {"a point that the SGF written cannot hold", "d.ugf", ugf + "A],B1,1,0\r\n",
         "move 1: source 'a]' (off the board), output 'a' (off the board)", 1},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        TTempDir dir;
        dir.Write(row.file, row.bytes);
        const TRun run = Kifuconv({"--check", dir.Path(row.file)});
        EXPECT_EQ(run.out.substr(0, run.out.find('\n')), dir.Path(row.file) + ": " + row.line);
        EXPECT_EQ(run.status, row.status);
    }
}

TEST(KifuconvCheck, NamesTheFirstMoveThatDiffers) {
    TGameCheck check;
    check.verdict = TCheckVerdict::Differs;
    for (TGame* game : {&check.source.game, &check.output.game}) {
        game->boardSize = 19;
        game->moves.assign(57, {TColour::Black, {TPointKind::On, 3, 3, false, 0}});
    }
    check.source.game.moves[56].point.row = 15;
    check.output.game.moves[56].point = check.output.game.OffPoint("zz");
    check.difference = {TGameDifference::TWhat::Move, 56};
    EXPECT_EQ(CheckText(check), "move 57: source D4, output 'zz' (off the board)");
    check.output.game.moves[56] = {TColour::White, {}};
    EXPECT_EQ(CheckText(check), "move 57: source black D4, output white pass");
    check.output.game.moves.pop_back();
    EXPECT_EQ(CheckText(check), "move 57: source D4, output none");
}

// Every record of the corpus beside the project, when there is one, in each application's SGF.
TEST(KifuconvCheck, EveryCorpusRecordKeepsItsGameOrChangesOnlyByDesign) {
    const std::filesystem::path corpus = MORVANE_CORPUS;
    if (!std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    std::vector<std::string> records;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file() && RecordKindOf(entry.path().string()) != TRecordKind::Other) {
            records.push_back(entry.path().string());
        }
    }
    std::sort(records.begin(), records.end());
    ASSERT_FALSE(records.empty());
    for (const char* app : {"0", "1", "2", "3"}) {
        std::vector<std::string> arguments = {"--check", "-q", "--app", app, "--"};
        arguments.insert(arguments.end(), records.begin(), records.end());
        const TRun run = Kifuconv(arguments);
        EXPECT_EQ(run.status, 0) << run.out;
        const std::string summary = run.out.substr(run.out.rfind("checked "));
        std::cout << "--app " << app << ": " << summary;
        EXPECT_NE(summary.find(" 0 differ, 0 not converted"), std::string::npos) << summary;
    }
}
