#include "conversion/FileOps.h"

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Text.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <random>
#include <string_view>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <filesystem>
#include <system_error>
#if defined(__unix__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#endif

namespace {

// The system reads a name up to its first NUL, so such a path would reach another file.
bool HasNul(const std::string& path) { return path.find('\0') != std::string::npos; }

// A short name of its own for a temporary file. Its length is fixed, so a target whose own name is
// as long as names may be still gets one beside it.
std::string TemporaryName() {
    static std::mt19937_64 generator{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".morvane-%08llx.tmp",
                  static_cast<unsigned long long>(generator() & 0xFFFFFFFFu));
    return name;
}

constexpr int TEMPORARY_ATTEMPTS = 100;

#if defined(_WIN32)

// Every name in this program is code page 932, as the classic program's were, also on a Windows
// whose own code page is another one.
constexpr UINT NAME_CODE_PAGE = 932;

struct THandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using THandle = std::unique_ptr<void, THandleCloser>;

// path as the wide functions take it, or empty when path names no file. A path too long for the
// classic limit of MAX_PATH characters becomes an absolute "\\?\" path, which has no such limit.
std::wstring WidePath(const std::string& path) {
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
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
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

bool MoveReplacing(const std::string& from, const std::string& to) {
    const std::wstring wideFrom = WidePath(from);
    const std::wstring wideTo = WidePath(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(wideFrom.c_str(), wideTo.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

#else

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.size() - ExtractFileName(path).size());
}

bool MoveReplacing(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

#endif

}  // namespace

#if defined(_WIN32)

bool FileExists(const std::string& path) {
    const std::wstring wide = WidePath(path);
    return !wide.empty() && IsFile(wide);
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

std::string LoadBytes(const std::string& path) {
    // Only a file on a disk is read. A folder cannot be opened this way; a pipe or a device could
    // block or never end, and device names such as CON or NUL stand in every folder.
    const THandle file =
        OpenFile(WidePath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) {
        throw TFileError(TFileErrorKind::Open, path);
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

std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes) {
    const std::string folder = FolderOf(path);
    // A target that names no file never gets its temporary file.
    const bool nameable = !WidePath(path).empty();
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
        const bool written = WriteAll(file.get(), bytes);
        if (CloseHandle(file.release()) == 0 || !written) {
            DeleteFileW(wide.c_str());
            break;
        }
        return temporary;
    }
    throw TFileError(TFileErrorKind::Create, path);
}

bool FolderExists(const std::string& path) {
    const std::wstring wide = WidePath(path);
    if (wide.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || HasNul(path) || path.size() > INT_MAX) {
        return {};
    }
    // Not WidePath: the "\\?\" form of a long path is for the system, not for the user's eyes.
    const int size = static_cast<int>(path.size());
    const int length =
        MultiByteToWideChar(NAME_CODE_PAGE, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(NAME_CODE_PAGE, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(),
                        length);
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
    std::error_code error;
    return !HasNul(path) && std::filesystem::is_regular_file(path, error);
}

bool RemoveFile(const std::string& path) {
    std::error_code error;
    return FileExists(path) && std::filesystem::remove(path, error);
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (HasNul(from) || HasNul(to)) {
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
    // Where the file system cannot refuse by itself: look first, then rename.
    std::error_code error;
    if (!FileExists(from) || std::filesystem::exists(std::filesystem::symlink_status(to, error))) {
        return false;
    }
    std::filesystem::rename(from, to, error);
    return !error;
}

std::string LoadBytes(const std::string& path) {
    if (HasNul(path)) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    // Only a file is read: a folder, or a pipe or device that could block or never end, is not.
#if defined(__unix__)
    // Opened without blocking and then looked at, so the name is looked up once.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw TFileError(TFileErrorKind::Open, path);
    }
    TFileHandle file(::fdopen(descriptor, "rb"));
    if (!file) {
        ::close(descriptor);
        throw TFileError(TFileErrorKind::Open, path);
    }
#else
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    TFileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw TFileError(TFileErrorKind::Open, path);
    }
#endif
    std::string bytes;
    char buffer[1 << 16];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, count);
    }
    if (std::ferror(file.get())) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    return bytes;
}

std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes) {
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < TEMPORARY_ATTEMPTS && !HasNul(path); ++attempt) {
        const std::string temporary = folder + TemporaryName();
        // "x": exclusive creation, so the temporary file never replaces anything of the user's.
        TFileHandle file(std::fopen(temporary.c_str(), "wbx"));
        if (!file) {
            continue;
        }
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
            std::fflush(file.get()) == 0;
        if (std::fclose(file.release()) != 0 || !written) {
            std::error_code error;
            std::filesystem::remove(temporary, error);
            break;
        }
        return temporary;
    }
    throw TFileError(TFileErrorKind::Create, path);
}

bool FolderExists(const std::string& path) {
    std::error_code error;
    return !HasNul(path) && std::filesystem::is_directory(path, error);
}

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

bool RenameOver(const std::string& from, const std::string& to) {
    return !HasNul(from) && !HasNul(to) && MoveReplacing(from, to);
}

void SaveBytes(const std::string& path, std::string_view bytes) {
    const std::string temporary = SaveTemporaryBeside(path, bytes);
    if (!MoveReplacing(temporary, path)) {
        (void)RemoveFile(temporary);
        throw TFileError(TFileErrorKind::Create, path);
    }
}
