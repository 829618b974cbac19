#include "selection/Wildcard.h"

#include <cstddef>

namespace {

unsigned char Fold(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

bool IsContinuation(std::string_view text, std::size_t i) {
    return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
}

// Length of the character at text[i]: a whole UTF-8 sequence, else one byte.
std::size_t CharLength(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    const std::size_t length = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 1;
    if (b >= 0xF5) {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(text, i + k)) {
            return 1;
        }
    }
    return length;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    constexpr std::size_t NONE = std::string_view::npos;
    std::size_t n = 0, m = 0;
    // After the last "*": where the mask goes on, and where in name that attempt began.
    std::size_t starMask = NONE, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += CharLength(name, n);
            ++m;
        } else if (m < mask.size() && Fold(mask[m]) == Fold(name[n])) {
            ++n;
            ++m;
        } else if (starMask != NONE) {
            // The last "*" takes one more character and the rest of the mask tries again; an
            // earlier "*" never needs to take more, so this cannot explode.
            starName += CharLength(name, starName);
            n = starName;
            m = starMask;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') {
        ++m;
    }
    return m == mask.size();
}
