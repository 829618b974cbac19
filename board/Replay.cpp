#include "board/Replay.h"

#include <algorithm>

namespace {

// The kept positions of a game stay below this many, so a record of millions of moves keeps a few
// megabytes of them; up to 262,144 moves they are every 64 moves.
constexpr std::size_t MOST_KEPT = 4096;
constexpr std::size_t SHORTEST_INTERVAL = 64;

TStone StoneOf(TColour colour) { return colour == TColour::Black ? TStone::Black : TStone::White; }

// The position before the first move: the setup stones on the board.
TPosition Start(const TGame& game) {
    TPosition position;
    position.board = TBoard(game.boardSize);
    for (const TSetupStone& stone : game.setup) {
        if (stone.point.kind == TPointKind::On) {
            const TStone setup = stone.kind == TSetupKind::Black   ? TStone::Black
                                 : stone.kind == TSetupKind::White ? TStone::White
                                                                   : TStone::Empty;
            position.board.Set(stone.point.column, stone.point.row, setup);
        }
    }
    return position;
}

// Plays the next move on position.
void Play(TPosition& position, const TGameMove& move) {
    ++position.move;
    position.last = {};
    if (move.point.kind != TPointKind::On) {
        return;
    }
    position.last = position.board.Play(StoneOf(move.colour), move.point.column, move.point.row);
    const bool black = move.colour == TColour::Black;
    (black ? position.blackTook : position.whiteTook) += position.last.captured;
    (black ? position.whiteTook : position.blackTook) += position.last.lost;
}

}  // namespace

TReplay::TReplay(const TGame& game)
    : m_moves(game.moves),
      m_interval(std::max(SHORTEST_INTERVAL, (game.moves.size() + MOST_KEPT - 1) / MOST_KEPT)),
      m_current(Start(game)) {
    m_kept.reserve(m_moves.size() / m_interval + 1);
    m_kept.push_back(m_current);
    while (m_current.move < m_moves.size()) {
        Play(m_current, m_moves[m_current.move]);
        if (m_current.move % m_interval == 0) {
            m_kept.push_back(m_current);
        }
    }
}

const TPosition& TReplay::Position(std::size_t move) {
    move = std::min(move, m_moves.size());
    const TPosition& kept = m_kept[move / m_interval];
    if (move < m_current.move || kept.move > m_current.move) {
        m_current = kept;
    }
    while (m_current.move < move) {
        Play(m_current, m_moves[m_current.move]);
    }
    return m_current;
}

TPosition FinalPosition(const TGame& game) {
    // The moves played once, no position kept on the way.
    TPosition position = Start(game);
    for (const TGameMove& move : game.moves) {
        Play(position, move);
    }
    return position;
}
