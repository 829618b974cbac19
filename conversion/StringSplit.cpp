#include "conversion/StringSplit.h"

void TStringSplit::Split() {
    // The pieces go into the strings items already holds, so splitting line after line reuses
    // their memory instead of allocating anew.
    std::size_t count = 0;
    ForEachPiece(expr, pattern, !patterncut, [this, &count](std::string_view piece) {
        if (count == items.size()) {
            items.emplace_back();
        }
        items[count++].assign(piece);
    });
    items.resize(count);
}
