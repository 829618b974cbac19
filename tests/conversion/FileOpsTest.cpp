#include "conversion/FileError.h"
#include "conversion/FileOps.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <string>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace std::string_literals;

TEST(FileOps, APathWithANulNamesNoFile) {
    // The system would read the name up to the NUL and reach a.sgf.
    TTempDir dir;
    dir.Write("a.sgf", "old");
    const std::string cut = dir.Path("a.sgf") + "\0.txt"s;
    EXPECT_FALSE(FileExists(cut));
    EXPECT_EQ(FileSize(cut), std::nullopt);
    EXPECT_EQ(FileSize(dir.Path("a.sgf")), 3u);
    EXPECT_EQ(FileSize(dir.root), std::nullopt);
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

TEST(FileOps, ANewFileAppearsWholeAndNeverTakesTheNameOfAnother) {
    TTempDir dir;
    const std::string path = dir.Path("a.ugf");
    const std::string_view pieces[] = {"ab", "", "cd"};
    std::optional<TFileId> identity;
    ASSERT_TRUE(SaveNewFile(path, pieces, identity));
    EXPECT_EQ(LoadBytes(path), "abcd");
    EXPECT_EQ(identity, FileIdentity(path));
    EXPECT_NE(identity, std::nullopt);
    // A name already taken is left as it is, and nothing is left beside it.
    const std::string_view other[] = {"new"};
    std::optional<TFileId> none;
    EXPECT_FALSE(SaveNewFile(path, other, none));
    EXPECT_EQ(none, std::nullopt);
    EXPECT_EQ(LoadBytes(path), "abcd");
    EXPECT_EQ(dir.List(), "a.ugf");
    EXPECT_THROW(SaveNewFile(dir.Path("missing/a.ugf"), other, none), TFileError);
}

#if !defined(_WIN32)

TEST(FileOps, RemovesTheTemporaryFilesOfEndedProcessesBeforeWritingInAFolder) {
    TTempDir dir;
    // A process that has ended: a child that exited and was waited for.
    const pid_t ended = fork();
    if (ended == 0) {
        _exit(0);
    }
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    const std::string endedName = ".morvane-" + std::to_string(ended) + "-0123abcd.tmp";
    const std::string ownName = ".morvane-" + std::to_string(getpid()) + "-0123abcd.tmp";
    dir.Write(endedName, "left by a kill");
    dir.Write(ownName, "being written");
    dir.Write(".morvane-89abcdef.tmp", "unnumbered, new");
    dir.Write(".morvane-0123abcd.tmp", "unnumbered, two hours old");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(2);
    std::filesystem::last_write_time(dir.Path(".morvane-0123abcd.tmp"), old);
    dir.Write(".morvane-" + std::to_string(ended) + "-notahex.tmp", "not ours");
    dir.Write("notes.tmp", "the user's");

    const std::string temporary = SaveTemporaryBeside(dir.Path("a.sgf"), "new");
    EXPECT_EQ(temporary.rfind(dir.Path(".morvane-" + std::to_string(getpid()) + "-"), 0), 0u)
        << temporary;
    std::filesystem::remove(temporary);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.root)) {
        left.insert(entry.path().filename().string());
    }
    EXPECT_EQ(left, (std::set<std::string>{".morvane-" + std::to_string(ended) + "-notahex.tmp",
                                           ownName, ".morvane-89abcdef.tmp", "notes.tmp"}));
}

TEST(FileOps, KeptDataIsReplacedWholeWithItsOwnPermissions) {
    TTempDir dir;
    const std::string list = dir.Path("flvback.dat");
    dir.Write("flvback.dat", "old");
    std::filesystem::permissions(
        list, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    SaveBytes(list, "new", TDurability::Kept);
    EXPECT_EQ(dir.Read("flvback.dat"), "new");
    EXPECT_EQ(std::filesystem::status(list).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A write that stops half-way (here at the file size limit) leaves the old file whole, as an
    // in-place write would not.
    struct rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const struct rlimit small = {4096, limit.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveBytes(list, std::string(10000, 'x'), TDurability::Kept), TFileError);
    EXPECT_THROW(SaveBytes(dir.Path("a.sgf"), std::string(10000, 'x')), TFileError);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, signal);
    EXPECT_EQ(dir.Read("flvback.dat"), "new");
    EXPECT_EQ(dir.List(), "flvback.dat");
}

#endif

#if defined(__linux__)
TEST(FileOps, AReadErrorFailsTheLoad) {
    // A file whose read fails: the process's memory from address 0, which nothing maps.
    EXPECT_THROW(LoadBytes("/proc/self/mem"), TFileError);
}
#endif
