#include "shell/Session.h"

#include "conversion/Paths.h"
#include "win32/CodePage932.h"

#include <memory>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// These build on windows.h.
#include <aclapi.h>
#include <knownfolders.h>
#include <shlobj.h>

// Windows has no runtime folder of a session and no signals: the private place is a folder of the
// user's local application data, which Windows gives only its user; a channel's peer is known by
// the process at the other end of the pipe.

namespace {

// A folder of the system's in code page 932, in its short form when the long one has none.
std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    std::string name = CodePage932FromWide(folder);
    if (WideFromCodePage932(name) != folder) {
        const DWORD room = GetShortPathNameW(folder.c_str(), nullptr, 0);
        std::wstring shortName(room, L'\0');
        const DWORD length = GetShortPathNameW(folder.c_str(), shortName.data(), room);
        shortName.resize(length < room ? length : 0);
        name = CodePage932FromWide(shortName);
        if (shortName.empty() || WideFromCodePage932(name) != shortName) {
            return {};
        }
    }
    return name;
}

struct THandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using THandle = std::unique_ptr<void, THandleCloser>;

// The user a process runs as (its security identifier's bytes); empty when it cannot be told.
std::vector<unsigned char> UserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (process == nullptr || !OpenProcessToken(process, TOKEN_QUERY, &token)) {
        return {};
    }
    const THandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return {bytes, bytes + GetLengthSid(sid)};
}

const std::vector<unsigned char>& ThisUser() {
    static const std::vector<unsigned char> user = UserOf(GetCurrentProcess());
    return user;
}

// True when path is a folder, not a link to one, that this user owns.
bool IsPrivateFolder(const std::string& path) {
    const std::wstring wide = WideFromCodePage932(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (path.empty() || CodePage932FromWide(wide) != path ||
        attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(wide.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(owner);
    const bool mine = owner != nullptr &&
                      std::vector<unsigned char>(bytes, bytes + GetLengthSid(owner)) == ThisUser();
    LocalFree(descriptor);
    return mine;
}

}  // namespace

std::string HomeFolder() { return KnownFolder(FOLDERID_Profile); }

std::optional<std::string> PrivateFolder(std::string_view runtimeDir, std::string_view cacheHome,
                                         std::string_view home) {
    if (IsPrivateFolder(std::string(runtimeDir))) {
        return JoinPath(runtimeDir, "");
    }
    const std::string cache = !cacheHome.empty() ? std::string(cacheHome)
                              : !home.empty()    ? JoinPath(JoinPath(home, "AppData"), "Local")
                                                 : std::string();
    if (cache.empty()) {
        return std::nullopt;
    }
    const std::string folder = JoinPath(cache, "morvane-session");
    CreateDirectoryW(WideFromCodePage932(folder).c_str(), nullptr);
    if (!IsPrivateFolder(folder)) {
        return std::nullopt;
    }
    return JoinPath(folder, "");
}

std::optional<std::string> SessionFolder() {
    return PrivateFolder({}, KnownFolder(FOLDERID_LocalAppData), HomeFolder());
}

bool PeerIsThisUser(long long descriptor) {
    // A local socket of Qt's is a named pipe here, its descriptor the pipe's handle. The processes
    // at both ends are asked for (one of them is this one): which end a handle is, Wine reports
    // the other way round.
    const auto pipe = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(descriptor));
    ULONG server = 0;
    ULONG client = 0;
    if (!GetNamedPipeServerProcessId(pipe, &server) ||
        !GetNamedPipeClientProcessId(pipe, &client)) {
        return false;
    }
    for (const ULONG process : {server, client}) {
        const THandle end(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
        const std::vector<unsigned char> user = UserOf(end.get());
        if (user.empty() || user != ThisUser()) {
            return false;
        }
    }
    return true;
}

int EndSignalDescriptor() { return -1; }

void TakeEndSignal(int) {}
