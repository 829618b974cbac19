#pragma once

#include <string>

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
