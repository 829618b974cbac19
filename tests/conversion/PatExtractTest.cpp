#include "conversion/PatExtract.h"
#include "conversion/Text.h"
#include "tests/support/Sjis.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

TEST(PatExtract, TakesNameAndValue) {
    struct Row {
        const char* name;
        std::string expr;
        std::string pattern1;
        std::string pattern2;
        bool found;
        std::string prope;
        std::string data;
    };
    const Row rows[] = {
        {"property", "B[pd]", "[", "]", true, "B", "pd"},
        {"blanks trimmed", " AB [ dd ] ", "[", "]", true, "AB", "dd"},
        {"no opening pattern", "pd]", "[", "]", false, "", ""},
        {"no closing pattern", "B[pd", "[", "]", false, "", ""},
        {"closing before opening: prope is all before the opening", "a]b[c", "[", "]", true, "a]b",
         ""},
        {"escaped bracket is not recognised", "C[x\\]y]", "[", "]", true, "C", "x\\"},
        {"rank in a name", "Name (5d)", "(", ")", true, "Name", "5d"},
        {"trail byte ] inside the value", "PB[" SJIS_ZO "x]", "[", "]", true, "PB", SJIS_ZO "x"},
        {"trail byte [ in the name", SJIS_CHOON "[a]", "[", "]", true, SJIS_CHOON, "a"},
        {"empty value", "B[]", "[", "]", true, "B", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TPatExtract extract;
        extract.Prope = "old";
        extract.Data = "old";
        extract.Expr = row.expr;
        extract.Pattern1 = row.pattern1;
        extract.Pattern2 = row.pattern2;
        EXPECT_EQ(extract.Extract(), row.found);
        EXPECT_EQ(extract.Prope, row.prope);
        EXPECT_EQ(extract.Data, row.data);
    }
}

TEST(PatExtract, DataStartsOneByteAfterTheOpeningWhateverItsLength) {
    // Kept as designed: a two-byte opening pattern leaves its second byte in the data.
    TPatExtract extract;
    extract.Expr = "a<<b>>";
    extract.Pattern1 = "<<";
    extract.Pattern2 = ">>";
    ASSERT_TRUE(extract.Extract());
    EXPECT_EQ(extract.Prope, "a");
    EXPECT_EQ(extract.Data, "<b");
}

TEST(PatExtract, AgreesWithTwoSeparateSearchesOnRandomTexts) {
    using namespace std::string_literals;
    std::mt19937 random(5);
    const std::string pieces[] = {"[", "]", "(", ")", " ", "a", SJIS_ZO, SJIS_CHOON, "\x83", "\0"s};
    for (int round = 0; round < 3000; ++round) {
        std::string expr;
        for (int i = static_cast<int>(random() % 12); i > 0; --i) {
            expr += pieces[random() % std::size(pieces)];
        }
        for (const auto& [open, close] : {std::pair("[", "]"), std::pair("(", ")")}) {
            const std::size_t p1 = FindText(open, expr);
            const std::size_t p2 = FindText(close, expr);
            TPatExtract extract;
            extract.Expr = expr;
            extract.Pattern1 = open;
            extract.Pattern2 = close;
            ASSERT_EQ(extract.Extract(), p1 != 0 && p2 != 0) << testing::PrintToString(expr);
            if (p1 != 0 && p2 != 0) {
                EXPECT_EQ(extract.Prope, Trim(Copy(expr, 1, static_cast<long long>(p1) - 1)));
                EXPECT_EQ(extract.Data,
                          Trim(Copy(expr, static_cast<long long>(p1) + 1,
                                    static_cast<long long>(p2) - static_cast<long long>(p1) - 1)));
            }
        }
    }
}
