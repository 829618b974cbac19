#include "shell/HandOverMessage.h"
#include "shell/Instance.h"
#include "shell/Session.h"
#include "tests/support/TempDir.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>

#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <random>
#ifndef _WIN32
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using TPaths = std::vector<std::string>;

// A folder only this user can enter, as the session's runtime folder is.
struct TPrivateDir : TTempDir {
    TPrivateDir() { fs::permissions(root, fs::perms::owner_all); }
    std::string Place() const { return root + "/"; }
};

// Runs body on another thread (a second start), keeping this thread's event loop going (the
// first program) until it is done.
template <typename Body>
auto Meanwhile(Body body) {
    auto result = std::async(std::launch::async, body);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        15000));
    return result.get();
}

}  // namespace

TEST(Instance, TheFirstStartTakesTheFolderAndLaterStartsHandTheirFilesToIt) {
    TPrivateDir place;
    const std::string folder = "/home/u/morvane/";
    const TChannelName channel = InstanceName(place.Place(), folder);
    std::vector<TPaths> received;
    TInstance first;
    // A program that listened at the name and went without the lock is no obstacle.
    QLocalServer leftover;
    ASSERT_TRUE(leftover.listen(channel.name));
    ASSERT_EQ(first.Start(place.Place(), folder, {},
                          [&](const TPaths& paths) { received.push_back(paths); }),
              TStartKind::First);
    EXPECT_FALSE(channel.abstract);
    EXPECT_EQ(channel.name.toStdString().rfind(place.Place(), 0), 0u);
    EXPECT_NE(InstanceName(place.Place(), "/a/").name, InstanceName(place.Place(), "/b/").name);

    // Names in any bytes, and a start without files, which only wakes the program.
    const TPaths names = {"/k/a.sgf", "/k/\x95\x5C.ugf", std::string("/k/\n.sgf")};
    EXPECT_TRUE(Meanwhile([&] {
                    TInstance second;
                    return second.Start(place.Place(), folder, names, {}, 5000);
                }) == TStartKind::HandedOver);
    EXPECT_TRUE(Meanwhile([&] {
                    TInstance third;
                    return third.Start(place.Place(), folder, {}, {}, 5000);
                }) == TStartKind::HandedOver);
    EXPECT_EQ(received, (std::vector<TPaths>{names, {}}));

    // Another folder is another program; no private place, no channel.
    TInstance other;
    EXPECT_EQ(other.Start(place.Place(), "/other/", {}, {}), TStartKind::First);
    TInstance alone;
    EXPECT_EQ(alone.Start(std::nullopt, folder, {}, {}), TStartKind::Alone);
}

TEST(Instance, ALockThatAProgramLeftBehindHoldsNobodyOutWhateverItSays) {
    TPrivateDir place;
    const std::string folder = "/home/u/morvane/";
    const std::string lock = InstanceName(place.Place(), folder).name.toStdString() + ".lock";
    std::string random(64, '\0');
    std::mt19937 generator(28);
    for (char& byte : random) {
        byte = static_cast<char>(generator());
    }
    // Left by a program of another host that shares the home folder, by a crash while the lock
    // was written, by a power cut: the next start is the first at once, and says nothing.
    const std::pair<const char*, std::string> leftovers[] = {
        {"another host's", "999999\nmorvane\notherhost\n"},
        {"empty", ""},
        {"random bytes", random},
    };
    for (const auto& [name, bytes] : leftovers) {
        SCOPED_TRACE(name);
        place.Write(fs::path(lock).filename().string(), bytes);
        TInstance first;
        std::vector<TPaths> received;
        ASSERT_EQ(first.Start(
                      place.Place(), folder, {},
                      [&](const TPaths& paths) { received.push_back(paths); }, 1000),
                  TStartKind::First);
        // The lock it took holds while it runs.
        EXPECT_TRUE(Meanwhile([&] {
                        TInstance second;
                        return second.Start(place.Place(), folder, {"/k/a.sgf"}, {}, 5000);
                    }) == TStartKind::HandedOver);
        EXPECT_EQ(received, std::vector<TPaths>{{"/k/a.sgf"}});
    }
}

