#include "conversion/PatExtract.h"

#include "conversion/Text.h"

bool TPatExtract::Extract() {
    Data.clear();
    Prope.clear();
    const std::size_t p1 = FindText(Pattern1, Expr);
    const std::size_t p2 = FindText(Pattern2, Expr);
    if (p1 == 0 || p2 == 0) {
        return false;
    }
    Prope = Trim(Copy(Expr, 1, static_cast<long long>(p1) - 1));
    // Kept as designed: the data starts one byte after the opening match, whatever its length.
    Data = Trim(Copy(Expr, static_cast<long long>(p1) + 1,
                     static_cast<long long>(p2) - static_cast<long long>(p1) - 1));
    return true;
}
