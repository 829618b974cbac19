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

// An output that passes its bound moves its finished blocks to a temporary file: what is written
// to the disk, with a header put in front afterwards, is the same bytes, whole, and none is lost
// or doubled where the blocks met.
TEST(Output, AnOutputThatSpillsToATemporaryFileIsWrittenWholeAndInOrder) {
    TOutputText text;
    text.SpillBeyond(100 << 10);
    std::string expected;
    for (int line = 0; line < 200000; ++line) {
        const std::string bytes = std::to_string(line) + ",B1,0,0";
        text.AppendLine(bytes);
        expected += bytes + "\r\n";
    }
    ASSERT_TRUE(text.Spilled());
    text.Prepend("[Header]\r\n");
    expected.insert(0, "[Header]\r\n");
    EXPECT_EQ(text.Size(), expected.size());
    EXPECT_EQ(text.Bytes(), expected);
    TTempDir dir;
    std::optional<TFileId> identity;
    ASSERT_TRUE(SaveNewFile(dir.Path("a.ugf"), text, identity));
    EXPECT_EQ(LoadBytes(dir.Path("a.ugf")), expected);
    EXPECT_EQ(LoadBytes(SaveTemporaryBeside(dir.Path("b.ugf"), text)), expected);
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
