#include "conversion/FileOps.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(__linux__)
#include <fcntl.h>
#endif

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool DeleteFile(const std::string& path) {
    std::error_code error;
    return FileExists(path) && std::filesystem::remove(path, error);
}

bool RenameFile(const std::string& from, const std::string& to) {
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
