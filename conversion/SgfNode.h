#pragma once

#include "conversion/PatExtract.h"
#include "conversion/StringSplit.h"

#include <optional>
#include <string_view>

// How the conversion to UGF takes one node of an SGF record apart. The conversion and the reading
// of a record's game (SgfGame) both go through here, so a board shows the moves that the UGF gets.

// Calls take(name, value) for every property value of node, in order: the node cut after every
// "]" as StringSplit cuts it, and each piece taken apart at "[" and "]" as PatExtract does (name
// and value trimmed; a piece without both brackets gives nothing). A further value of a property
// ('[dp]' after 'AB[pd]') comes with an empty name. Views into node.
template <typename Take>
void ForEachSgfValue(std::string_view node, Take take) {
    ForEachPiece(node, "]", true, [&take](std::string_view piece) {
        if (const std::optional<TExtractedParts> parts = ExtractParts(piece, "[", "]")) {
            take(parts->prope, parts->data);
        }
    });
}

// The colour of a move property of the name, as the conversion reads it: 'B' for exactly "B" or
// "Black", 'W' for exactly "W" or "White", 0 for any other name.
constexpr char SgfMoveColour(std::string_view name) {
    return name == "B" || name == "Black" ? 'B' : name == "W" || name == "White" ? 'W' : '\0';
}
