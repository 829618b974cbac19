// Shift-JIS records of many shapes, each beside the exact bytes the program wrote for it before SGF
// records in other encodings, the newer UGF form and the SGF openings without ";" were read: any
// byte those readers move in what converted before shows up here.

#include "conversion/LineList.h"
#include "conversion/SgfToUgf.h"
#include "conversion/UgfToSgf.h"
#include "tests/support/FakeServices.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path STABLE = fs::path(MORVANE_TEST_DATA) / "stable";

// The records of the folder whose names end in extension, sorted.
std::vector<std::string> Records(const std::string& extension) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(STABLE)) {
        const std::string name = entry.path().filename().string();
        // Only the sources: an expected output carries a second extension.
        if (entry.path().extension() == extension && entry.path().stem().extension().empty()) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Bytes(const std::string& name) { return LoadBytes((STABLE / name).string()); }

}  // namespace

TEST(StableOutput, SgfRecordsGiveTheUgfTheyGaveBefore) {
    const std::vector<std::string> names = Records(".sgf");
    ASSERT_GE(names.size(), 12u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TFakeServices fake;
        fake.files.files["/k/a.sgf"] = Bytes(name);
        TConversionState state;
        ASSERT_TRUE(ConvertSgfToUgf("/k/a.sgf", state, fake.progress, fake.files))
            << state.FailureReason;
        EXPECT_EQ(fake.files.files["/k/a.ugf"], Bytes(name + ".ugf"));
    }
}

TEST(StableOutput, UgfRecordsGiveTheSgfTheyGaveBeforeInEveryDialect) {
    const std::vector<std::string> names = Records(".ugf");
    ASSERT_GE(names.size(), 3u);
    for (const std::string& name : names) {
        for (int dialect = 0; dialect < 4; ++dialect) {
            SCOPED_TRACE(name + " dialect " + std::to_string(dialect));
            TFakeServices fake;
            fake.files.files["/k/a.ugf"] = Bytes(name);
            TConversionState state;
            state.Settings.USGFApli = dialect;
            ASSERT_TRUE(ConvertUgfToSgf("/k/a.ugf", state, fake.progress, fake.files))
                << state.FailureReason;
            EXPECT_EQ(fake.files.files["/k/a.sgf"],
                      Bytes(name + ".app" + std::to_string(dialect) + ".sgf"));
        }
    }
}
