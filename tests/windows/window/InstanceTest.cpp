// One program a folder on Windows: the lock and the channel in a folder of the user's local
// application data, and the hand-over through a named pipe, with code page 932 names.

#include "shell/Instance.h"
#include "shell/Session.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <QTest>

#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

using TPaths = std::vector<std::string>;

std::string LocalAppData() {
    PWSTR path = nullptr;
    EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)));
    char bytes[MAX_PATH * 2] = {};
    WideCharToMultiByte(932, 0, path, -1, bytes, sizeof bytes, nullptr, nullptr);
    CoTaskMemFree(path);
    return bytes;
}

}  // namespace

TEST(WindowsInstance, LaterStartsHandTheirFilesToTheFirstInTheUsersPrivatePlace) {
    const std::optional<std::string> place = SessionFolder();
    ASSERT_EQ(place, LocalAppData() + "\\morvane-session\\");
    TTempDir dir;
    const std::string folder = dir.root + "\\" SJIS_HYO "\\";
    std::vector<TPaths> received;
    TInstance first;
    ASSERT_EQ(
        first.Start(place, folder, {}, [&](const TPaths& paths) { received.push_back(paths); }),
        TStartKind::First);
    // A second start, on another thread while this one's event loop goes on.
    const TPaths names = {folder + SJIS_HYO ".ugf", folder + "b.sgf"};
    auto second = std::async(std::launch::async, [&] {
        TInstance start;
        return start.Start(place, folder, names, {}, 5000);
    });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        15000));
    EXPECT_EQ(second.get(), TStartKind::HandedOver);
    EXPECT_EQ(received, std::vector<TPaths>{names});

    // A runtime folder of the user's own is taken as it is; without one, a folder of the user's
    // own is made in the cache folder.
    fs::create_directory(dir.Path("cache"));
    EXPECT_EQ(PrivateFolder(dir.root, "", ""), dir.root + "\\");
    EXPECT_EQ(PrivateFolder(dir.Path("missing"), dir.Path("cache"), ""),
              dir.Path("cache") + "\\morvane-session\\");
    EXPECT_TRUE(fs::is_directory(dir.Path("cache/morvane-session")));
    EXPECT_EQ(PrivateFolder("", "", ""), std::nullopt);
}

TEST(WindowsInstance, APipeOfTheSameNameMadeFirstByAnotherProgramIsRefused) {
    TTempDir dir;
    const std::string place = dir.root + "\\";
    const std::string folder = dir.root + "\\program\\";
    // Another program makes a pipe of the folder's channel's name first: the first start must not
    // add its instances to that pipe, where later starts could hand their files to that program.
    const std::wstring pipe =
        L"\\\\.\\pipe\\" + InstanceName(place, folder).name.toStdWString();
    const HANDLE squatter =
        CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                         PIPE_UNLIMITED_INSTANCES, 0, 0, 0, nullptr);
    ASSERT_NE(squatter, INVALID_HANDLE_VALUE);
    TInstance first;
    EXPECT_EQ(first.Start(place, folder, {}, {}), TStartKind::NoChannel);
    // Its lock is let go, and once the pipe is gone the next start is the first.
    CloseHandle(squatter);
    TInstance next;
    EXPECT_EQ(next.Start(place, folder, {}, {}), TStartKind::First);
}
