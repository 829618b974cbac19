#include "selection/Wildcard.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

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
