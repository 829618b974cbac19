#include "shell/OpenFiles.h"

#include "conversion/Paths.h"
#include "selection/FileList.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// path as an absolute, normal path without a separator at its end (but for the root).
std::string Absolute(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
    if (absolute.has_relative_path() && !absolute.has_filename()) {
        absolute = absolute.parent_path();
    }
    return absolute.string();
}

}  // namespace

std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths) {
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        if (!path.empty()) {
            absolute.push_back(Absolute(path));
        }
    }
    return absolute;
}

std::vector<TCandidateRow> CandidatesOf(const std::vector<std::string>& paths) {
    std::vector<TCandidateRow> rows;
    for (const std::string& given : paths) {
        if (given.empty()) {
            continue;
        }
        const std::string path = Absolute(given);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (fs::is_directory(status)) {
            TFileList list;
            list.SetMask({"*.sgf", "*.ugf", "*.ugi"});
            list.SetDirectory(path);
            for (const std::string& name : list.Files()) {
                rows.push_back({name, path});
            }
        } else if (fs::is_regular_file(status)) {
            rows.push_back({ExtractFileName(path), ExtractFileDir(path)});
        }
    }
    return rows;
}
