#include "cli/Options.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

TEST(Options, ReadsSettingsAnywhereBeforeTheDoubleDash) {
    std::string error;
    const auto options = ParseOptions({"a.ugf", "--app", "2", "--sgf-conv=-1", "-q", "b.sgf",
                                       "--ugf-conv", "+7", "--", "--app", "-q"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->settings.USGFApli, 2);
    EXPECT_EQ(options->settings.SGFConv, -1);
    EXPECT_EQ(options->settings.UGFConv, 7);
    EXPECT_TRUE(options->quiet);
    EXPECT_EQ(options->files, (TArgs{"a.ugf", "b.sgf", "--app", "-q"}));
}

TEST(Options, RejectsWhatIsNotAnOption) {
    const TArgs bad[] = {
        {"--bogus", "a.ugf"},
        {"--app", "x", "a.ugf"},
        {"--app", "", "a.ugf"},
        {"--app=", "a.ugf"},
        {"--app", " 1", "a.ugf"},
        {"--app", "1.5", "a.ugf"},
        {"--app", "2147483648", "a.ugf"},
        {"--app", "-2147483649", "a.ugf"},
        {"--app", "-", "a.ugf"},
        {"a.ugf", "--app"},
        {"-x", "a.ugf"},
        {},
        {"--quiet"},
        {"--", "--app"} /* fine: a file named --app */,
    };
    for (std::size_t i = 0; i + 1 < std::size(bad); ++i) {
        SCOPED_TRACE(i);
        std::string error;
        EXPECT_FALSE(ParseOptions(bad[i], error));
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_TRUE(ParseOptions(bad[std::size(bad) - 1], error));
    EXPECT_TRUE(ParseOptions({"--help"}, error));
    EXPECT_TRUE(ParseOptions({"-"}, error));  // a lone dash is a file name
}

TEST(Options, Int32CoversItsWholeRange) {
    EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseInt32("+0"), 0);
    EXPECT_EQ(ParseInt32("007"), 7);
    EXPECT_FALSE(ParseInt32("99999999999999999999"));
    EXPECT_FALSE(ParseInt32("+-1"));
}
