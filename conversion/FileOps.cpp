#include "conversion/FileOps.h"

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string_view>

#if defined(_WIN32)
#include "win32/Windows.h"
#else
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/uio.h>
#include <system_error>
#include <unistd.h>
#endif

namespace {

// The system reads a name up to its first NUL, so such a path would reach another file.
bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

constexpr std::string_view TEMPORARY_PREFIX = ".morvane-";
constexpr std::string_view TEMPORARY_SUFFIX = ".tmp";
constexpr int TEMPORARY_ATTEMPTS = 100;
// A temporary file of the unnumbered form is taken for a leftover once it is this old.
constexpr auto UNNUMBERED_LEFTOVER_AGE = std::chrono::hours(1);

unsigned long long ThisProcess();

// A short name of its own for a temporary file, which names the process that writes it. Its
// length is bounded, so a target whose own name is as long as names may be still gets one beside
// it.
std::string TemporaryName() {
    static std::mt19937_64 generator{std::random_device{}()};
    char name[48];
    std::snprintf(name, sizeof name, ".morvane-%llu-%08llx.tmp", ThisProcess(),
                  static_cast<unsigned long long>(generator() & 0xFFFFFFFFu));
    return name;
}

bool IsHexDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
}

// What a name in a folder says of the program's temporary files: none of ours, one of the
// unnumbered form, or one of the process numbered.
struct TTemporaryOwner {
    enum class TKind { NotOurs, Unnumbered, Numbered } kind = TKind::NotOurs;
    unsigned long long process = 0;
};

TTemporaryOwner OwnerOfTemporary(std::string_view name) {
    if (name.size() <= TEMPORARY_PREFIX.size() + TEMPORARY_SUFFIX.size() ||
        name.substr(0, TEMPORARY_PREFIX.size()) != TEMPORARY_PREFIX ||
        name.substr(name.size() - TEMPORARY_SUFFIX.size()) != TEMPORARY_SUFFIX) {
        return {};
    }
    const std::string_view middle = name.substr(
        TEMPORARY_PREFIX.size(), name.size() - TEMPORARY_PREFIX.size() - TEMPORARY_SUFFIX.size());
    const std::size_t dash = middle.find('-');
    if (dash == std::string_view::npos) {
        if (middle.size() == 8 && IsHexDigits(middle)) {
            return {TTemporaryOwner::TKind::Unnumbered, 0};
        }
        return {};
    }
    const std::string_view number = middle.substr(0, dash);
    const std::string_view random = middle.substr(dash + 1);
    unsigned long long process = 0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), process);
    if (error != std::errc() || end != number.data() + number.size() || number.empty() ||
        number.front() == '0' || random.size() != 8 || !IsHexDigits(random)) {
        return {};
    }
    return {TTemporaryOwner::TKind::Numbered, process};
}

bool ProcessHasEnded(unsigned long long process);

// The temporary files in folder (with its trailing delimiter, or empty for the current folder)
// that a process left when it ended without finishing them, or old ones of the unnumbered form.
// Each calls remove with its full path; listed once per folder and process, so a batch in one
// folder lists it once.
template <typename TList, typename TRemove>
void RemoveLeftoversOnce(const std::string& folder, TList&& list, TRemove&& remove) {
    static std::set<std::string> swept;
    if (!swept.insert(folder).second) {
        return;
    }
    list([&](const std::string& name, bool oldEnough) {
        const TTemporaryOwner owner = OwnerOfTemporary(name);
        const bool leftover = (owner.kind == TTemporaryOwner::TKind::Numbered &&
                               owner.process != ThisProcess() && ProcessHasEnded(owner.process)) ||
                              (owner.kind == TTemporaryOwner::TKind::Unnumbered && oldEnough);
        if (leftover) {
            remove(folder + name);
        }
    });
}

// A new file at path through a temporary name: written whole beside it, then renamed to path,
// which must still be free.
bool SaveNewThroughTemporary(const std::string& path, const TWritable& content,
                             std::optional<TFileId>& identity) {
    const std::string temporary = SaveTemporaryBeside(path, content);
    if (!RenameFile(temporary, path)) {
        (void)RemoveFile(temporary);
        return false;
    }
    identity = FileIdentity(path);
    return true;
}

#if defined(_WIN32)

// Every name in this program is code page 932, as the classic program's were, also on a Windows
// whose own code page is another one.
constexpr UINT NAME_CODE_PAGE = 932;

struct THandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using THandle = std::unique_ptr<void, THandleCloser>;

