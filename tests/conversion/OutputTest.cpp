#include "conversion/FileError.h"
#include "conversion/Output.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(Output, AFailedLastRenameLeavesTheOldOutputAsTheBackupAndNoTemporaryFile) {
    TFakeServices fake;
    TConversionState state;
    fake.files.files["/kifu/a.sgf"] = "old";
    fake.files.unmovable.insert("/kifu/a.sgf.tmp");
    TOutputText text;
    text.AppendLine("new");
    EXPECT_THROW((void)WriteOutput("/kifu/a.ugf", ".sgf", text, state, fake.files), TFileError);
    EXPECT_EQ(fake.files.files, (std::map<std::string, std::string>{{"/kifu/a.bak", "old"}}));
    EXPECT_EQ(fake.log, (TLog{"SaveTemporary /kifu/a.sgf", "Rename /kifu/a.sgf -> /kifu/a.bak",
                              "Rename /kifu/a.sgf.tmp -> /kifu/a.sgf", "Delete /kifu/a.sgf.tmp"}));
}

#if !defined(_WIN32)
TEST(Output, ALinkAtTheOutputsNameBecomesTheBackupWhetherOrNotItLeadsAnywhere) {
    namespace fs = std::filesystem;
    struct TRow {
        const char* name;
        bool targetThere;
    };
    for (const TRow& row : {TRow{"a link to a file", true}, TRow{"a link to nothing", false}}) {
        SCOPED_TRACE(row.name);
        TTempDir dir;
        fs::create_directory(dir.Path("elsewhere"));
        if (row.targetThere) {
            dir.Write("elsewhere/theirs.sgf", "theirs");
        }
        fs::create_symlink(dir.Path("elsewhere/theirs.sgf"), dir.Path("a.sgf"));
        // And a backup that is a link to nothing, which goes as a backup file would.
        fs::create_symlink(dir.Path("elsewhere/gone.bak"), dir.Path("a.bak"));
        TConversionState state;
        TDiskFileService disk;
        TOutputText text;
        text.AppendLine("new");
        EXPECT_TRUE(WriteOutput(dir.Path("a.ugf"), ".sgf", text, state, disk));
        EXPECT_FALSE(fs::is_symlink(dir.Path("a.sgf")));
        EXPECT_EQ(dir.Read("a.sgf"), "new\r\n");
        ASSERT_TRUE(fs::is_symlink(dir.Path("a.bak")));
        EXPECT_EQ(fs::read_symlink(dir.Path("a.bak")), dir.Path("elsewhere/theirs.sgf"));
        EXPECT_EQ(dir.List(), "a.bak a.sgf elsewhere/");
        EXPECT_EQ(fs::exists(dir.Path("elsewhere/theirs.sgf")), row.targetThere);
        if (row.targetThere) {
            EXPECT_EQ(dir.Read("elsewhere/theirs.sgf"), "theirs");
        }
    }
}
#endif
