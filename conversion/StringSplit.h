#pragma once

#include "conversion/Text.h"

#include <string>
#include <string_view>
#include <vector>

// Calls take(piece) for every piece of expr cut at pattern as TStringSplit::Split cuts it, with
// views into expr; with keepSeparator every piece that ended at a separator includes it.
template <typename Take>
void ForEachPiece(std::string_view expr, std::string_view pattern, bool keepSeparator, Take take) {
    std::size_t from = 0;
    while (!expr.empty()) {
        // Each search starts afresh at the rest of the text, as if the rest were a text of its
        // own: a separator ending in a lead byte shifts where the characters of the rest begin.
        const std::string_view rest = expr.substr(from);
        const std::size_t at = FindFrom(pattern, rest);
        if (at == std::string_view::npos) {
            take(rest);
            return;
        }
        take(rest.substr(0, keepSeparator ? at + pattern.size() : at));
        from += at + pattern.size();
    }
}

// Cuts a text at every occurrence of a separator into pieces.
class TStringSplit {
public:
    std::string pattern = ",";
    std::string expr;
    bool patterncut = true;
    std::vector<std::string> items;

    // Rewrites items from expr: n separators found left to right, without overlap, give n + 1
    // pieces; with patterncut false every piece that ended at a separator keeps it, so the items
    // joined give back expr. An empty expr gives no items; a pattern that is empty or absent gives
    // expr alone. A separator is never found on a trail byte or after a NUL. Linear in expr.
    void Split();
};
