#include "board/Board.h"

#include <cassert>

namespace {

// The other colour's stone.
TStone Other(TStone colour) { return colour == TStone::Black ? TStone::White : TStone::Black; }

}  // namespace

TBoard::TBoard(int size) : m_size(size) { assert(size >= 2 && size <= LARGEST); }

TPlacement TBoard::Play(TStone colour, int column, int row) {
    TPlacement placement;
    const int index = Index(column, row);
    placement.occupied = m_points[index] != TStone::Empty;
    m_points[index] = colour;
    const int neighbours[4][2] = {
        {column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
    for (const auto& [c, r] : neighbours) {
        if (c >= 0 && r >= 0 && c < m_size && r < m_size && At(c, r) == Other(colour)) {
            placement.captured += TakeOffIfDead(Index(c, r));
        }
    }
    placement.lost = TakeOffIfDead(index);
    return placement;
}

int TBoard::TakeOffIfDead(int index) {
    const TStone colour = m_points[index];
    if (colour == TStone::Empty) {
        return 0;  // taken off already, as part of a group met from another side
    }
    // The group, walked from index; it lives as soon as one liberty shows.
    std::array<bool, LARGEST * LARGEST> seen{};
    std::array<std::int16_t, LARGEST * LARGEST> group;
    int count = 0;
    group[count++] = static_cast<std::int16_t>(index);
    seen[index] = true;
    for (int next = 0; next < count; ++next) {
        const int at = group[next];
        const int column = at % LARGEST;
        const int row = at / LARGEST;
        const int neighbours[4][2] = {
            {column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
        for (const auto& [c, r] : neighbours) {
            if (c < 0 || r < 0 || c >= m_size || r >= m_size) {
                continue;
            }
            const int neighbour = Index(c, r);
            if (m_points[neighbour] == TStone::Empty) {
                return 0;
            }
            if (m_points[neighbour] == colour && !seen[neighbour]) {
                seen[neighbour] = true;
                group[count++] = static_cast<std::int16_t>(neighbour);
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        m_points[group[i]] = TStone::Empty;
    }
    return count;
}
