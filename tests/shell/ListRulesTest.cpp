#include "conversion/ConversionRun.h"
#include "shell/ListRules.h"
#include "shell/ViewText.h"

#include <gtest/gtest.h>

TEST(ListRules, StatusTextCountsTheRows) {
    EXPECT_EQ(StatusText(0), "棋譜変換候補一覧に棋譜ファイルが追加されていません");
    EXPECT_EQ(StatusText(3), "3個の棋譜ファイルが変換候補一覧にあります");
    EXPECT_EQ(StatusText(10000), "10000個の棋譜ファイルが変換候補一覧にあります");
}

TEST(ListRules, TheRowAfterADeletionTakesItsPlaceOrIsTheNewLast) {
    EXPECT_EQ(RowAfterDeletion(2, 4), 2);
    EXPECT_EQ(RowAfterDeletion(4, 4), 3);
    EXPECT_EQ(RowAfterDeletion(0, 0), std::nullopt);
}

TEST(ListRules, AnInstalledProgramIsOneInABinFolderOrOneTheUserCannotWriteBeside) {
    EXPECT_TRUE(IsInstalledLayout("/usr/bin", true, "/usr/local/bin/"));
    EXPECT_TRUE(IsInstalledLayout("/usr/local/bin/", true, "/usr/local/bin/"));
    EXPECT_TRUE(IsInstalledLayout("/opt/morvane", false, "/usr/local/bin/"));
    EXPECT_TRUE(IsInstalledLayout("/opt/morvane/", true, "/opt/morvane"));
    EXPECT_FALSE(IsInstalledLayout("/home/u/morvane/build/release/shell", true, "/usr/local/bin/"));
    EXPECT_FALSE(IsInstalledLayout("/home/u/morvane-0.1", true, "/usr/local/bin/"));
    EXPECT_FALSE(IsInstalledLayout("/home/u/binder", true, "/usr/local/bin/"));
}

TEST(ViewText, MakesEveryLineEndOneLineFeedAndStopsAtNul) {
    EXPECT_EQ(ViewText("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(ViewText("a\r\r\n\n"), "a\n\n\n");
    EXPECT_EQ(ViewText(std::string("ab\0cd\r\n", 7)), "ab");
    // Trail bytes are never taken for line ends: 表 (0x95 0x5C), ー (0x81 0x5B).
    EXPECT_EQ(ViewText("\x95\x5C\r\x81\x5B"), "\x95\x5C\n\x81\x5B");
}
