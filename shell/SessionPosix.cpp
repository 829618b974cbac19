#include "shell/Session.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
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

// The pipe a signal handler writes to; the event loop listens at its other end.
int endPipe[2] = {-1, -1};

void OnEndSignal(int) {
    const int saved = errno;
    const char signalled = 1;
    [[maybe_unused]] const ssize_t written = ::write(endPipe[1], &signalled, 1);
    errno = saved;
}

std::string WithSeparator(std::string path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    return path;
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
    // A relative XDG_CACHE_HOME is to be ignored, as the base directory rules say.
    std::string cache =
        !cacheHome.empty() && cacheHome.front() == '/'
            ? std::string(cacheHome)
            : (home.empty() || home.front() != '/' ? std::string()
                                                   : WithSeparator(std::string(home)) + ".cache");
    if (cache.empty()) {
        return std::nullopt;
    }
    const std::string folder = WithSeparator(cache) + "morvane-session";
    // The cache folder itself may be missing; the last folder is made for the user alone.
    ::mkdir(cache.c_str(), 0700);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    if (!IsPrivateFolder(folder)) {
        return std::nullopt;
    }
    return WithSeparator(folder);
}

std::optional<std::string> SessionFolder() {
    return PrivateFolder(Environment("XDG_RUNTIME_DIR"), Environment("XDG_CACHE_HOME"),
                         HomeFolder());
}

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
