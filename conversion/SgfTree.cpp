#include "conversion/SgfTree.h"

#include "conversion/Text.h"

#include <cstring>
#include <limits>

// A recursive-descent reading of SGF's grammar:
//   Collection = GameTree { GameTree }
//   GameTree   = "(" Sequence { GameTree } ")"
//   Sequence   = Node { Node }
//   Node       = ";" { Property }
//   Property   = PropIdent PropValue { PropValue }
//   PropValue  = "[" ValueText "]"
// with the game trees' nesting kept on a stack of the reader's own rather than the machine's, so a
// record of a million nested "(" costs a word each, and with the lenient rules TSgfTree lists.

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool IsLineBreak(unsigned char c) { return c == '\r' || c == '\n'; }

class TTreeReader {
public:
    explicit TTreeReader(std::string_view text) : m_text(text) {}

    std::optional<TSgfTree> Read();

private:
    bool AtEnd() const { return m_at >= m_text.size(); }
    unsigned char Byte() const { return static_cast<unsigned char>(m_text[m_at]); }

    // Blanks, line breaks among them.
    void SkipBlanks() {
        while (!AtEnd() && Byte() <= 32) {
            ++m_at;
        }
    }
    // One character into out (when given): a lead byte with its trail byte, the next byte that
    // is no line break.
    void ReadCharacter(std::string* out) {
        const unsigned char c = Byte();
        ++m_at;
        if (out != nullptr) {
            out->push_back(static_cast<char>(c));
        }
        if (!IsLeadByte(c)) {
            return;
        }
        while (!AtEnd() && IsLineBreak(Byte())) {
            ++m_at;
        }
        if (!AtEnd()) {
            if (out != nullptr) {
                out->push_back(static_cast<char>(Byte()));
            }
            ++m_at;
        }
    }

    bool ReadGameTree();
    void ReadNode(std::uint32_t parent);
    bool ReadPropValue(std::string* value);
    void CountLaterGames();

    std::uint32_t AddNode(std::uint32_t parent);
    std::uint32_t Store(std::string_view text);

    std::string_view m_text;
    std::size_t m_at = 0;
    TSgfTree m_tree;
    std::vector<std::uint32_t> m_lastChild;  // of each node, while the tree is read
    std::uint32_t m_lastRootSibling = TSgfTree::NONE;
    bool m_closedAfterRoot = false;
};

