#include "conversion/FileOps.h"

#include <filesystem>
#include <system_error>

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool DeleteFile(const std::string& path) {
    std::error_code error;
    return FileExists(path) && std::filesystem::remove(path, error);
}

bool RenameFile(const std::string& from, const std::string& to) {
    std::error_code error;
    // Like the classic MoveFile: the target name must be free.
    if (!FileExists(from) || std::filesystem::exists(std::filesystem::symlink_status(to, error))) {
        return false;
    }
    std::filesystem::rename(from, to, error);
    return !error;
}
