#include "board/GameLine.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The line's moves as "B A9 W B8 ...".
std::string MovesOf(const TGameLine& line) {
    std::string text;
    for (const TGameMove& move : line.Game().moves) {
        text += (text.empty() ? "" : " ") +
                std::string(move.colour == TColour::Black ? "B " : "W ") +
                CoordinateOf(move.point, line.Game().boardSize);
    }
    return text;
}

std::string BranchOf(const TGameLine& line, std::size_t move) {
    const TGameLine::TBranch branch = line.BranchAt(move);
    return std::to_string(branch.index + 1) + "/" + std::to_string(branch.count);
}

}  // namespace

TEST(GameLine, StepsIntoVariationsAndBackAsGoEditorsDo) {
    // Move 2 has three alternatives, the second of which branches again at move 3; the third
    // begins with a node that holds no move. Move 4 of the main line shares its node with move 3.
    const TGameRecord record =
        ReadSgfGame("(;SZ[9]AB[ee];B[aa](;W[bb];B[cc]W[dd])(;W[gg](;B[hh])(;B[ii]))(;C[x];W[ff]))");
    ASSERT_TRUE(record.ok);
    TGameLine line(record);
    EXPECT_EQ(MovesOf(line), "B A9 W B8 B C7 W D6");
    EXPECT_EQ(line.Game().setup.size(), 1u);
    EXPECT_EQ(BranchOf(line, 0), "1/1");
    EXPECT_EQ(BranchOf(line, 1), "1/1");
    EXPECT_EQ(BranchOf(line, 2), "1/3");
    EXPECT_EQ(BranchOf(line, 3), "1/1");
    EXPECT_EQ(BranchOf(line, 4), "1/1");  // the second move of a node
    EXPECT_FALSE(line.Switch(2, -1));
    EXPECT_FALSE(line.Switch(3, 1));

    ASSERT_TRUE(line.Switch(2, 1));
    EXPECT_EQ(MovesOf(line), "B A9 W G3 B H2");
    EXPECT_EQ(BranchOf(line, 2), "2/3");
    EXPECT_EQ(BranchOf(line, 3), "1/2");
    ASSERT_TRUE(line.Switch(3, 1));
    EXPECT_EQ(MovesOf(line), "B A9 W G3 B J1");
    ASSERT_TRUE(line.Switch(2, 1));
    EXPECT_EQ(MovesOf(line), "B A9 W F4");  // through the node without a move
    EXPECT_EQ(BranchOf(line, 2), "3/3");
    EXPECT_FALSE(line.Switch(2, 1));
    ASSERT_TRUE(line.Switch(2, -2));
    EXPECT_EQ(MovesOf(line), "B A9 W B8 B C7 W D6");

    // A UGF record is its one line.
    const TGameRecord ugf = ReadUgfGame(
        "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=9\r\n[Data]\r\nAA,B1,1,0\r\n");
    ASSERT_TRUE(ugf.ok);
    TGameLine one(ugf);
    EXPECT_EQ(MovesOf(one), "B A9");
    EXPECT_EQ(BranchOf(one, 1), "1/1");
    EXPECT_FALSE(one.Switch(1, 1));
}
