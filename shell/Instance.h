#pragma once

#include "shell/Session.h"

#include <QLocalServer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLocalSocket;

// One window program for one program folder: a second start hands its files to the program that
// already runs and ends, so the two never keep one stored list each and overwrite each other's.
// The first start is elected by a lock (see TSessionLock: it goes with its process, so a start
// never waits on a lock that a program left behind), and only then listens. On Linux the lock and
// the channel lie in a folder only the user can enter (see SessionFolder); a channel whose path
// there would not fit a socket's address is a name of the abstract namespace instead. On Windows
// the channel is a named pipe, whose names every program of the machine shares: the pipe is made
// by the first start with an access list for the user alone, and refused when another program
// made a pipe of that name first (see TChannelClaim). Either way only a program of the same user
// is heard or handed files: each end checks the user of the process at the other.

// Where the channel of a program folder is.
struct TChannelName {
    QString name;
    // A name of Linux's abstract namespace rather than a file's path.
    bool abstract = false;
};

// The channel for the program folder, inside the private folder place (with its separator): the
// file "morvane-" and 16 hex digits of a hash of the folder, or, when that path is too long for a
// socket's address, an abstract name of this user's for the two.
TChannelName InstanceName(const std::string& place, const std::string& folder);

// Hands paths (absolute) to the program listening at channel, in the messages of
// shell/HandOverMessage.h, and waits until it has taken them whole, in as many messages as they
// need; tries until waitMs have passed, also when the program turns the start away while it reads
// others. False when no program of this user took them in that time.
bool HandOver(const TChannelName& channel, const std::vector<std::string>& paths, int waitMs);

// Listens at a channel for the files of later starts, and gives each start's paths to opened from
// the event loop. A start is heard only when its program runs as the same user; at most
// MAX_WAITING starts are read at once, each for at most READ_MS, and others are turned away at
// once (they try again); a message is read only as far as its declared length, and one longer than
// HAND_OVER_LIMIT is refused at its head, so the starts read hold a few megabytes at most. A
// message that is not whole and well formed within that time adds nothing. Whatever the starts
// do, the channel keeps serving.
class TInstanceServer : public QObject {
public:
    static constexpr int MAX_WAITING = 4;
    static constexpr int READ_MS = 2000;

    explicit TInstanceServer(std::function<void(const std::vector<std::string>&)> opened);
    // Listens at channel, taking the place of a channel file that a program left behind (the
    // caller holds the lock, so no program listens there). False when it cannot, or when on
    // Windows another program made a pipe of that name.
    bool Listen(const TChannelName& channel);
    bool Listening() const { return m_server.isListening(); }

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QLocalServer m_server;
    std::function<void(const std::vector<std::string>&)> m_opened;
    int m_waiting = 0;
};

// How a start of the program began.
enum class TStartKind {
    // It runs the window for its folder and listens for later starts.
    First,
    // Its files went to the program that runs for the folder: it ends.
    HandedOver,
    // A program runs for the folder but took no files in time: it ends, touching nothing.
    NoAnswer,
    // No private folder, or no lock in it: it runs alone, and a later start may too.
    Alone,
    // It holds the lock but cannot listen: it lets the lock go, so that later starts are not
    // kept waiting for an answer that never comes, and runs alone.
    NoChannel,
};

// The start of the program for folder: elects it with the lock in the private folder place, or
// hands paths to the program elected before. Keeps the lock and the channel while it lives.
class TInstance {
public:
    // waitMs: how long a second start waits for the first to take its files.
    TStartKind Start(const std::optional<std::string>& place, const std::string& folder,
                     const std::vector<std::string>& paths,
                     std::function<void(const std::vector<std::string>&)> opened,
                     int waitMs = 10000);

private:
    TSessionLock m_lock;
    std::unique_ptr<TInstanceServer> m_server;
};
