#include "conversion/ConversionState.h"
#include "conversion/FileOps.h"
#include "conversion/KeyTable.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

TEST(ConversionState, ClassifyKeyIsExactAndCaseSensitive) {
    struct Row {
        std::string key;
        int code;
    };
    const Row rows[] = {
        {"Ver", 1},          {"Lang", 2},       {"Crypt", 3},        {"Title", 4},
        {"Place", 5},        {"Date", 6},       {"Size", 7},         {"Hdcp", 8},
        {"Ptime", 9},        {"Rule", 10},      {"Winner", 11},      {"Moves", 12},
        {"BMemb1", 13},      {"WMemb1", 14},    {"BMemb2", 15},      {"WMemb2", 16},
        {"Writer", 17},      {"Copyright", 18}, {"Comment", 19},     {"SZ", 21},
        {"SiZe", 21},        {"PB", 22},        {"PlayerBlack", 22}, {"PW", 23},
        {"PlayerWhite", 23}, {"KM", 24},        {"KoMi", 24},        {"HA", 25},
        {"HAndicap", 25},    {"RU", 26},        {"RE", 27},          {"REsult", 27},
        {"DT", 28},          {"DaTe", 28},      {"AP", 29},          {"BR", 30},
        {"BlackRank", 30},   {"WR", 31},        {"WhiteRank", 31},   {"PC", 32},
        {"EV", 33},          {"EVent", 33},     {"CP", 34},          {"US", 35},
        {"size", 20},        {"sz", 20},        {"Sz", 20},          {"pb", 20},
        {"Title ", 20},      {"", 20},          {"AB", 20},          {"B", 20},
        {"C", 20},           {"GM", 20},        {"User", 20},        {std::string("SZ\0", 3), 20},
    };
    TConversionState state;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        state.KeyCode = 99;
        state.ClassifyKey(row.key);
        EXPECT_EQ(state.KeyCode, row.code);
    }
}

TEST(ConversionState, StartsWithTheDesignValues) {
    TConversionState state;
    EXPECT_EQ(state.StringSplit.pattern, "=");
    EXPECT_TRUE(state.StringSplit.patterncut);
    EXPECT_EQ(state.PatExtract.Pattern1, "[");
    EXPECT_EQ(state.PatExtract.Pattern2, "]");
    state.ProgressCount = 0;
    EXPECT_EQ(state.StepProgress(), 1);
    EXPECT_EQ(state.StepProgress(), 2);
    EXPECT_EQ(state.StepProgress(), 3);
}

TEST(ConversionState, StepProgressWrapsAndTellsItsListenerEveryStride) {
    struct TListener : TStepListener {
        std::vector<std::int32_t> heard;
        void Stepped(std::int32_t count) override { heard.push_back(count); }
    } listener;
    TConversionState state;
    state.ProgressCount = 0;
    for (int i = 0; i < 3 * TConversionState::STEP_STRIDE; ++i) {
        state.StepProgress();
    }
    state.StepListener = &listener;
    for (int i = 0; i < 3 * TConversionState::STEP_STRIDE + 1; ++i) {
        state.StepProgress();
    }
    const std::int32_t stride = TConversionState::STEP_STRIDE;
    EXPECT_EQ(listener.heard, (std::vector<std::int32_t>{4 * stride, 5 * stride, 6 * stride}));
    state.ProgressCount = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(state.StepProgress(), std::numeric_limits<std::int32_t>::min());
}

TEST(FileOps, TellFilesFromFolders) {
    TTempDir dir;
    dir.Write("a.sgf", "x");
    std::filesystem::create_directory(dir.Path("d.bak"));
    EXPECT_TRUE(FileExists(dir.Path("a.sgf")));
    EXPECT_FALSE(FileExists(dir.Path("d.bak")));
    EXPECT_FALSE(FileExists(dir.Path("none")));
    EXPECT_FALSE(RemoveFile(dir.Path("d.bak")));
    EXPECT_FALSE(RenameFile(dir.Path("a.sgf"), dir.Path("d.bak")));
    EXPECT_TRUE(RenameFile(dir.Path("a.sgf"), dir.Path("a.bak")));
    EXPECT_EQ(dir.List(), "a.bak d.bak/");
    EXPECT_TRUE(RemoveFile(dir.Path("a.bak")));
    EXPECT_FALSE(RemoveFile(dir.Path("a.bak")));
}

TEST(FileOps, RenameNeverReplacesAFile) {
    TTempDir dir;
    dir.Write("a.sgf", "new");
    dir.Write("a.bak", "old");
    EXPECT_FALSE(RenameFile(dir.Path("a.sgf"), dir.Path("a.bak")));
    EXPECT_EQ(dir.Read("a.bak"), "old");
    EXPECT_EQ(dir.Read("a.sgf"), "new");
}
