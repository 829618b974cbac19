#include "conversion/StringSplit.h"

#include <string_view>

#include "conversion/Text.h"

void TStringSplit::Split() {
    items.clear();
    const std::string_view text = expr;
    if (text.empty()) {
        return;
    }
    std::size_t from = 0;
    for (;;) {
        // Each search starts afresh at the rest of the text, as if the rest were a text of its
        // own: a separator ending in a lead byte shifts where the characters of the rest begin.
        const std::string_view rest = text.substr(from);
        const std::size_t at = FindFrom(pattern, rest);
        if (at == std::string_view::npos) {
            items.emplace_back(rest);
            return;
        }
        std::string& piece = items.emplace_back(rest.substr(0, at));
        if (!patterncut) {
            piece += pattern;
        }
        from += at + pattern.size();
    }
}
