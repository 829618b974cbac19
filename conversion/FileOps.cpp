#include "conversion/FileOps.h"

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Text.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string_view>
#include <system_error>

#if defined(__unix__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

}  // namespace

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

void SaveBytes(const std::string& path, std::string_view bytes) {
    const std::string temporary = SaveTemporaryBeside(path, bytes);
    if (!MoveReplacing(temporary, path)) {
        (void)RemoveFile(temporary);
        throw TFileError(TFileErrorKind::Create, path);
    }
}
