#pragma once

#include "conversion/Game.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The line of play a viewer follows through an SGF record's variations, as Go editors step through
// them: the main line at first; where a move has alternatives (its node, or a node between it and
// the move before, has siblings), another one can be taken, and the line then follows that node's
// first children. A record without a tree (UGF) is its one line.
class TGameLine {
public:
    TGameLine() = default;
    // record.game must be the record's main line, as ReadSgfGame or ReadUgfGame give it.
    explicit TGameLine(const TGameRecord& record);

    // The game along the line: the record's size, setup and point texts, the line's moves.
    const TGame& Game() const { return m_game; }

    // The alternatives for the move number move (from 1): how many there are, the one the line
    // takes (from 0). One alternative, index 0, where there is no choice (and for move 0).
    struct TBranch {
        std::size_t index = 0;
        std::size_t count = 1;
    };
    TBranch BranchAt(std::size_t move) const;

    // Takes the alternative step places away from the one taken for move (-1 the one before, +1
    // the one after). False, the line unchanged, when there is none there.
    bool Switch(std::size_t move, int step);

private:
    // The index in m_path of the node whose siblings are the alternatives for move, or none.
    std::size_t BranchNode(std::size_t move) const;
    // The line from m_path[at] on, by first children; m_path keeps what lies before.
    void Follow(std::size_t at, std::uint32_t node);

    const TGameTree* m_tree = nullptr;
    TGame m_game;
    // The nodes of the line from the root.
    std::vector<std::uint32_t> m_path;
    // For each move of the line: the index in m_path of its node, and of the first node after the
    // node of the move before (none when the two moves share a node).
    std::vector<std::uint32_t> m_moveNode;
    std::vector<std::uint32_t> m_stepBegin;
};
