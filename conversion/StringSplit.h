#pragma once

#include <string>
#include <vector>

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
