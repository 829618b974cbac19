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
// ~/.cache under home), made for the user alone when it is missing and checked the same way.
// Nothing when neither will do. A shared temporary folder is never taken, whatever TMPDIR says.
std::optional<std::string> PrivateFolder(std::string_view runtimeDir, std::string_view cacheHome,
                                         std::string_view home);

// PrivateFolder of the running program's session.
std::optional<std::string> SessionFolder();

// True when the program at the other end of the connected local socket descriptor runs as the
// same user as this one.
bool PeerIsThisUser(long long descriptor);

// A descriptor that becomes readable when the program is asked to end by a signal (SIGTERM,
// SIGHUP, SIGINT); -1 where there is none. The signals are caught from the first call on.
int EndSignalDescriptor();
// Reads what a signal left on descriptor, so that it is quiet until the next one.
void TakeEndSignal(int descriptor);