TEST(Instance, AStartTurnedAwayWhileTheChannelIsBusyTriesAgainUntilItsDeadline) {
    TPrivateDir place;
    const TChannelName channel = InstanceName(place.Place(), "/f/");
    std::vector<TPaths> received;
    TInstanceServer server([&](const TPaths& paths) { received.push_back(paths); });
    ASSERT_TRUE(server.Listen(channel));
    // Slow starts of the same user take every slot until their time is up.
    std::vector<std::unique_ptr<QLocalSocket>> slow;
    for (int i = 0; i < TInstanceServer::MAX_WAITING; ++i) {
        slow.push_back(std::make_unique<QLocalSocket>());
        slow.back()->connectToServer(channel.name);
        ASSERT_TRUE(slow.back()->waitForConnected(1000));
    }
    QTest::qWait(100);
    EXPECT_TRUE(Meanwhile(
        [&] { return HandOver(channel, {"/k/a.sgf"}, TInstanceServer::READ_MS + 5000); }));
    EXPECT_EQ(received, std::vector<TPaths>{{"/k/a.sgf"}});
}

TEST(Instance, DamagedIdleAndSurplusStartsAddNothingAndTheChannelKeepsServing) {
    TPrivateDir place;
    const TChannelName channel = InstanceName(place.Place(), "/f/");
    std::vector<TPaths> received;
    TInstanceServer server([&](const TPaths& paths) { received.push_back(paths); });
    ASSERT_TRUE(server.Listen(channel));
    const std::string whole = HandOverMessage({"/k/a.sgf"});

    // Idle starts beyond the few that are read at once are turned away at once.
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 200; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(channel.name);
        QTest::qWait(0);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return std::count_if(idle.begin(), idle.end(), [](const auto& socket) {
                   return socket->state() == QLocalSocket::ConnectedState;
               }) == TInstanceServer::MAX_WAITING;
    }));
    // The ones read are let go when their time is up; the channel then serves again.
    EXPECT_FALSE(Meanwhile([&] { return HandOver(channel, {"/k/late.sgf"}, 500); }));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return std::none_of(idle.begin(), idle.end(), [](const auto& socket) {
                return socket->state() == QLocalSocket::ConnectedState;
            });
        },
        TInstanceServer::READ_MS + 2000));

    // A message of another form, one cut short, one with bytes after it, one whose head declares
    // more than a message may hold (refused at its head, while its sender keeps writing, rather
    // than read until its time is up): nothing is added and no start is told its files were taken.
    std::string tooLong = whole.substr(0, 16);
    tooLong[13] = '\x10';  // a rest of 1 MiB, head and all past the limit
    tooLong += std::string(256 << 10, 'x');
    struct TRow {
        const char* name;
        std::string bytes;
        int endsWithinMs;
    };
    const TRow rows[] = {
        {"another form", std::string("MORVANE\x02") + whole.substr(8), TInstanceServer::READ_MS},
        {"cut short", whole.substr(0, whole.size() - 1), TInstanceServer::READ_MS + 2000},
        {"bytes after it", whole + "x", TInstanceServer::READ_MS},
        {"too long", tooLong, TInstanceServer::READ_MS / 2},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        QLocalSocket socket;
        socket.connectToServer(channel.name);
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(row.bytes.data(), static_cast<qint64>(row.bytes.size()));
        socket.flush();
        if (row.bytes.size() < whole.size()) {
            socket.disconnectFromServer();
        }
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return socket.state() == QLocalSocket::UnconnectedState; }, row.endsWithinMs));
        EXPECT_EQ(socket.bytesAvailable(), 0);
    }
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(Meanwhile([&] { return HandOver(channel, {"/k/b.sgf"}, 5000); }));
    EXPECT_EQ(received, (std::vector<TPaths>{{"/k/b.sgf"}}));
}

