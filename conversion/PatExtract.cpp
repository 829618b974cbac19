#include "conversion/PatExtract.h"

#include "conversion/Text.h"

std::optional<TExtractedParts> ExtractParts(std::string_view expr, std::string_view pattern1,
                                            std::string_view pattern2) {
    const std::size_t p1 = FindText(pattern1, expr);
    const std::size_t p2 = FindText(pattern2, expr);
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
