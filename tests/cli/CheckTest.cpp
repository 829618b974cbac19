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
// Read back, the ";" in the name ends the SGF root there, and the handicap stone goes with it.
const std::string UGF_NAME_WITH_SEMICOLON =
    "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nHdcp=1,0\r\nBMemb1=a;b\r\n"
    "[Data]\r\nPD,B1,0,0\r\nQQ,W1,1,0\r\n";

}  // namespace

TEST(KifuconvCheck, SaysForEachRecordWhetherItsConversionKeepsTheGameAndWritesNothing) {
    TTempDir dir;
    dir.Write("a.ugf", UGF);
    dir.Write("b.sgf", "(;SZ[9]AB[cc][gg];W[ee](;B[dd])(;B[ff]))");
    dir.Write("c.ugf", UGF_NAME_WITH_SEMICOLON);
    dir.Write("d.txt", "x");
    const std::string listed = dir.List();
    const TRun run = Kifuconv({"--check", "--app", "1", dir.Path("a.ugf"), dir.Path("b.sgf"),
                               dir.Path("c.ugf"), dir.Path("d.txt")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              dir.Path("a.ugf") + ": same game (3 moves)\n" + dir.Path("b.sgf") +
                  ": not kept by design: variations or games joined; handicap stones read back "
                  "as black moves (no Hdcp line is written) (3 moves; first change: setup stone 1: "
                  "source black C7, output none)\n" +
                  dir.Path("c.ugf") + ": setup stone 1: source black Q16, output none\n" +
                  dir.Path("d.txt") + ": skipped: not a .ugf, .ugi or .sgf file\n" +
                  "checked 3 records (7 moves): 1 same game, 1 not kept by design, 1 differ, "
                  "0 not converted, 1 skipped\n");
    EXPECT_EQ(dir.List(), listed);
    // What the design changes is no failure.
    EXPECT_EQ(Kifuconv({"--check", dir.Path("a.ugf"), dir.Path("b.sgf")}).status, 0);
    EXPECT_EQ(Kifuconv({"--check", "--ugf-conv", "1", dir.Path("a.ugf")}).status, 1);
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