std::optional<TSgfTree> TTreeReader::Read() {
    if (m_text.size() >= std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    for (;;) {
        SkipBlanks();
        if (m_text.substr(m_at).starts_with(BYTE_ORDER_MARK)) {
            m_at += BYTE_ORDER_MARK.size();
        } else {
            break;
        }
    }
    if (AtEnd() || Byte() != '(') {
        return std::nullopt;
    }
    if (!ReadGameTree()) {
        return std::nullopt;
    }
    CountLaterGames();
    return std::move(m_tree);
}

// GameTree, its nested game trees on the reader's stack: each entry is the node that a "(" was
// opened after, to which the ")" that closes it returns.
bool TTreeReader::ReadGameTree() {
    std::vector<std::uint32_t> open;
    std::uint32_t current = TSgfTree::NONE;
    ++m_at;
    open.push_back(current);
    // A property name right after the record's "(" is its root node without the ";".
    const std::size_t afterOpening = m_at;
    SkipBlanks();
    if (!AtEnd() && ((Byte() >= 'A' && Byte() <= 'Z') || (Byte() >= 'a' && Byte() <= 'z'))) {
        current = AddNode(current);
        ReadNode(current);
    } else {
        m_at = afterOpening;
    }
    while (!open.empty() && !AtEnd()) {
        switch (Byte()) {
            case '(':
                ++m_at;
                open.push_back(current);
                break;
            case ')':
                ++m_at;
                current = open.back();
                open.pop_back();
                if (!m_tree.nodes.empty()) {
                    m_closedAfterRoot = true;
                } else if (open.empty()) {
                    return false;  // the first game tree closed without a node
                }
                break;
            case ';':
                ++m_at;
                current = AddNode(current);
                ReadNode(current);
                break;
            case '[':
                (void)ReadPropValue(nullptr);  // a value outside any node
                break;
            default:
                ReadCharacter(nullptr);  // text that belongs to no node
                break;
        }
    }
    return !m_tree.nodes.empty() && m_closedAfterRoot;
}

// Node: its properties, up to the ";", "(" or ")" that ends it.
void TTreeReader::ReadNode(std::uint32_t node) {
    TSgfTree& tree = m_tree;
    tree.nodes[node].firstProperty = static_cast<std::uint32_t>(tree.properties.size());
    std::string name;
    std::string value;
    bool takesMoreValues = false;  // the last property, with nothing but blanks after it
    while (!AtEnd()) {
        const unsigned char c = Byte();
        if (c == ';' || c == '(' || c == ')') {
            break;
        }
        if (c == '[') {
            value.clear();
            if (!ReadPropValue(&value)) {
                break;  // the text ended inside the value
            }
            const std::string_view trimmed = TrimView(name);
            if (!trimmed.empty() || !takesMoreValues) {
                TSgfTree::TProperty property;
                property.nameSize = static_cast<std::uint32_t>(trimmed.size());
                property.name = Store(trimmed);
                property.firstValue = static_cast<std::uint32_t>(tree.values.size());
                tree.properties.push_back(property);
                ++tree.nodes[node].propertyCount;
            }
            TSgfTree::TValue stored;
            stored.size = static_cast<std::uint32_t>(value.size());
            stored.at = Store(value);
            tree.values.push_back(stored);
            ++tree.properties.back().valueCount;
            takesMoreValues = true;
            name.clear();
        } else if (c == ']') {
            ++m_at;  // ends only the name before it
            name.clear();
            takesMoreValues = false;
        } else if (IsLineBreak(c)) {
            ++m_at;
        } else {
            ReadCharacter(&name);
        }
    }
}

// PropValue, from its "[": the text up to the "]" that ends it into value (when given). False
// when the text ends first.
bool TTreeReader::ReadPropValue(std::string* value) {
    ++m_at;
    while (!AtEnd()) {
        const unsigned char c = Byte();
        if (c == ']') {
            ++m_at;
            return true;
        }
        if (IsLineBreak(c)) {
            ++m_at;
            continue;
        }
        if (c == '\\') {
            ++m_at;
            if (value != nullptr) {
                value->push_back('\\');
            }
            // An escaped line break is a line break left out; an escaped character is read whole.
            if (!AtEnd() && !IsLineBreak(Byte())) {
                ReadCharacter(value);
            }
            continue;
        }
        ReadCharacter(value);
    }
    return false;
}

// Game trees after the first: each "(" at the top level that a node follows before its ")".
void TTreeReader::CountLaterGames() {
    std::size_t depth = 0;
    bool counted = false;
    while (!AtEnd()) {
        switch (Byte()) {
            case '(':
                ++m_at;
                if (depth++ == 0) {
                    counted = false;
                }
                break;
            case ')':
                ++m_at;
                if (depth > 0) {
                    --depth;
                }
                break;
            case ';':
                ++m_at;
                if (depth > 0 && !counted) {
                    counted = true;
                    ++m_tree.games;
                }
                break;
            case '[':
                (void)ReadPropValue(nullptr);
                break;
            default:
                ReadCharacter(nullptr);
                break;
        }
    }
}

std::uint32_t TTreeReader::AddNode(std::uint32_t parent) {
    TSgfTree& tree = m_tree;
    const auto index = static_cast<std::uint32_t>(tree.nodes.size());
    TSgfTree::TNode node;
    node.parent = parent;
    if (parent == TSgfTree::NONE) {
        if (index > 0) {
            ++tree.variations;  // beside the root
            tree.nodes[m_lastRootSibling].nextSibling = index;
        }
        m_lastRootSibling = index;
    } else if (tree.nodes[parent].firstChild == TSgfTree::NONE) {
        tree.nodes[parent].firstChild = index;
    } else {
        ++tree.variations;
        tree.nodes[m_lastChild[parent]].nextSibling = index;
    }
    if (parent != TSgfTree::NONE) {
        m_lastChild[parent] = index;
    }
    tree.nodes.push_back(node);
    m_lastChild.push_back(TSgfTree::NONE);
    return index;
}

std::uint32_t TTreeReader::Store(std::string_view text) {
    const auto at = static_cast<std::uint32_t>(m_tree.bytes.size());
    m_tree.bytes.append(text);
    return at;
}

}  // namespace

std::vector<std::uint32_t> TSgfTree::MainLine() const {
    std::vector<std::uint32_t> line;
    for (std::uint32_t node = nodes.empty() ? NONE : 0; node != NONE;
         node = nodes[node].firstChild) {
        line.push_back(node);
    }
    return line;
}

std::optional<TSgfTree> ReadSgfTree(std::string_view text) {
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text =
            text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
    }
    return TTreeReader(text).Read();
}
