#include "shell/Session.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// True when path is a folder (not a link to one) of this user's that nobody else may enter.
bool IsPrivateFolder(const std::string& path) {
    struct stat status {};
    return !path.empty() && path.front() == '/' && ::lstat(path.c_str(), &status) == 0 &&
           S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

// The program's own folder at path, with its separator: made for the user alone when it is missing,
// and given back to the user alone when it is the user's with another mode (made by hand, or
// under another umask). Nothing when something else stands there: a file, a link, a folder of
// another user's.
std::optional<std::string> OwnFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    if ((status.st_mode & 07777) != 0700 && ::chmod(path.c_str(), 0700) != 0) {
        return std::nullopt;
    }
    if (!IsPrivateFolder(path)) {
        return std::nullopt;
    }
    return WithSeparator(path);
}

// The pipe a signal handler writes to; the event loop listens at its other end.
int endPipe[2] = {-1, -1};

void OnEndSignal(int) {
    const int saved = errno;
    const char signalled = 1;
    [[maybe_unused]] const ssize_t written = ::write(endPipe[1], &signalled, 1);
    errno = saved;
}

}  // namespace

std::string HomeFolder() {
    const std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    const passwd* entry = ::getpwuid(::geteuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::optional<std::string> PrivateFolder(std::string_view runtimeDir, std::string_view cacheHome,
                                         std::string_view home) {
    if (IsPrivateFolder(std::string(runtimeDir))) {
        return WithSeparator(std::string(runtimeDir));
    }
    const bool absoluteHome = !home.empty() && home.front() == '/';
    // A relative XDG_CACHE_HOME is to be ignored, as the base directory rules say.
    const std::string cache =
        !cacheHome.empty() && cacheHome.front() == '/'
            ? std::string(cacheHome)
            : (absoluteHome ? WithSeparator(std::string(home)) + ".cache" : std::string());
    if (!cache.empty()) {
        // The cache folder itself may be missing; the last folder is made for the user alone.
        ::mkdir(cache.c_str(), 0700);
        if (std::optional<std::string> folder =
                OwnFolder(WithSeparator(cache) + "morvane-session")) {
            return folder;
        }
    }
    if (absoluteHome) {
        return OwnFolder(WithSeparator(std::string(home)) + ".morvane-session");
    }
    return std::nullopt;
}

std::optional<std::string> SessionFolder() {
    return PrivateFolder(Environment("XDG_RUNTIME_DIR"), Environment("XDG_CACHE_HOME"),
                         HomeFolder());
}

std::optional<std::string> AbstractChannelName(const std::string& path, std::string_view key) {
    if (path.size() < sizeof(sockaddr_un{}.sun_path)) {
        return std::nullopt;
    }
#if defined(__linux__)
    return "morvane-" + std::to_string(::geteuid()) + "-" + std::string(key);
#else
    return std::nullopt;
#endif
}

TSessionLock::TResult TSessionLock::Take(const std::string& path) {
    Release();
    // Never through a link, and never inherited by a program started from this one, which could
    // otherwise keep the lock after this program ended.
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) {
        return TResult::Failed;
    }
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(file);
        return error == EWOULDBLOCK ? TResult::Held : TResult::Failed;
    }
    m_file = file;
    // Who holds it, for a person who looks, in the form an older program of ours reads (its
    // process, its name, its host): it takes a lock over only when the process named has ended.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string holder = std::to_string(::getpid()) + "\nmorvane\n" + host + "\n";
    if (::ftruncate(file, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::write(file, holder.data(), holder.size());
    }
    return TResult::Taken;
}

void TSessionLock::Release() {
    if (m_file >= 0) {
        // Closing lets the lock go; the file stays for the next start.
        ::close(static_cast<int>(m_file));
        m_file = -1;
    }
}

bool TChannelClaim::Claim(const std::string&) { return true; }

void TChannelClaim::Release() {}

bool PeerIsThisUser(long long descriptor) {
#if defined(SO_PEERCRED)
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials,
                        &size) == 0 &&
           credentials.uid == ::geteuid();
#else
    uid_t user = 0;
    gid_t group = 0;
    return ::getpeereid(static_cast<int>(descriptor), &user, &group) == 0 && user == ::geteuid();
#endif
}

int EndSignalDescriptor() {
    if (endPipe[0] < 0) {
        if (::pipe(endPipe) != 0) {
            return -1;
        }
        for (const int end : endPipe) {
            ::fcntl(end, F_SETFD, FD_CLOEXEC);
            ::fcntl(end, F_SETFL, O_NONBLOCK);
        }
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
            ::sigaction(signal, &action, nullptr);
        }
    }
    return endPipe[0];
}

void TakeEndSignal(int descriptor) {
    char bytes[64];
    while (::read(descriptor, bytes, sizeof bytes) > 0) {
    }
}
