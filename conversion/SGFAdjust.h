#pragma once

#include "conversion/LineList.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// Sorts the lines of an SGF record into root properties, handicap stones and move nodes. It works
// on text, not on a tree: variations come out flattened in file order.
class TSGFAdjust {
public:
    // The SGF file's lines, as read.
    TLineList Input;
    // One entry per property value of the root node ('SZ[19]'; further values '[dp]').
    TLineList OutputHD;
    // One entry per handicap stone ('AB[pd]').
    TLineList OutputHA;
    // One entry per move node, without the node separator ('B[pd]', 'W[dp]C[good]').
    TLineList OutputCK;

    // Refills the three outputs from Input. False, with the outputs empty, when Input holds no
    // record it can split. Linear in the size of Input.
    bool Adjust();
};

// What the splitter hands over, entry by entry, in file order: the root's properties and stones
// first, then the move nodes. Each entry is a view that lasts for the call.
class TSgfSplitSink {
public:
    virtual ~TSgfSplitSink() = default;
    // An entry of OutputHD ('SZ[19]', '[dp]').
    virtual void Property(std::string_view entry) = 0;
    // An entry of OutputHA ('AB[pd]').
    virtual void Stone(std::string_view entry) = 0;
    // An entry of OutputCK ('B[pd]').
    virtual void Node(std::string_view entry) = 0;
};

// Whether each line of a record begins inside a property value, as one walk over the record
// found it, so that a second walk over the same lines takes it from here instead of following
// the values again: one bit a line.
struct TSgfLineStarts {
    std::vector<bool> insideValue;
    std::size_t next = 0;
    bool recorded = false;
};

// TSGFAdjust::Adjust over the lines of a text (SplitLines), handing each entry to sink as soon as
// it is cut instead of keeping lists: no more memory than the text and the longest value running
// over several lines. Answers what Adjust answers; only the end of the text settles that, so the
// entries handed over count for nothing when the answer is false.
// With starts recorded by CountSgfEntries over the same lines, the values are not followed again.
bool SplitSgfRecord(std::string_view text, TSgfSplitSink& sink, TSgfLineStarts* starts = nullptr);
// The same over lines.
bool SplitSgfRecord(const TLineList& lines, TSgfSplitSink& sink, TSgfLineStarts* starts = nullptr);

// How many entries the three outputs of TSGFAdjust::Adjust would hold for the lines of a text (or
// lines), counted without telling properties from stones; none when Adjust would answer false.
// With starts, records there where the lines begin, for SplitSgfRecord.
std::optional<std::size_t> CountSgfEntries(std::string_view text, TSgfLineStarts* starts = nullptr);
std::optional<std::size_t> CountSgfEntries(const TLineList& lines,
                                           TSgfLineStarts* starts = nullptr);

// True when lines hold more than one game tree: after the record's opening "(", another "(" that
// is followed by ";" (after blanks, also on a later line). The splitter joins the moves of all of
// them in file order, variations and further games alike. A "(;" inside a value counts too.
bool HoldsSeveralGameTrees(const TLineList& lines);
// The same for the lines of a text (SplitLines).
bool HoldsSeveralGameTrees(std::string_view text);
