#include "conversion/FileError.h"
#include "conversion/FileOps.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

TEST(FileOps, APathWithANulNamesNoFile) {
    // The system would read the name up to the NUL and reach a.sgf.
    TTempDir dir;
    dir.Write("a.sgf", "old");
    const std::string cut = dir.Path("a.sgf") + "\0.txt"s;
    EXPECT_FALSE(FileExists(cut));
    EXPECT_FALSE(RemoveFile(cut));
    EXPECT_FALSE(RenameFile(cut, dir.Path("b.sgf")));
    EXPECT_FALSE(RenameFile(dir.Path("a.sgf"), dir.Path("b.sgf") + "\0"s));
    EXPECT_THROW(LoadBytes(cut), TFileError);
    EXPECT_THROW(SaveBytes(cut, "new"), TFileError);
    EXPECT_THROW(SaveTemporaryBeside(cut, "new"), TFileError);
    EXPECT_EQ(dir.Read("a.sgf"), "old");
    EXPECT_EQ(dir.List(), "a.sgf");
}

TEST(FileOps, TheTemporaryFileLandsInTheTargetsFolder) {
    TTempDir dir;
    std::filesystem::create_directory(dir.Path("sub"));
    const std::string temporary = SaveTemporaryBeside(dir.Path("sub/a.sgf"), "new");
    EXPECT_EQ(temporary.rfind(dir.Path("sub/"), 0), 0u) << temporary;
    EXPECT_EQ(LoadBytes(temporary), "new");
    EXPECT_EQ(dir.List(), "sub/");  // nothing beside the folder
}
