#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalSocket;

// One window program for one program folder: a second start hands its files to the program that
// already runs and ends, so the two never keep one stored list each and overwrite each other's.
// The first start is elected by a lock, and only then listens; the lock and the channel lie in a
// folder only the user can enter (see SessionFolder), and only a program of the same user is
// heard or handed files.

// The channel's name for the program folder, inside the private folder place (with its
// separator): "morvane-" and 16 hex digits of a hash of the folder.
QString InstanceName(const std::string& place, const std::string& folder);

// Hands paths (absolute) to the program listening at name and waits until it has taken them
// whole; tries to connect until waitMs have passed. False when no program of this user took them
// in that time.
bool HandOver(const QString& name, const std::vector<std::string>& paths, int waitMs);

// Listens at name for the files of later starts, and gives each start's paths to opened from the
// event loop. A start is heard only when its program runs as the same user; at most MAX_WAITING
// starts are read at once, each for at most READ_MS, and others are turned away at once; a
// message that is not whole and well formed within that time adds nothing. Whatever the starts
// do, the channel keeps serving.
class TInstanceServer : public QObject {
public:
    static constexpr int MAX_WAITING = 4;
    static constexpr int READ_MS = 2000;

    explicit TInstanceServer(std::function<void(const std::vector<std::string>&)> opened);
    // Listens at name, taking the place of a channel that a program left behind (the caller
    // holds the lock, so no program listens there). False when it cannot.
    bool Listen(const QString& name);
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
    // No private place for the lock (no runtime folder, no home): it runs alone.
    Alone,
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
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<TInstanceServer> m_server;
};
