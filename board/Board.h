#pragma once

#include "conversion/Game.h"

#include <array>
#include <cstdint>

// The stones on a Go board, and the rule that takes them off: after a stone is put down, every
// group of the other colour left without a liberty goes, then the mover's own group if it has
// none left (a suicide, which records hold and which is shown as it happened).

enum class TStone : std::uint8_t { Empty, Black, White };

// What one stone put down did.
struct TPlacement {
    // The point held a stone already, which the new one replaced.
    bool occupied = false;
    // Stones of the other colour taken off.
    int captured = 0;
    // The mover's own stones taken off: the move was a suicide.
    int lost = 0;

    friend bool operator==(const TPlacement&, const TPlacement&) = default;
};

// A square board of 2 to LARGEST_BOARD lines; points count from 0, column from the left, row from
// the top.
class TBoard {
public:
    static constexpr int LARGEST = LARGEST_BOARD;

    // An empty board of size lines (2 to LARGEST).
    explicit TBoard(int size = 19);

    int Size() const { return m_size; }
    TStone At(int column, int row) const { return m_points[Index(column, row)]; }
    // Puts stone (or Empty) on a point as a setup does: nothing is taken off.
    void Set(int column, int row, TStone stone) { m_points[Index(column, row)] = stone; }
    // Plays a stone of colour (Black or White) on a point: it replaces what is there, then the
    // groups without a liberty go, the other colour's first.
    TPlacement Play(TStone colour, int column, int row);

    friend bool operator==(const TBoard&, const TBoard&) = default;

private:
    static int Index(int column, int row) { return row * LARGEST + column; }
    // Takes off the group at index when it has no liberty; answers the stones taken off.
    int TakeOffIfDead(int index);

    int m_size;
    std::array<TStone, LARGEST * LARGEST> m_points{};
};
