#include "board/GameLine.h"

namespace {

constexpr std::size_t NO_NODE = static_cast<std::size_t>(-1);
constexpr std::uint32_t NO_STEP = 0xFFFFFFFF;

}  // namespace

TGameLine::TGameLine(const TGameRecord& record) : m_game(record.game) {
    if (record.tree.nodes.empty()) {
        return;
    }
    m_tree = &record.tree;
    Follow(0, 0);
}

void TGameLine::Follow(std::size_t at, std::uint32_t node) {
    const TGameTree& tree = *m_tree;
    m_path.resize(at);
    for (; node != TGameTree::NONE; node = tree.nodes[node].firstChild) {
        m_path.push_back(node);
    }
    m_game.moves.clear();
    m_moveNode.clear();
    m_stepBegin.clear();
    std::size_t stepBegin = 1;  // the nodes after the root, up to the first move
    for (std::size_t i = 0; i < m_path.size(); ++i) {
        const TGameTree::TNode& pathNode = tree.nodes[m_path[i]];
        for (std::uint32_t m = 0; m < pathNode.moveCount; ++m) {
            m_game.moves.push_back(tree.moves[pathNode.firstMove + m]);
            m_moveNode.push_back(static_cast<std::uint32_t>(i));
            // A later move of the same node has no alternatives of its own.
            m_stepBegin.push_back(m == 0 ? static_cast<std::uint32_t>(stepBegin) : NO_STEP);
        }
        if (pathNode.moveCount > 0) {
            stepBegin = i + 1;
        }
    }
}

std::size_t TGameLine::BranchNode(std::size_t move) const {
    if (m_tree == nullptr || move == 0 || move > m_moveNode.size()) {
        return NO_NODE;
    }
    const TGameTree& tree = *m_tree;
    if (m_stepBegin[move - 1] == NO_STEP) {
        return NO_NODE;
    }
    for (std::size_t i = m_stepBegin[move - 1]; i <= m_moveNode[move - 1]; ++i) {
        if (i == 0) {
            continue;  // the root is no alternative
        }
        const std::uint32_t parent = tree.nodes[m_path[i]].parent;
        if (parent != TGameTree::NONE &&
            tree.nodes[tree.nodes[parent].firstChild].nextSibling != TGameTree::NONE) {
            return i;
        }
    }
    return NO_NODE;
}

TGameLine::TBranch TGameLine::BranchAt(std::size_t move) const {
    const std::size_t at = BranchNode(move);
    if (at == NO_NODE) {
        return {};
    }
    const TGameTree& tree = *m_tree;
    TBranch branch;
    branch.count = 0;
    for (std::uint32_t child = tree.nodes[tree.nodes[m_path[at]].parent].firstChild;
         child != TGameTree::NONE; child = tree.nodes[child].nextSibling) {
        if (child == m_path[at]) {
            branch.index = branch.count;
        }
        ++branch.count;
    }
    return branch;
}

bool TGameLine::Switch(std::size_t move, int step) {
    const std::size_t at = BranchNode(move);
    if (at == NO_NODE) {
        return false;
    }
    const TBranch branch = BranchAt(move);
    const long long wanted = static_cast<long long>(branch.index) + step;
    if (wanted < 0 || wanted >= static_cast<long long>(branch.count)) {
        return false;
    }
    const TGameTree& tree = *m_tree;
    std::uint32_t node = tree.nodes[tree.nodes[m_path[at]].parent].firstChild;
    for (long long i = 0; i < wanted; ++i) {
        node = tree.nodes[node].nextSibling;
    }
    Follow(at, node);
    return true;
}