TEST(Instance, TheMessageIsReadWholeOrNotAtAll) {
    using TState = THandOverReading::TState;
    const TPaths paths = {"/k/a.sgf", "", std::string("/k/\0b.ugf", 9)};
    const std::string message = HandOverMessage(paths);
    const THandOverReading whole = ReadHandOver(message);
    EXPECT_EQ(whole.state, TState::Whole);
    EXPECT_EQ(whole.paths, paths);
    for (std::size_t size = 0; size < message.size(); ++size) {
        const THandOverReading partial = ReadHandOver(message.substr(0, size));
        EXPECT_EQ(partial.state, TState::Partial) << size;
        // What is still to come, never more than the message holds: past the head, exactly.
        EXPECT_GE(partial.missing, 1u) << size;
        EXPECT_LE(size + partial.missing, message.size()) << size;
        if (size >= 16) {
            EXPECT_EQ(size + partial.missing, message.size()) << size;
        }
    }
    // A length past the limit, a count the rest cannot hold, a path past the end: nothing of it.
    std::string tooLong = message;
    tooLong[8] = '\x7F';
    std::string manyPaths = message;
    manyPaths[16] = '\x7F';
    std::string longPath = message;
    longPath[36] = '\x7F';  // the third, after two were read
    for (const std::string& damaged : {std::string("X"), tooLong, manyPaths, longPath}) {
        EXPECT_EQ(ReadHandOver(damaged).state, TState::Damaged);
        EXPECT_TRUE(ReadHandOver(damaged).paths.empty());
    }

    // Many paths go in as many messages as they need, each within the limit, the last one full
    // to the byte; together they are the paths in order.
    const std::size_t room = HAND_OVER_LIMIT - 16 - 4;
    const TPaths exact = {std::string(room / 2 - 4, 'a'), std::string(room / 2 - 4, 'b')};
    EXPECT_EQ(HandOverMessage(exact).size(), HAND_OVER_LIMIT);
    EXPECT_EQ(ReadHandOver(HandOverMessage(exact)).state, TState::Whole);
    EXPECT_THROW(HandOverMessage({exact[0], exact[1] + "b"}), std::length_error);
    TPaths many(30000, std::string(100, 'p'));
    many.push_back(exact[0]);
    many.back()[0] = 'q';
    const std::vector<std::string> messages = HandOverMessages(many);
    EXPECT_EQ(messages.size(), 4u);
    TPaths joined;
    for (const std::string& each : messages) {
        EXPECT_LE(each.size(), HAND_OVER_LIMIT);
        const THandOverReading reading = ReadHandOver(each);
        ASSERT_EQ(reading.state, TState::Whole);
        joined.insert(joined.end(), reading.paths.begin(), reading.paths.end());
    }
    EXPECT_EQ(joined, many);
    EXPECT_EQ(HandOverMessages({}), std::vector<std::string>{HandOverMessage({})});
}

// POSIX's own: folder modes, links, a second user by setuid, sockets at the system's level.
// tests/windows/window/InstanceTest.cpp checks the private place on Windows.
#ifndef _WIN32

