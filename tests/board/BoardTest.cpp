#include "board/Board.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A board written as rows of "." (empty), "X" (black) and "O" (white), top row first; blanks
// between points are ignored.
TBoard FromDiagram(const std::vector<std::string>& rows) {
    TBoard board(static_cast<int>(rows.size()));
    for (int row = 0; row < board.Size(); ++row) {
        int column = 0;
        for (const char c : rows[static_cast<std::size_t>(row)]) {
            if (c == ' ') {
                continue;
            }
            board.Set(column++, row,
                      c == 'X'   ? TStone::Black
                      : c == 'O' ? TStone::White
                                 : TStone::Empty);
        }
    }
    return board;
}

std::vector<std::string> Diagram(const TBoard& board) {
    std::vector<std::string> rows;
    for (int row = 0; row < board.Size(); ++row) {
        std::string text;
        for (int column = 0; column < board.Size(); ++column) {
            const TStone stone = board.At(column, row);
            text += column > 0 ? " " : "";
            text += stone == TStone::Black ? 'X' : stone == TStone::White ? 'O' : '.';
        }
        rows.push_back(text);
    }
    return rows;
}

// A move "X cr" or "O cr": colour, then column and row as letters from "a".
TPlacement Play(TBoard& board, const std::string& move) {
    return board.Play(move[0] == 'X' ? TStone::Black : TStone::White, move[2] - 'a', move[3] - 'a');
}

}  // namespace

TEST(Board, TakesOffWhatHasNoLibertyTheOtherColourFirst) {
    struct TCase {
        const char* name;
        std::vector<std::string> before;
        std::vector<std::string> moves;
        std::vector<std::string> after;
        int captured;  // by the last move
        int lost;
        bool occupied;
    };
    const TCase cases[] = {
        {"one stone in the corner",
         {". O .", "O X .", ". O ."},
         {"O cb"},
         {". O .", "O . O", ". O ."},
         1,
         0,
         false},
        {"two groups at once, one of them along the edge",
         {"X O . .", ". O . .", "X O . .", "X O . ."},
         {"O ab"},
         {". O . .", "O O . .", ". O . .", ". O . ."},
         3,
         0,
         false},
        // Black throws a stone in, white takes it and is left with one liberty, where black plays
        // again and takes the three white stones.
        {"snapback",
         {". . X .", "O O X .", "X X . .", ". . . ."},
         {"X aa", "O ba", "X aa"},
         {"X . X .", ". . X .", "X X . .", ". . . ."},
         3,
         0,
         false},
        {"a stone without liberties that takes is no suicide (a ko)",
         {". X O .", "X O . O", ". X O .", ". . . ."},
         {"X cb"},
         {". X O .", "X . X O", ". X O .", ". . . ."},
         1,
         0,
         false},
        {"a suicide of one stone",
         {". O .", "O . .", ". . ."},
         {"X aa"},
         {". O .", "O . .", ". . ."},
         0,
         1,
         false},
        {"a suicide of a group that fills its last liberty",
         {"X . O .", "O O O .", ". . . .", ". . . ."},
         {"X ba"},
         {". . O .", "O O O .", ". . . .", ". . . ."},
         0,
         2,
         false},
        {"a move onto a stone replaces it, and then takes",
         {". O O", ". X X", ". . ."},
         {"X ba"},
         {". X .", ". X X", ". . ."},
         1,
         0,
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBoard board = FromDiagram(c.before);
        TPlacement placement;
        for (const std::string& move : c.moves) {
            placement = Play(board, move);
        }
        EXPECT_EQ(Diagram(board), Diagram(FromDiagram(c.after)));
        EXPECT_EQ(placement.captured, c.captured);
        EXPECT_EQ(placement.lost, c.lost);
        EXPECT_EQ(placement.occupied, c.occupied);
    }
}

TEST(Board, TakesOffAGroupAsLargeAsTheLargestBoard) {
    // Every point black but one: white's stone there leaves the whole group without a liberty.
    TBoard board(TBoard::LARGEST);
    for (int row = 0; row < board.Size(); ++row) {
        for (int column = 0; column < board.Size(); ++column) {
            board.Set(column, row, TStone::Black);
        }
    }
    board.Set(12, 12, TStone::Empty);
    const TPlacement placement = board.Play(TStone::White, 12, 12);
    EXPECT_EQ(placement.captured, 25 * 25 - 1);
    EXPECT_EQ(placement.lost, 0);
    TBoard alone(TBoard::LARGEST);
    alone.Set(12, 12, TStone::White);
    EXPECT_EQ(board, alone);
}
