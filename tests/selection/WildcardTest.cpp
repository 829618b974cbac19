#include "selection/Wildcard.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// The characters of text as the matcher sees them: UTF-8 sequences, else single bytes.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t length = b >= 0xF0 && b <= 0xF4  ? 4
                             : b >= 0xE0 && b < 0xF0 ? 3
                             : b >= 0xC2 && b < 0xE0 ? 2
                                                     : 1;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 1;
            }
        }
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

std::string Folded(std::string text) {
    for (char& c : text) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

// The definition, literally: every way "*" can take characters is tried.
bool Literally(const std::vector<std::string>& name, std::size_t n,
               const std::vector<std::string>& mask, std::size_t m) {
    if (m == mask.size()) {
        return n == name.size();
    }
    if (mask[m] == "*") {
        return Literally(name, n, mask, m + 1) ||
               (n < name.size() && Literally(name, n + 1, mask, m));
    }
    if (n == name.size()) {
        return false;
    }
    return (mask[m] == "?" || Folded(mask[m]) == Folded(name[n])) &&
           Literally(name, n + 1, mask, m + 1);
}

}  // namespace

TEST(Wildcard, MatchesStarAndQuestionMarkOverCharacters) {
    struct Row {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Row rows[] = {
        {"Game1.SGF", "*.sgf", true},
        {"game.sgf", "*.SGF", true},
        {".sgf", "*.sgf", true},
        {"sgf", "*.sgf", false},
        {"a.sgf.bak", "*.sgf", false},
        {"a.sgfx", "*.sgf", false},
        {"a.sgf.sgf", "*.sgf", true},
        {"aXbYc", "a*b*c", true},
        {"abcbc", "a*bc", true},
        {"ac", "a*b*c", false},
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"", "?", false},
        {"ab", "*?", true},
        {"a", "*?*?", false},
        // "?" is one character: UTF-8 sequences whole, a stray byte alone.
        {"\xE6\xA3\x8B\xE8\xAD\x9C.sgf", "??.sgf", true},  // 棋譜
        {"\xE6\xA3\x8B\xE8\xAD\x9C.sgf", "?.sgf", false},
        {"\xE6\xA3\x8B\xE8\xAD\x9C.sgf", "\xE6\xA3\x8B*", true},
        {"\xFF\xFE.sgf", "??.sgf", true},
        {"\xE6\xA3\x8B", "*??", false},    // "*" takes characters too, never part of one
        {"\xE6\xA3.sgf", "??.sgf", true},  // a character broken off: two stray bytes
        {"\xC3\x89.sgf", "?.SGF", true},   // É, not folded, but one character
        // Only ASCII letters fold.
        {"\xC3\xA9.sgf", "\xC3\x89.sgf", false},
        {"\xEF\xBC\xB3.sgf", "\xEF\xBD\x93.sgf", false},  // Ｓ against ｓ
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " / " + row.mask);
        EXPECT_EQ(MatchesMask(row.name, row.mask), row.matches);
    }
}

TEST(Wildcard, ManyStarsOverALongNameStayQuick) {
    const std::string name(4000, 'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchesMask(name, "*a*a*a*a*a*a*a*a*b"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Wildcard, AgreesWithTheLiteralDefinition) {
    const std::vector<std::string> nameParts = {"a",    "A",        "b",       ".", "\xE6\xA3\x8B",
                                                "\xFF", "\xE6\xA3", "\xC3\x89"};
    const std::vector<std::string> maskParts = {"a", "B", ".", "*", "?", "\xE6\xA3\x8B"};
    std::mt19937 random(11);
    for (int round = 0; round < 20000; ++round) {
        std::string name, mask;
        for (int n = static_cast<int>(random() % 7); n > 0; --n) {
            name += nameParts[random() % nameParts.size()];
        }
        for (int n = static_cast<int>(random() % 6); n > 0; --n) {
            mask += maskParts[random() % maskParts.size()];
        }
        ASSERT_EQ(MatchesMask(name, mask), Literally(Characters(name), 0, Characters(mask), 0))
            << name << " / " << mask;
    }
}
