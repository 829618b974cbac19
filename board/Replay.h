#pragma once

#include "board/Board.h"

#include "conversion/Game.h"

#include <cstddef>
#include <vector>

// One position of a game: the board after some moves, the stones each side has taken (アゲハマ),
// and what the last move did.
struct TPosition {
    TBoard board;
    // Moves played, from 0 (the setup alone).
    std::size_t move = 0;
    // Stones each side has taken off: the white stones black took, and the black stones white
    // took (a suicide's stones count for the other side).
    int blackTook = 0;
    int whiteTook = 0;
    // What move number move did on the board; nothing for move 0, a pass or a point off the board.
    TPlacement last;

    friend bool operator==(const TPosition&, const TPosition&) = default;
};

// Every position of one game at once: the game is played through when it is made, and the
// positions at every interval-th move are kept, so any position is at most an interval of moves
// away from a kept one (a jump on a record of 100,000 moves plays fewer than 64). Setup stones off
// the board are left out, moves off it or passes change nothing.
class TReplay {
public:
    // The game's positions; game.boardSize must be 2 to 25.
    explicit TReplay(const TGame& game);

    std::size_t MoveCount() const { return m_moves.size(); }
    // The position after move moves (at most MoveCount()): from the kept position before it, or
    // onwards from the position asked for last when that is nearer.
    const TPosition& Position(std::size_t move);
    // The moves between two kept positions.
    std::size_t Interval() const { return m_interval; }

private:
    std::vector<TGameMove> m_moves;
    std::size_t m_interval;
    std::vector<TPosition> m_kept;
    TPosition m_current;
};

// The position after the last move of game, whose boardSize must be 2 to 25.
TPosition FinalPosition(const TGame& game);
