#pragma once

#include <optional>
#include <string>
#include <string_view>

// The two parts TPatExtract::Extract takes from a text, as views into it.
struct TExtractedParts {
    std::string_view prope;
    std::string_view data;
};

// The parts of expr as TPatExtract::Extract finds them, or none when a pattern is missing.
std::optional<TExtractedParts> ExtractParts(std::string_view expr, std::string_view pattern1,
                                            std::string_view pattern2);

// Takes from one text the part before an opening pattern and the part between the patterns.
class TPatExtract {
public:
    std::string Pattern1 = "[";
    std::string Pattern2 = "]";
    std::string Expr;
    std::string Data;
    std::string Prope;

    // Finds both patterns in Expr, each from its start. False, with Prope and Data empty, when
    // either is missing; otherwise Prope is the trimmed text before Pattern1 and Data the trimmed
    // text from one byte after Pattern1's start up to Pattern2 (empty when Pattern2 comes first).
    bool Extract();
};
