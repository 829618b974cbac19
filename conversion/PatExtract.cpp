#include "conversion/PatExtract.h"

#include "conversion/Text.h"

#include <utility>

namespace {

// The 1-based positions of the first byte a and of the first byte b in text (0 for none), as two
// FindText calls give them, in one walk: the converters' patterns are single bytes.
std::pair<std::size_t, std::size_t> FindBoth(char a, char b, std::string_view text) {
    std::size_t foundA = 0;
    std::size_t foundB = 0;
    for (std::size_t i = 0; i < text.size() && text[i] != '\0' && (!foundA || !foundB);) {
        if (!foundA && text[i] == a) {
            foundA = i + 1;
        }
        if (!foundB && text[i] == b) {
            foundB = i + 1;
        }
        const std::size_t length = CharLength(text, i);
        if (length == 2 && text[i + 1] == '\0') {
            break;  // the text ends inside this character
        }
        i += length;
    }
    return {foundA, foundB};
}

}  // namespace

std::optional<TExtractedParts> ExtractParts(std::string_view expr, std::string_view pattern1,
                                            std::string_view pattern2) {
    const bool singleBytes =
        pattern1.size() == 1 && pattern2.size() == 1 && pattern1[0] != '\0' && pattern2[0] != '\0';
    const auto [p1, p2] = singleBytes
                              ? FindBoth(pattern1[0], pattern2[0], expr)
                              : std::pair(FindText(pattern1, expr), FindText(pattern2, expr));
    if (p1 == 0 || p2 == 0) {
        return std::nullopt;
    }
    TExtractedParts parts;
    parts.prope = TrimView(expr.substr(0, p1 - 1));
    // Kept as designed: the data starts one byte after the opening match, whatever its length;
    // nothing when the closing pattern comes first.
    if (p2 > p1) {
        parts.data = TrimView(expr.substr(p1, p2 - p1 - 1));
    }
    return parts;
}

bool TPatExtract::Extract() {
    const std::optional<TExtractedParts> parts = ExtractParts(Expr, Pattern1, Pattern2);
    // The parts are views into Expr: assigned before Expr changes again.
    Prope.assign(parts ? parts->prope : std::string_view());
    Data.assign(parts ? parts->data : std::string_view());
    return parts.has_value();
}