// path in UTF-16, strictly: empty when it is no code page 932 text (or holds a NUL).
std::wstring StrictWide(const std::string& path) {
    if (path.empty() || HasNul(path) || path.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    const int length =
        MultiByteToWideChar(NAME_CODE_PAGE, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(NAME_CODE_PAGE, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(),
                        length);
    return wide;
}

// The absolute form of wide, or empty when the system gives none.
std::wstring FullWide(const std::wstring& wide) {
    const DWORD room = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (room == 0) {
        return {};
    }
    std::wstring full(room, L'\0');
    const DWORD written = GetFullPathNameW(wide.c_str(), room, full.data(), nullptr);
    if (written == 0 || written >= room) {
        return {};
    }
    full.resize(written);
    return full;
}

// path as the wide functions take it, or empty when path names no file. A path too long for the
// classic limit of MAX_PATH characters becomes an absolute "\\?\" path, which has no such limit.
std::wstring WidePath(const std::string& path) {
    std::wstring wide = StrictWide(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    const std::wstring full = FullWide(wide);
    if (full.empty()) {
        return {};
    }
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

THandle OpenFile(const std::wstring& path, DWORD access, DWORD sharing, DWORD disposition) {
    if (path.empty()) {
        return nullptr;
    }
    const HANDLE handle = CreateFileW(path.c_str(), access, sharing, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    return THandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The folder part of path with its delimiter, as the system reads the path: up to the last "\",
// "/" or ":" (a trail byte 0x5C is no "\"), so a temporary file lands beside its target whichever
// separator was typed.
std::string FolderOf(const std::string& path) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        const char c = path[i];
        if (CharLength(path, i) == 1 && (c == '\\' || c == '/' || c == ':')) {
            end = i + 1;
        }
    }
    return path.substr(0, end);
}

unsigned long long ThisProcess() { return GetCurrentProcessId(); }

bool ProcessHasEnded(unsigned long long process) {
    if (process > 0xFFFFFFFFull) {
        return true;
    }
    const HANDLE handle =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (handle == nullptr) {
        // A process that runs but may not be looked at (another user's) has not ended.
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(handle, &code) != 0 && code != STILL_ACTIVE;
    CloseHandle(handle);
    return ended;
}

void RemoveLeftovers(const std::string& folder) {
    RemoveLeftoversOnce(
        folder,
        [&](auto&& visit) {
            const std::wstring pattern = WidePath(folder + ".morvane-*.tmp");
            if (pattern.empty() && !folder.empty()) {
                return;
            }
            WIN32_FIND_DATAW entry;
            const HANDLE search =
                FindFirstFileW(pattern.empty() ? L".morvane-*.tmp" : pattern.c_str(), &entry);
            if (search == INVALID_HANDLE_VALUE) {
                return;
            }
            ULARGE_INTEGER now;
            FILETIME nowTime;
            GetSystemTimeAsFileTime(&nowTime);
            now.LowPart = nowTime.dwLowDateTime;
            now.HighPart = nowTime.dwHighDateTime;
            do {
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                    continue;
                }
                // The program's names are ASCII; any other name is none of ours.
                std::string name;
                bool ascii = true;
                for (const wchar_t* c = entry.cFileName; *c != L'\0'; ++c) {
                    ascii = ascii && *c < 0x80;
                    name.push_back(static_cast<char>(*c));
                }
                ULARGE_INTEGER written;
                written.LowPart = entry.ftLastWriteTime.dwLowDateTime;
                written.HighPart = entry.ftLastWriteTime.dwHighDateTime;
                const auto age = std::chrono::duration<unsigned long long, std::ratio<1, 10000000>>(
                    now.QuadPart > written.QuadPart ? now.QuadPart - written.QuadPart : 0);
                if (ascii) {
                    visit(name, age >= UNNUMBERED_LEFTOVER_AGE);
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        },
        [](const std::string& path) {
            const std::wstring wide = WidePath(path);
            if (!wide.empty()) {
                DeleteFileW(wide.c_str());
            }
        });
}

#else

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.size() - ExtractFileName(path).size());
}

// Asked of the system once: the programs never fork a process that goes on writing files.
unsigned long long ThisProcess() {
    static const unsigned long long process = static_cast<unsigned long long>(::getpid());
    return process;
}

bool ProcessHasEnded(unsigned long long process) {
    if (process > static_cast<unsigned long long>(INT_MAX)) {
        return true;
    }
    // A process that runs but may not be signalled (another user's) has not ended.
    return ::kill(static_cast<pid_t>(process), 0) != 0 && errno == ESRCH;
}

void RemoveLeftovers(const std::string& folder) {
    RemoveLeftoversOnce(
        folder,
        [&](auto&& visit) {
            const int descriptor =
                ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (descriptor < 0) {
                return;
            }
            DIR* directory = ::fdopendir(descriptor);
            if (directory == nullptr) {
                ::close(descriptor);
                return;
            }
            const auto now = std::chrono::system_clock::now();
            while (const dirent* entry = ::readdir(directory)) {
                const std::string name = entry->d_name;
                if (OwnerOfTemporary(name).kind == TTemporaryOwner::TKind::NotOurs) {
                    continue;
                }
                struct stat status {};
                if (::fstatat(descriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 ||
                    !S_ISREG(status.st_mode)) {
                    continue;
                }
                const auto written = std::chrono::system_clock::from_time_t(status.st_mtime);
                visit(name, now - written >= UNNUMBERED_LEFTOVER_AGE);
            }
            ::closedir(directory);
        },
        [](const std::string& path) { ::unlink(path.c_str()); });
}

// Writes all the bytes of pieces to descriptor in as few calls as the system takes (one for an
// output of a few blocks), going on after an interrupted or partial write.
bool WriteAll(int descriptor, std::span<const std::string_view> pieces) {
    constexpr std::size_t MOST_PIECES = 64;  // a call's share, well below any system's IOV_MAX
    std::size_t first = 0;
    std::size_t done = 0;  // bytes of pieces[first] already written
    while (first < pieces.size()) {
        iovec vectors[MOST_PIECES];
        std::size_t count = 0;
        std::size_t total = 0;
        for (std::size_t i = first; i < pieces.size() && count < MOST_PIECES; ++i) {
            const std::string_view piece = pieces[i].substr(i == first ? done : 0);
            const std::size_t length = std::min<std::size_t>(piece.size(), (1u << 30) - total);
            vectors[count].iov_base = const_cast<char*>(piece.data());
            vectors[count].iov_len = length;
            ++count;
            total += length;
            if (total >= (1u << 30)) {
                break;
            }
        }
        const ssize_t written = ::writev(descriptor, vectors, static_cast<int>(count));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0 || (written == 0 && total > 0)) {
            return false;
        }
        // Past what was written: whole pieces, then part of one.
        std::size_t left = static_cast<std::size_t>(written);
        while (first < pieces.size() && left >= pieces[first].size() - done) {
            left -= pieces[first].size() - done;
            ++first;
            done = 0;
        }
        done += left;
    }
    return true;
}

#endif

}  // namespace

#if defined(_WIN32)

bool FileExists(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return !wide.empty() && IsFile(wide);
}

bool FolderExists(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes =
        wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    const std::wstring wide = WidePath(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

namespace {

// The identity of the file that handle holds open; none for a folder.
std::optional<TFileId> IdentityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return TFileId{
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

}  // namespace

std::optional<TFileId> FileIdentity(const std::string& path) {
    // No access asked for: the file is only looked at, whoever holds it open.
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        return std::nullopt;
    }
    const HANDLE handle =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const THandle file(handle);
    return IdentityOf(handle);
}

bool FileOrLinkExists(const std::string& path) {
    // The attributes of a link are its own: one to a file counts as a file, reached or not.
    return FileExists(path);
}

bool RemoveFile(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return !wide.empty() && IsFile(wide) && DeleteFileW(wide.c_str()) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING the system itself refuses a target that exists, in the
    // same call that renames.
    const std::wstring wideFrom = WidePath(from);
    const std::wstring wideTo = WidePath(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(wideFrom.c_str(), wideTo.c_str(), 0) != 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    const std::wstring wideFrom = WidePath(from);
    const std::wstring wideTo = WidePath(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::string LoadBytes(const std::string& path, std::optional<TFileId>* identity) {
    // Only a file on a disk is read. A folder cannot be opened this way; a pipe or a device could
    // block or never end, and device names such as CON or NUL stand in every folder.
    const THandle file =
        OpenFile(WidePath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    // The identity of the very file read, as on other systems.
    if (identity != nullptr) {
        *identity = IdentityOf(file.get());
    }
    std::string bytes;
    char buffer[1 << 16];
    DWORD count = 0;
    do {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
            throw TFileError(TFileErrorKind::Open, path);
        }
        bytes.append(buffer, count);
    } while (count > 0);
    return bytes;
}

std::string SaveTemporaryBeside(const std::string& path, const TWritable& content,
                                TDurability durability) {
    const std::string folder = FolderOf(path);
    // A target that names no file never gets its temporary file.
    const bool nameable = !WidePath(path).empty();
    if (nameable) {
        RemoveLeftovers(folder);
    }
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS && nameable; ++attempt) {
        const std::string temporary = folder + TemporaryName();
        const std::wstring wide = WidePath(temporary);
        // CREATE_NEW: the temporary file never replaces anything of the user's.
        THandle file = OpenFile(wide, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
        if (!file) {
            const DWORD error = GetLastError();
            if (!wide.empty() && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) {
                continue;
            }
            break;
        }
        bool written = content.Write([&file](std::span<const std::string_view> pieces) {
            for (const std::string_view bytes : pieces) {
                if (!WriteAll(file.get(), bytes)) {
                    return false;
                }
            }
            return true;
        });
        if (written && durability == TDurability::Kept) {
            written = FlushFileBuffers(file.get()) != 0;
        }
        if (CloseHandle(file.release()) == 0 || !written) {
            DeleteFileW(wide.c_str());
            break;
        }
        return temporary;
    }
    throw TFileError(TFileErrorKind::Create, path);
}

std::string AbsolutePath(const std::string& path) {
    // Not WidePath: the "\\?\" form of a long path is for the system, not for the user's eyes.
    const std::wstring wide = StrictWide(path);
    std::wstring full = wide.empty() ? std::wstring() : FullWide(wide);
    if (full.empty()) {
        return {};
    }
    // A folder loses the separator at its end; a drive's root (C:\) keeps it.
    while (full.size() > 3 && full.back() == L'\\') {
        full.pop_back();
    }
    BOOL lossy = FALSE;
    const int fullSize = static_cast<int>(full.size());
    const int bytes = WideCharToMultiByte(NAME_CODE_PAGE, WC_NO_BEST_FIT_CHARS, full.data(),
                                          fullSize, nullptr, 0, nullptr, &lossy);
    std::string absolute(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(NAME_CODE_PAGE, WC_NO_BEST_FIT_CHARS, full.data(), fullSize,
                        absolute.data(), bytes, nullptr, &lossy);
    return lossy ? std::string() : absolute;
}

#else

bool FileExists(const std::string& path) {
    struct stat status {};
    return !HasNul(path) && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat status {};
    return !HasNul(path) && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
    struct stat status {};
    if (HasNul(path) || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

std::optional<TFileId> FileIdentity(const std::string& path) {
    struct stat status {};
    if (HasNul(path) || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return TFileId{static_cast<std::uint64_t>(status.st_dev),
                   static_cast<std::uint64_t>(status.st_ino)};
}

bool FileOrLinkExists(const std::string& path) {
    struct stat status {};
    if (HasNul(path) || ::lstat(path.c_str(), &status) != 0) {
        return false;
    }
    return S_ISREG(status.st_mode) || (S_ISLNK(status.st_mode) && !FolderExists(path));
}

bool RemoveFile(const std::string& path) {
    return FileOrLinkExists(path) && ::unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (HasNul(from) || HasNul(to) || !FileOrLinkExists(from)) {
        return false;
    }
#if defined(__linux__) && defined(RENAME_NOREPLACE)
    // Like the classic MoveFile, the target name must be free; one call checks and renames.
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
#endif
    // Where the file system cannot refuse by itself (FUSE): a second name for the file, which the
    // system gives only while the name is free, so no other program's file can slip in between;
    // then the first name goes. A link gets the name itself, never what it leads to.
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) {
        if (::unlink(from.c_str()) == 0) {
            return true;
        }
        ::unlink(to.c_str());
        return false;
    }
    if (errno == EEXIST) {
        return false;
    }
    // Where it has no second names either (FAT): look first, then rename.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0) {
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    return !HasNul(from) && !HasNul(to) && ::rename(from.c_str(), to.c_str()) == 0;
}

std::string LoadBytes(const std::string& path, std::optional<TFileId>* identity) {
    if (HasNul(path)) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    // Only a file is read: a folder, or a pipe or device that could block or never end, is not.
    // Opened without blocking and then looked at, so the name is looked up once.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw TFileError(TFileErrorKind::Open, path);
    }
    if (identity != nullptr) {
        *identity = TFileId{static_cast<std::uint64_t>(status.st_dev),
                            static_cast<std::uint64_t>(status.st_ino)};
    }
    // Read into a string of the file's size, so the bytes are held once and never moved; a file
    // whose size says nothing (0, as some system files show) is read to its end in pieces. A size
    // the memory cannot hold is refused, not cut.
    if (static_cast<std::uintmax_t>(status.st_size) > std::string().max_size()) {
        ::close(descriptor);
        throw TFileError(TFileErrorKind::Open, path);
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t got = 0;
    const bool toTheEnd = bytes.empty();
    char buffer[1 << 16];
    for (;;) {
        char* const into = toTheEnd ? buffer : bytes.data() + got;
        const std::size_t room = toTheEnd ? sizeof buffer : bytes.size() - got;
        if (room == 0) {
            break;
        }
        const ssize_t count = ::read(descriptor, into, room);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ::close(descriptor);
            throw TFileError(TFileErrorKind::Open, path);
        }
        if (count == 0) {
            break;
        }
        if (toTheEnd) {
            bytes.append(buffer, static_cast<std::size_t>(count));
        } else {
            got += static_cast<std::size_t>(count);
        }
    }
    ::close(descriptor);
    if (!toTheEnd) {
        bytes.resize(got);  // the file was cut short while it was read
    }
    return bytes;
}

std::string SaveTemporaryBeside(const std::string& path, const TWritable& content,
                                TDurability durability) {
    const std::string folder = FolderOf(path);
    if (HasNul(path)) {
        throw TFileError(TFileErrorKind::Create, path);
    }
    RemoveLeftovers(folder);
    // The permissions the file that is replaced has; a new file gets the usual ones.
    struct stat old {};
    const bool keepMode =
        durability == TDurability::Kept && ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS; ++attempt) {
        const std::string temporary = folder + TemporaryName();
        // O_EXCL: the temporary file never replaces anything of the user's.
        const int descriptor =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) {
                continue;
            }
            break;
        }
        bool written = content.Write([descriptor](std::span<const std::string_view> pieces) {
            return WriteAll(descriptor, pieces);
        });
        if (written && keepMode) {
            written = ::fchmod(descriptor, old.st_mode & 07777) == 0;
        }
        if (written && durability == TDurability::Kept) {
            written = ::fsync(descriptor) == 0;
        }
        if (::close(descriptor) != 0 || !written) {
            ::unlink(temporary.c_str());
            break;
        }
        return temporary;
    }
    throw TFileError(TFileErrorKind::Create, path);
}

#if defined(__linux__) && defined(O_TMPFILE)

bool SaveNewFile(const std::string& path, const TWritable& content,
                 std::optional<TFileId>& identity) {
    if (HasNul(path)) {
        throw TFileError(TFileErrorKind::Create, path);
    }
    const std::string folder = FolderOf(path);
    RemoveLeftovers(folder);
    const int descriptor =
        ::open(folder.empty() ? "." : folder.c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
        struct stat status {};
        const bool written = content.Write([descriptor](std::span<const std::string_view> pieces) {
            return WriteAll(descriptor, pieces);
        }) && ::fstat(descriptor, &status) == 0;
        bool linked = false;
        int error = 0;
        if (written) {
            // The file is named through the process's own link to it.
            const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
            linked =
                ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
            error = errno;
        }
        ::close(descriptor);  // a file never linked goes with it
        if (!written) {
            throw TFileError(TFileErrorKind::Create, path);
        }
        if (linked) {
            identity = TFileId{static_cast<std::uint64_t>(status.st_dev),
                               static_cast<std::uint64_t>(status.st_ino)};
            return true;
        }
        if (error == EEXIST) {
            return false;
        }
        // No /proc, or a file system that cannot link such a file: through a name.
    }
    return SaveNewThroughTemporary(path, content, identity);
}

#endif

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || HasNul(path)) {
        return {};
    }
    std::error_code error;
    std::filesystem::path absolute =
        std::filesystem::absolute(std::filesystem::path(path), error).lexically_normal();
    if (absolute.has_relative_path() && !absolute.has_filename()) {
        absolute = absolute.parent_path();
    }
    return absolute.string();
}

#endif

std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes,
                                TDurability durability) {
    return SaveTemporaryBeside(path, std::span<const std::string_view>(&bytes, 1), durability);
}

std::string SaveTemporaryBeside(const std::string& path, std::span<const std::string_view> pieces,
                                TDurability durability) {
    return SaveTemporaryBeside(path, TSpanWritable(pieces), durability);
}

#if !defined(__linux__) || !defined(O_TMPFILE)

bool SaveNewFile(const std::string& path, const TWritable& content,
                 std::optional<TFileId>& identity) {
    return SaveNewThroughTemporary(path, content, identity);
}

#endif

bool SaveNewFile(const std::string& path, std::span<const std::string_view> pieces,
                 std::optional<TFileId>& identity) {
    return SaveNewFile(path, TSpanWritable(pieces), identity);
}

void SaveBytes(const std::string& path, std::string_view bytes, TDurability durability) {
    const std::string temporary = SaveTemporaryBeside(path, bytes, durability);
    if (!MoveFileOver(temporary, path)) {
        (void)RemoveFile(temporary);
        throw TFileError(TFileErrorKind::Create, path);
    }
}
