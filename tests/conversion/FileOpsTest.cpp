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
#if defined(__linux__)
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <thread>
#include <vector>
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

namespace {

// Plays, for the calling thread and those it starts, a file system that refuses RENAME_NOREPLACE
// (renameat2 with flags fails with EINVAL, as FUSE's do) and another program that makes a file
// at a name: while interfere is set, each other call that renames or links to a name first has
// the file "other" made at "to". The calls are held by the system (a seccomp listener) and answered
// from a thread of its own; false where that cannot be set up.
class TSlowFileSystem {
public:
    explicit TSlowFileSystem(std::string to) : m_to(std::move(to)) {}

    bool Start() {
#if defined(__x86_64__)
        constexpr unsigned ARCH = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
        constexpr unsigned ARCH = AUDIT_ARCH_AARCH64;
#else
        return false;
#endif
        std::vector<sock_filter> filter = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ARCH, 1, 0),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        };
        for (const unsigned call : {
#if defined(SYS_rename)
                 unsigned{SYS_rename},
#endif
#if defined(SYS_link)
                     unsigned{SYS_link},
#endif
                     unsigned{SYS_renameat}, unsigned{SYS_renameat2}, unsigned {
                     SYS_linkat
                 }
             }) {
            filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, call, 0, 1));
            filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
        }
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
        // The thread that answers starts before the filter, which therefore does not hold it.
        m_answerer = std::thread([this] { Answer(); });
        const int listener =
            prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
                ? static_cast<int>(syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                           SECCOMP_FILTER_FLAG_NEW_LISTENER, &program))
                : -1;
        m_listener = listener < 0 ? -2 : listener;
        return listener >= 0;
    }

    std::atomic<bool> interfere = false;

    // Ends with the process.
    ~TSlowFileSystem() { m_answerer.detach(); }

private:
    void Answer() {
        while (m_listener == -1) {
            std::this_thread::yield();
        }
        seccomp_notif_sizes sizes{};
        if (m_listener < 0 || syscall(SYS_seccomp, SECCOMP_GET_NOTIF_SIZES, 0, &sizes) != 0) {
            return;
        }
        std::vector<char> request(
            std::max<std::size_t>(sizes.seccomp_notif, sizeof(seccomp_notif)));
        std::vector<char> response(
            std::max<std::size_t>(sizes.seccomp_notif_resp, sizeof(seccomp_notif_resp)));
        for (;;) {
            std::fill(request.begin(), request.end(), '\0');
            auto* call = reinterpret_cast<seccomp_notif*>(request.data());
            if (ioctl(m_listener, SECCOMP_IOCTL_NOTIF_RECV, call) != 0) {
                if (errno == EINTR || errno == ENOENT) {
                    continue;
                }
                return;
            }
            std::fill(response.begin(), response.end(), '\0');
            auto* answer = reinterpret_cast<seccomp_notif_resp*>(response.data());
            answer->id = call->id;
            if (call->data.nr == SYS_renameat2 && call->data.args[4] != 0) {
                answer->error = -EINVAL;
            } else {
                // The other program comes between a look at the name and the call that takes it.
                if (interfere) {
                    const int file = ::open(m_to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
                    if (file >= 0) {
                        [[maybe_unused]] const ssize_t written = ::write(file, "other", 5);
                        ::close(file);
                    }
                }
                answer->flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
            }
            ioctl(m_listener, SECCOMP_IOCTL_NOTIF_SEND, answer);
        }
    }

    std::string m_to;
    std::atomic<int> m_listener = -1;
    std::thread m_answerer;
};

}  // namespace

TEST(FileOps, WhereTheFileSystemRefusesRenameNoReplaceNoFileSlipsInBetween) {
    TTempDir dir;
    const std::string to = dir.Path("to.sgf");
    dir.Write("a.sgf", "a");
    dir.Write("b.sgf", "b");
    std::filesystem::create_symlink(dir.Path("nowhere"), dir.Path("link.sgf"));
    // In a process of its own, for the system call filter.
    const pid_t child = fork();
    if (child == 0) {
        TSlowFileSystem system(to);
        if (!system.Start()) {
            _exit(2);
        }
        const auto read = [](const std::string& path) {
            try {
                return LoadBytes(path);
            } catch (const TFileError&) {
                return std::string();
            }
        };
        // The rename still works, and moves a link itself.
        bool sound = RenameFile(dir.Path("a.sgf"), to) && !FileOrLinkExists(dir.Path("a.sgf")) &&
                     read(to) == "a" && !RenameFile(dir.Path("b.sgf"), to) &&
                     read(dir.Path("b.sgf")) == "b" &&
                     RenameFile(dir.Path("link.sgf"), dir.Path("link.bak")) &&
                     std::filesystem::is_symlink(dir.Path("link.bak"));
        // Another program's file that comes at the free name just before the rename is its own.
        ::unlink(to.c_str());
        system.interfere = true;
        sound = sound && !RenameFile(dir.Path("b.sgf"), to) && read(to) == "other" &&
                read(dir.Path("b.sgf")) == "b";
        _exit(sound ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) {
        GTEST_SKIP() << "no system call listener here";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FileOps, AReadErrorFailsTheLoad) {
    // A file whose read fails: the process's memory from address 0, which nothing maps.
    EXPECT_THROW(LoadBytes("/proc/self/mem"), TFileError);
}
#endif
