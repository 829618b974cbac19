#include "conversion/FileError.h"
#include "conversion/Output.h"
#include "tests/support/FakeServices.h"

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