namespace {

sockaddr_un Address(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

}  // namespace

TEST(Instance, TheChannelLiesWhereOnlyTheUserCanEnter) {
    TTempDir dir;
    const std::string runtime = dir.Path("runtime");
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    EXPECT_EQ(PrivateFolder(runtime, "", dir.root), runtime + "/");
    // A runtime folder that others may enter, or a link to one, is passed over for a folder of
    // the user's own in the cache folder, made for the user alone.
    fs::create_directory_symlink(runtime, dir.Path("link"));
    fs::create_directory(dir.Path("open"));
    fs::permissions(dir.Path("open"), fs::perms::owner_all | fs::perms::others_exec);
    fs::create_directory(dir.Path("group"));  // 0750: the group may enter
    fs::permissions(dir.Path("group"),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    for (const std::string& passedOver :
         {dir.Path("link"), dir.Path("open"), dir.Path("group"), std::string()}) {
        EXPECT_EQ(PrivateFolder(passedOver, dir.Path("cache"), ""),
                  dir.Path("cache/morvane-session/"));
    }
    EXPECT_EQ(fs::status(dir.Path("cache/morvane-session")).permissions(), fs::perms::owner_all);
    EXPECT_EQ(PrivateFolder("", "relative", dir.root), dir.Path(".cache/morvane-session/"));
    // The program's own folder that others could enter (made by hand, or under another umask) is
    // the user's alone again; a plain file in the way of the cache folder is left as it is, and a
    // folder in the home folder takes the place; with neither, there is none.
    fs::permissions(dir.Path(".cache/morvane-session"),
                    fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                        fs::perms::others_exec,
                    fs::perm_options::add);
    EXPECT_EQ(PrivateFolder("", "", dir.root), dir.Path(".cache/morvane-session/"));
    EXPECT_EQ(fs::status(dir.Path(".cache/morvane-session")).permissions(), fs::perms::owner_all);
    TTempDir home;
    home.Write(".cache", "the user's own file");
    EXPECT_EQ(PrivateFolder("", "", home.root), home.Path(".morvane-session/"));
    EXPECT_EQ(home.Read(".cache"), "the user's own file");
    EXPECT_EQ(fs::status(home.Path(".morvane-session")).permissions(), fs::perms::owner_all);
    home.Write("file", "");
    EXPECT_EQ(PrivateFolder("", "", home.Path("file")), std::nullopt);
    EXPECT_EQ(PrivateFolder("", "", ""), std::nullopt);
}

TEST(Instance, AChannelThatCannotListenLetsItsLockGo) {
    TPrivateDir place;
    const std::string folder = "/home/u/morvane/";
    // Something that is no channel where the channel should be: the start that holds the lock
    // cannot listen.
    fs::create_directory(InstanceName(place.Place(), folder).name.toStdString());
    TInstance first;
    EXPECT_EQ(first.Start(place.Place(), folder, {}, {}), TStartKind::NoChannel);
    // A later start is not kept waiting for an answer that never comes.
    TInstance second;
    EXPECT_EQ(second.Start(place.Place(), folder, {"/k/a.sgf"}, {}, 1000), TStartKind::NoChannel);
}

TEST(Instance, AHomeFolderTooLongForASocketsAddressStillGivesOneChannel) {
    TTempDir dir;
    // 80 letters of a user's name, then the cache folder: the channel's path would pass the 108
    // bytes a socket's address holds.
    const std::string home = dir.Path(std::string(80, 'h'));
    fs::create_directory(home);
    const std::optional<std::string> place = PrivateFolder("", "", home);
    ASSERT_TRUE(place);
    const std::string folder = "/home/u/morvane/";
    ASSERT_GT((*place + "morvane-0123456789abcdef").size(), 107u);
    const TChannelName channel = InstanceName(*place, folder);
    EXPECT_TRUE(channel.abstract);
    std::vector<TPaths> received;
    TInstance first;
    ASSERT_EQ(
        first.Start(place, folder, {}, [&](const TPaths& paths) { received.push_back(paths); }),
        TStartKind::First);
    EXPECT_TRUE(Meanwhile([&] {
                    TInstance second;
                    return second.Start(place, folder, {"/k/a.sgf"}, {}, 5000);
                }) == TStartKind::HandedOver);
    EXPECT_EQ(received, std::vector<TPaths>{{"/k/a.sgf"}});
    // Another user's program folder, or this user's in another place, is another channel.
    EXPECT_NE(InstanceName(*place, "/home/v/morvane/").name, channel.name);
    EXPECT_NE(InstanceName(*place + "x/", folder).name, channel.name);
}

TEST(Instance, NoFilesGoToOrComeFromAProgramOfAnotherUser) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "a second user needs the test to run as root";
    }
    constexpr uid_t NOBODY = 65534;
    TTempDir dir;
    fs::permissions(dir.root, fs::perms::all);

    // A start of another user is not heard, though the channel's file lets it in.
    const TChannelName channel{QString::fromStdString(dir.Path("channel"))};
    std::vector<TPaths> received;
    TInstanceServer server([&](const TPaths& paths) { received.push_back(paths); });
    ASSERT_TRUE(server.Listen(channel));
    fs::permissions(dir.Path("channel"), fs::perms::all);
    const pid_t start = fork();
    if (start == 0) {
        // The start speaks the channel's language, told nothing of whom it speaks to.
        const std::string message = HandOverMessage({"/k/a.sgf"});
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = Address(dir.Path("channel"));
        pollfd answer{socket, POLLIN, 0};
        char byte = 0;
        const bool taken =
            setuid(NOBODY) == 0 &&
            connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            write(socket, message.data(), message.size()) == static_cast<ssize_t>(message.size()) &&
            poll(&answer, 1, 1000) == 1 && read(socket, &byte, 1) == 1;
        _exit(taken ? 1 : 0);
    }
    int status = -1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return waitpid(start, &status, WNOHANG) == start; }, 5000));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(received.empty());

    // A start hands nothing to a listener of another user.
    const std::string squatted = dir.Path("squatted");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t listener = fork();
    if (listener == 0) {
        const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = Address(squatted);
        if (setuid(NOBODY) != 0 ||
            bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            chmod(squatted.c_str(), 0777) != 0 || listen(socket, 1) != 0 ||
            write(ready[1], "r", 1) != 1) {
            _exit(2);
        }
        const int peer = accept(socket, nullptr, nullptr);
        char byte = 0;
        _exit(peer >= 0 && read(peer, &byte, 1) > 0 ? 1 : 0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    EXPECT_FALSE(HandOver({QString::fromStdString(squatted)}, {"/k/secret.sgf"}, 1000));
    waitpid(listener, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    close(ready[0]);
    close(ready[1]);
}

#endif
