#include "conversion/FileError.h"
#include "conversion/Output.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TempDir.h"

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
