#include "selection/AddRules.h"
#include "shell/OpenFiles.h"
#include "tests/support/FakeCandidateRows.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(OpenFiles, FilesAndFoldersGiveRowsInTheirOrder) {
    TTempDir dir;
    fs::create_directories(dir.Path("kifu/sub"));
    fs::create_directories(dir.Path("kifu/folder.sgf"));
    for (const char* name : {"kifu/b.sgf", "kifu/A.SGF", "kifu/c.Ugi", "kifu/d.ugf", "kifu/e.txt",
                             "kifu/.hidden.sgf", "kifu/sub/deep.sgf", "棋譜.ugf"}) {
        dir.Write(name, "");
    }
    const std::vector<TCandidateRow> rows =
        CandidatesOf({dir.Path("棋譜.ugf"), dir.Path("kifu/"), dir.Path("missing.sgf"), "",
                      dir.Path("kifu/e.txt"), dir.Path("kifu/sub/../b.sgf")});
    const std::string kifu = dir.Path("kifu");
    // A folder gives its records sorted, without hidden files, folders or what lies deeper; a file
    // given by name is taken whatever its extension, as the user chose it.
    EXPECT_EQ(rows, (std::vector<TCandidateRow>{{"棋譜.ugf", dir.root},
                                                {"A.SGF", kifu},
                                                {"b.sgf", kifu},
                                                {"c.Ugi", kifu},
                                                {"d.ugf", kifu},
                                                {"e.txt", kifu},
                                                {"b.sgf", kifu}}));
}

TEST(OpenFiles, RelativePathsAreTakenFromTheCurrentFolder) {
    TTempDir dir;
    dir.Write("a.sgf", "");
    const fs::path before = fs::current_path();
    fs::current_path(dir.root);
    const std::vector<TCandidateRow> rows = CandidatesOf({"a.sgf", "./", "."});
    fs::current_path(before);
    EXPECT_EQ(rows, (std::vector<TCandidateRow>{
                        {"a.sgf", dir.root}, {"a.sgf", dir.root}, {"a.sgf", dir.root}}));
}

TEST(OpenFiles, RowsAlreadyListedOrGivenTwiceAreAddedOnce) {
    TTempDir dir;
    dir.Write("a.sgf", "");
    dir.Write("b.sgf", "");
    TFakeCandidateRows list;
    list.rows = {{"a.sgf", dir.root}};
    EXPECT_EQ(RowsToAdd(list, CandidatesOf({dir.Path("a.sgf"), dir.Path("b.sgf"), dir.root})),
              (std::vector<TCandidateRow>{{"b.sgf", dir.root}}));
}
