#include "selection/AddRules.h"
#include "tests/support/FakeCandidateRows.h"
#include "tests/support/Sjis.h"

#include <gtest/gtest.h>

TEST(AddRules, AddsWhatIsNotAlreadyARowByteForByte) {
    TFakeCandidateRows rows({{"a.sgf", "/kifu"}, {"B.sgf", "/kifu"}, {"c.sgf", "/other"}});
    const std::vector<TCandidateRow> candidates = {
        {"a.sgf", "/kifu"},                          // a row already
        {"A.sgf", "/kifu"},                          // letter case counts
        {"a.sgf", "/kifu/"},                         // so does the spelling of the folder
        {"B.sgf", "/kifu"},                          // a row already
        {"c.sgf", "/kifu"},                          // same name, other folder
        {"new.sgf", "/kifu"}, {"new.sgf", "/kifu"},  // repeats the one before
    };
    EXPECT_EQ(AlreadyListed(rows, candidates),
              (std::vector<bool>{true, false, false, true, false, false, true}));
    EXPECT_EQ(
        RowsToAdd(rows, candidates),
        (std::vector<TCandidateRow>{
            {"A.sgf", "/kifu"}, {"a.sgf", "/kifu/"}, {"c.sgf", "/kifu"}, {"new.sgf", "/kifu"}}));
    EXPECT_EQ(RowsToAdd(rows, {"B.sgf", "b.sgf", "c.sgf"}, "/kifu"),
              (std::vector<TCandidateRow>{{"b.sgf", "/kifu"}, {"c.sgf", "/kifu"}}));
    EXPECT_TRUE(RowsToAdd(TFakeCandidateRows(), {}, "").empty());
}

TEST(AddRules, ReadsEachRowOnceHoweverManyCandidates) {
    TFakeCandidateRows rows;
    std::vector<std::string> names;
    for (int i = 0; i < 2000; ++i) {
        rows.rows.push_back({std::to_string(i) + ".sgf", "/kifu"});
        names.push_back(std::to_string(i) + ".sgf");
    }
    EXPECT_TRUE(RowsToAdd(rows, names, "/kifu").empty());
    EXPECT_EQ(rows.captionReads, 2000);
}

TEST(AddRules, ListedNamesAndCountText) {
    EXPECT_EQ(ListedName("Game1.SGF", TNameCase::Keep), "Game1.SGF");
    EXPECT_EQ(ListedName("Game1.SGF", TNameCase::Lower), "game1.sgf");
    // The trail byte of ア is "A" and must stay.
    EXPECT_EQ(ListedName(SJIS_A "B.SGF", TNameCase::Lower), SJIS_A "b.sgf");
    EXPECT_EQ(FileCountText(0), "");
    EXPECT_EQ(FileCountText(5), "5個の棋譜ファイルがありました");
    EXPECT_EQ(FileCountText(10000), "10000個の棋譜ファイルがありました");
}
