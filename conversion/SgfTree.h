#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An SGF record read as a game tree: nodes and their properties, each property a name and its
// values. This is a reading of its own, beside the converter's streaming one, and shares no code
// with it beyond the lead-byte test: the viewer's board and the check of a conversion read a
// record through here, so a fault of either reading shows as a difference instead of hiding.
//
// The reading follows SGF's grammar, leniently as editors do:
// - Blanks (bytes up to 32) and byte-order marks may stand before the record's "("; any other
//   byte there means no record.
// - Outside values ";" begins a node, "(" a variation and ")" ends one; other text between them
//   belongs to no node, and a node's text before a "[" is the name of a property (trimmed).
// - A value runs from its "[" to the first "]" that no single-byte "\" escapes; a double-byte
//   character is read whole, its trail byte being the next byte that is no line break. Whatever
//   a value holds is text of it; its line breaks are left out, and an escaping "\" stays.
// - A "[" with nothing but blanks since the last value adds a value to that property; a "]"
//   outside any value ends nothing but the name before it.
// - A property name right after the record's "(" begins the root node as if "(;" stood there.
// - A node after a ")" becomes another child of the node the ")" returns to; a node with no
//   parent after the root stands beside it.
// - The end of the text ends whatever is open; a NUL ends the text. Only the first game tree is
//   read; the later ones are counted.
class TSgfTree {
public:
    static constexpr std::uint32_t NONE = 0xFFFFFFFF;

    struct TNode {
        std::uint32_t parent = NONE;
        std::uint32_t firstChild = NONE;
        std::uint32_t nextSibling = NONE;
        std::uint32_t firstProperty = 0;
        std::uint32_t propertyCount = 0;
    };
    struct TProperty {
        std::uint32_t name = 0;  // in bytes
        std::uint32_t nameSize = 0;
        std::uint32_t firstValue = 0;  // in values
        std::uint32_t valueCount = 0;
    };
    struct TValue {
        std::uint32_t at = 0;  // in bytes
        std::uint32_t size = 0;
    };

    // The nodes in file order; the first is the root.
    std::vector<TNode> nodes;
    std::vector<TProperty> properties;
    std::vector<TValue> values;
    // The names and values, one after the other.
    std::string bytes;
    // Nodes that are not their parent's first child (and nodes beside the root).
    std::size_t variations = 0;
    // Game trees after the first that hold a node.
    std::size_t games = 0;

    std::string_view Name(const TProperty& property) const {
        return std::string_view(bytes).substr(property.name, property.nameSize);
    }
    // The value of property at index (from 0).
    std::string_view Value(const TProperty& property, std::size_t index = 0) const {
        const TValue& value = values[property.firstValue + index];
        return std::string_view(bytes).substr(value.at, value.size);
    }
    // The properties of a node, in order.
    const TProperty* begin(const TNode& node) const {
        return properties.data() + node.firstProperty;
    }
    const TProperty* end(const TNode& node) const {
        return properties.data() + node.firstProperty + node.propertyCount;
    }
    // The main line: the root and, from there, each node's first child.
    std::vector<std::uint32_t> MainLine() const;
};

// The game tree of a Shift-JIS text, or none when it holds no record: its first byte other than
// blanks and byte-order marks is not "(", no node follows it, or no ")" follows the root node.
// Also none for a text of 4 GiB or more.
std::optional<TSgfTree> ReadSgfTree(std::string_view text);
