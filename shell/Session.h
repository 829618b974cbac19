#pragma once

#include <optional>
#include <string>
#include <string_view>

// What keeping one program a folder needs of the system, which differs between Linux and
// Windows: a place only the user can enter for the lock and the channel, and the user at the
// other end of a channel.

// The user's home folder: HOME, or the one the user database gives when HOME is unset or empty.
std::string HomeFolder();

// A folder that only the user can enter, with its trailing separator: runtimeDir (the session's
// runtime folder, XDG_RUNTIME_DIR) when it is a folder of the user's own that nobody else may
// enter; else the folder "morvane-session" in cacheHome (XDG_CACHE_HOME when absolute, else
// ~/.cache under home); else, when that cannot be had (a plain file stands in the way, a folder of
// another user's), the folder ".morvane-session" in home. Either of the program's own folders is
// made for the user alone when it is missing, and given back to the user alone (mode 0700) when
// it is the user's with another mode; a link or anything not the user's is left alone and passed
// over. Nothing when none will do. A shared temporary folder is never taken, whatever TMPDIR says.
std::optional<std::string> PrivateFolder(std::string_view runtimeDir, std::string_view cacheHome,
                                         std::string_view home);

// PrivateFolder of the running program's session.
std::optional<std::string> SessionFolder();

// For a channel whose path in the private folder does not fit the address of a local socket (a long
// home folder): a name for key in Linux's abstract namespace, which needs no file, with this user's
// number in it; nothing when path fits, or where the system has no such namespace.
std::optional<std::string> AbstractChannelName(const std::string& path, std::string_view key);

// The lock that elects the first start for a program folder: a file in the private folder that the
// system locks for this process alone (flock on POSIX, a handle shared with nobody on Windows). The
// lock goes with its process however the process ends (a crash, kill -9, a power cut), so a file
// left behind holds nobody out, whatever it says: another host's name, nothing, or the bytes of a
// write cut short. The file itself stays, so two starts never lock two files of one name.
class TSessionLock {
public:
    enum class TResult {
        Taken,
        // A running process holds it.
        Held,
        // The file cannot be made, opened or locked (a file system without locks).
        Failed,
    };

    TSessionLock() = default;
    TSessionLock(const TSessionLock&) = delete;
    TSessionLock& operator=(const TSessionLock&) = delete;
    ~TSessionLock() { Release(); }

    // Takes the lock at path, without waiting.
    TResult Take(const std::string& path);
    // Lets it go (nothing when it is not held).
    void Release();

private:
    // The open file: a descriptor on POSIX, a handle on Windows; -1 when none.
    long long m_file = -1;
};

// On Windows, where the names of pipes are one namespace for every program of the machine, the
// pipe of a channel is made by this program first, with an access list that lets only this user
// in: Claim makes the pipe's first instance, and is false when a pipe of that name is there
// already (another program made it first); the caller then listens, adding its instances to the
// pipe, and lets the claim go. Elsewhere a channel lies in a private folder, or its peer is
// checked, and Claim is true.
class TChannelClaim {
public:
    TChannelClaim() = default;
    TChannelClaim(const TChannelClaim&) = delete;
    TChannelClaim& operator=(const TChannelClaim&) = delete;
    ~TChannelClaim() { Release(); }

    // name: the channel's name as a local server of Qt's takes it, in UTF-8.
    bool Claim(const std::string& name);
    void Release();

private:
    void* m_pipe = nullptr;
};

// True when the program at the other end of the connected local socket descriptor runs as the
// same user as this one.
bool PeerIsThisUser(long long descriptor);

// A descriptor that becomes readable when the program is asked to end by a signal (SIGTERM,
// SIGHUP, SIGINT); -1 where there is none. The signals are caught from the first call on.
int EndSignalDescriptor();
// Reads what a signal left on descriptor, so that it is quiet until the next one.
void TakeEndSignal(int descriptor);
