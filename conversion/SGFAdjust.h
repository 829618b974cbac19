#pragma once

#include "conversion/LineList.h"

#include <cstddef>
#include <optional>
#include <string_view>

// What a record holds beyond the game the conversion takes: the variations off its main line and
// the games after its first.
struct TSgfLeftOut {
    // Nodes of the first game tree that are not their parent's first child: each begins a
    // variation that the main line does not follow.
    std::size_t variations = 0;
    // Game trees after the first that hold a node.
    std::size_t games = 0;

    friend bool operator==(const TSgfLeftOut&, const TSgfLeftOut&) = default;
};

// Sorts the lines of an SGF record into root properties, handicap stones and the nodes of its main
// line. It reads SGF's grammar as a stream: outside values ";" begins a node, "(" a variation and
// ")" ends one; a value runs to the first "]" that no "\" escapes, whatever it holds. The main
// line is the first game tree's root and, from there, each node's first child: every node before
// the tree's first ")". Line breaks end nothing: the lines are read as one text without them.
class TSGFAdjust {
public:
    // The SGF file's lines, as read.
    TLineList Input;
    // One entry per property value of the root node ('SZ[19]'; further values '[dp]').
    TLineList OutputHD;
    // One entry per handicap stone ('AB[pd]').
    TLineList OutputHA;
    // One entry per node of the main line after the root, without its ";" ('B[pd]',
    // 'W[dp]C[good]').
    TLineList OutputCK;
    // What the outputs leave out.
    TSgfLeftOut LeftOut;

    // Refills the outputs from Input. False, with the outputs empty, when Input holds no record:
    // its first byte other than blanks and byte-order marks is not "(", or no ")" follows its
    // root node. Linear in the size of Input.
    bool Adjust();
};

// What the splitter hands over, entry by entry, in file order: the root's properties and stones
// first, then the main line's nodes. Each entry is a view that lasts for the call.
class TSgfSplitSink {
public:
    virtual ~TSgfSplitSink() = default;
    // An entry of OutputHD ('SZ[19]', '[dp]'): the text since the last one, up to and with the
    // "]" that ends a value (or a "]" outside any value).
    virtual void Property(std::string_view entry) = 0;
    // An entry of OutputHA ('AB[pd]').
    virtual void Stone(std::string_view entry) = 0;
    // An entry of OutputCK ('B[pd]'), after the values it holds.
    virtual void Node(std::string_view entry) = 0;
    // A property value of the main line's node under way, before its Node: the name (the node's
    // text since the last "]" before the value's "[", trimmed; empty for a further value of a
    // property) and the value (trimmed), found as the splitter read them, so that an escaped "]"
    // or a "\" at the end of a line reads here as it did there.
    virtual void Value(std::string_view name, std::string_view value) {
        (void)name;
        (void)value;
    }
    // After the last entry of a record accepted, while every entry handed over is still valid.
    virtual void End() {}
};

// TSGFAdjust::Adjust over the lines of a text (SplitLines), handing each entry to sink as soon as
// it is cut instead of keeping lists: no more memory than the text, the longest entry running over
// several lines, and a word for each level of nested "(" whose node is still open. Answers what
// Adjust answers; the entries handed over count for nothing when the answer is false. With
// leftOut, tells there what the record holds beyond the main line.
bool SplitSgfRecord(std::string_view text, TSgfSplitSink& sink, TSgfLeftOut* leftOut = nullptr);
// The same over lines.
bool SplitSgfRecord(const TLineList& lines, TSgfSplitSink& sink, TSgfLeftOut* leftOut = nullptr);

// How many entries the three outputs of TSGFAdjust::Adjust would hold for the lines of a text (or
// lines), counted without telling properties from stones and without reading past the main line;
// none when Adjust would answer false.
std::optional<std::size_t> CountSgfEntries(std::string_view text);
std::optional<std::size_t> CountSgfEntries(const TLineList& lines);
