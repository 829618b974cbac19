#include "shell/Session.h"

#include "conversion/Paths.h"
#include "win32/CodePage932.h"
#include "win32/KnownFolder.h"
#include "win32/Windows.h"

#include <memory>
#include <vector>
// These build on windows.h.
#include <aclapi.h>

// Windows has no runtime folder of a session and no signals: the private place is a folder of the
// user's local application data, which Windows gives only its user; a channel's peer is known by
// the process at the other end of the pipe.

namespace {

// A folder of the system's in code page 932, in its short form when the long one has none.
std::string CodePage932KnownFolder(REFKNOWNFOLDERID id) {
    return CodePage932Folder(KnownFolder(id));
}

// UTF-8 text as UTF-16.
std::wstring QtWide(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
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
    std::wstring wide;
    const bool named = ToWideStrictly(path, wide);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (path.empty() || !named || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
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

std::string HomeFolder() { return CodePage932KnownFolder(FOLDERID_Profile); }

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
    return PrivateFolder({}, CodePage932KnownFolder(FOLDERID_LocalAppData), HomeFolder());
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

std::optional<std::string> AbstractChannelName(const std::string&, std::string_view) {
    return std::nullopt;
}

TSessionLock::TResult TSessionLock::Take(const std::string& path) {
    Release();
    // Shared with nobody: a second start's open fails while this process holds the file, and
    // Windows closes the handle when the process ends, however it ends. The file goes with the
    // handle, so an uninstalled program leaves no lock file behind.
    std::wstring wide;
    const HANDLE file =
        !ToWideStrictly(path, wide) || wide.empty()
            ? INVALID_HANDLE_VALUE
            : CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_SHARING_VIOLATION ? TResult::Held : TResult::Failed;
    }
    m_file = static_cast<long long>(reinterpret_cast<INT_PTR>(file));
    return TResult::Taken;
}

void TSessionLock::Release() {
    if (m_file != -1) {
        CloseHandle(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(m_file)));
        m_file = -1;
    }
}

bool TChannelClaim::Claim(const std::string& name) {
    Release();
    // An access list that lets this user alone in, and FILE_FLAG_FIRST_PIPE_INSTANCE, which fails
    // when any program has made a pipe of this name already: a program of another user could
    // otherwise make the pipe first and have a later start of ours hand its files to it.
    const std::vector<unsigned char>& user = ThisUser();
    if (user.empty()) {
        return false;
    }
    std::vector<unsigned char> list(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + user.size());
    const auto acl = reinterpret_cast<PACL>(list.data());
    auto* sid = const_cast<unsigned char*>(user.data());
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeAcl(acl, static_cast<DWORD>(list.size()), ACL_REVISION) ||
        !AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    // Qt's rule for a local server's name: the pipe namespace's prefix unless it has it.
    const std::wstring prefix = L"\\\\.\\pipe\\";
    std::wstring wide = QtWide(name);
    if (wide.rfind(prefix, 0) != 0) {
        wide = prefix + wide;
    }
    // The kind of pipe Qt makes for a local server, so its instances join this one.
    const HANDLE pipe = CreateNamedPipeW(
        wide.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, PIPE_UNLIMITED_INSTANCES, 0, 0, 3000,
        &attributes);
    if (pipe == INVALID_HANDLE_VALUE) {
        return false;
    }
    // The instance made is the pipe's only one: so also where the flag is not kept (Wine), and no
    // other user can add one, as the access list lets only this user make instances.
    DWORD instances = 0;
    if (!GetNamedPipeHandleStateW(pipe, nullptr, &instances, nullptr, nullptr, nullptr, 0) ||
        instances != 1) {
        CloseHandle(pipe);
        return false;
    }
    m_pipe = pipe;
    return true;
}

void TChannelClaim::Release() {
    if (m_pipe != nullptr) {
        CloseHandle(m_pipe);
        m_pipe = nullptr;
    }
}

int EndSignalDescriptor() { return -1; }

void TakeEndSignal(int) {}
