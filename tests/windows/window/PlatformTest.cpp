// Where the program keeps its two files on Windows.

#include "selection/Names.h"
#include "shell/Platform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)));
    const std::string name = ToName(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return name;
}

}  // namespace

TEST(WindowsPlatform, AnInstalledProgramKeepsItsFilesInTheUsersApplicationData) {
    TTempDir dir;
    EXPECT_FALSE(IsInstalledProgram(dir.root));
    EXPECT_TRUE(IsInstalledProgram(KnownFolder(FOLDERID_ProgramFiles) + "\\Morvane"));
    // A folder whose name code page 932 cannot spell holds no file the program could name.
    EXPECT_TRUE(IsInstalledProgram(dir.root + "\\?"));
    EXPECT_EQ(UserProgramFolder(dir.root), KnownFolder(FOLDERID_RoamingAppData) + "\\Morvane\\");
}
