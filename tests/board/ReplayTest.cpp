#include "board/Replay.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// A game of random moves on a small board: many captures, suicides, moves onto stones, passes and
// points off the board.
TGame RandomGame(std::size_t moves, unsigned seed) {
    std::mt19937 random(seed);
    TGame game;
    game.size = "5";
    game.boardSize = 5;
    game.setup.push_back({TSetupKind::Black, {TPointKind::On, 2, 2, false, 0}});
    game.setup.push_back({TSetupKind::White, {TPointKind::On, 1, 1, false, 0}});
    game.setup.push_back({TSetupKind::White, game.OffPoint("zz")});
    for (std::size_t i = 0; i < moves; ++i) {
        TGameMove move;
        move.colour = random() % 3 == 0 ? TColour::White : TColour::Black;
        const unsigned kind = random() % 20;
        if (kind == 0) {
            move.point = {};
        } else if (kind == 1) {
            move.point = game.OffPoint("zz");
        } else {
            move.point = {TPointKind::On, static_cast<std::uint8_t>(random() % 5),
                          static_cast<std::uint8_t>(random() % 5), false, 0};
        }
        game.moves.push_back(move);
    }
    return game;
}

}  // namespace

TEST(Replay, EveryPositionIsTheOneThatPlayingFromTheStartGives) {
    // Two games: intervals of the shortest length, and of more moves (past 262,144 moves).
    for (const std::size_t moves : {std::size_t{1000}, std::size_t{300000}}) {
        SCOPED_TRACE(moves);
        const TGame game = RandomGame(moves, static_cast<unsigned>(moves));
        TReplay replay(game);
        ASSERT_EQ(replay.MoveCount(), moves);
        EXPECT_GT(replay.Interval(), moves > 1000 ? 64u : 63u);
        // Played from the start, one move at a time, by a replay of its own.
        std::vector<TPosition> played;
        TReplay stepping(game);
        for (std::size_t move = 0; move <= std::min<std::size_t>(moves, 3000); ++move) {
            played.push_back(stepping.Position(move));
        }
        EXPECT_EQ(played[0].board.At(2, 2), TStone::Black);
        EXPECT_EQ(played[0].board.At(1, 1), TStone::White);
        // Jumps to either side, across kept positions and back, in both replays' orders.
        std::mt19937 random(7);
        for (int jump = 0; jump < 2000; ++jump) {
            const std::size_t move = random() % played.size();
            ASSERT_EQ(replay.Position(move), played[move]) << "move " << move;
        }
        for (std::size_t move = played.size(); move-- > 0;) {
            ASSERT_EQ(replay.Position(move), played[move]) << "move " << move;
        }
        EXPECT_EQ(replay.Position(moves + 5).move, moves);
        EXPECT_EQ(FinalPosition(game), replay.Position(moves));
    }
}

TEST(Replay, CountsWhatEachSideTookAndSuicidesForTheOtherSide) {
    TGame game;
    game.boardSize = 3;
    const auto at = [](int column, int row) {
        return TGamePoint{TPointKind::On, static_cast<std::uint8_t>(column),
                          static_cast<std::uint8_t>(row), false, 0};
    };
    // White takes the black stone in the corner, then black plays into white's corner (suicide).
    game.moves = {{TColour::Black, at(0, 0)}, {TColour::White, at(1, 0)},
                  {TColour::Black, at(2, 2)}, {TColour::White, at(0, 1)},
                  {TColour::Black, at(1, 1)}, {TColour::White, {}},
                  {TColour::Black, at(0, 0)}};
    TReplay replay(game);
    const TPosition& taken = replay.Position(4);
    EXPECT_EQ(taken.whiteTook, 1);
    EXPECT_EQ(taken.last.captured, 1);
    const TPosition& suicide = replay.Position(7);
    EXPECT_EQ(suicide.last.lost, 1);
    EXPECT_EQ(suicide.whiteTook, 2);
    EXPECT_EQ(suicide.blackTook, 0);
    EXPECT_EQ(suicide.board.At(0, 0), TStone::Empty);
    EXPECT_EQ(replay.Position(6).last.captured, 0);  // a pass
}
