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
    fs::create_directories(dir.Path("a\nb"));
    for (const char* name :
         {"kifu/b.sgf", "kifu/A.SGF", "kifu/c.Ugi", "kifu/d.ugf", "kifu/e.txt", "kifu/.hidden.sgf",
          "kifu/sub/deep.sgf", "kifu/f\ng.sgf", "kifu/h\ri.ugf", "a\nb/j.sgf", "棋譜.ugf"}) {
        dir.Write(name, "");
    }
    const TOpenedFiles opened = CandidatesOf(
        {dir.Path("棋譜.ugf"), dir.Path("kifu/"), dir.Path("missing.sgf"), "",
         dir.Path("kifu/e.txt"), dir.Path("kifu/sub/../b.sgf"), dir.Path("a\nb/j.sgf")});
    const std::string kifu = dir.Path("kifu");
    // A folder gives its records sorted, without hidden files, folders or what lies deeper. A file
    // that is no record, and a record whose name or folder has a line break (which the stored list
    // would cut in two), are left out and counted.
    EXPECT_EQ(opened.rows, (std::vector<TCandidateRow>{{"棋譜.ugf", dir.root},
                                                       {"A.SGF", kifu},
                                                       {"b.sgf", kifu},
                                                       {"c.Ugi", kifu},
                                                       {"d.ugf", kifu},
                                                       {"b.sgf", kifu}}));
    EXPECT_EQ(opened.notRecords, 1u);
    EXPECT_EQ(opened.unstorable, 3u);
}

TEST(OpenFiles, RelativePathsAreTakenFromTheCurrentFolder) {
    TTempDir dir;
    dir.Write("a.sgf", "");
    const fs::path before = fs::current_path();
    fs::current_path(dir.root);
    const std::vector<TCandidateRow> rows = CandidatesOf({"a.sgf", "./", "."}).rows;
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
    EXPECT_EQ(RowsToAdd(list, CandidatesOf({dir.Path("a.sgf"), dir.Path("b.sgf"), dir.root}).rows),
              (std::vector<TCandidateRow>{{"b.sgf", dir.root}}));
}
