#include "shell/OpenFiles.h"

#include "conversion/ConversionRun.h"
#include "conversion/Paths.h"
#include "selection/AddRules.h"
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

TOpenedFiles CandidatesOf(const std::vector<std::string>& paths) {
    TOpenedFiles opened;
    const auto add = [&opened](TCandidateRow row) {
        if (CanBeRow(row)) {
            opened.rows.push_back(std::move(row));
        } else {
            ++opened.unstorable;
        }
    };
    for (const std::string& given : paths) {
        if (given.empty()) {
            continue;
        }
        const std::string path = Absolute(given);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (fs::is_directory(status)) {
            TFileList list;
            list.SetMask(RecordMasks(TRecordKind::Other));
            list.SetDirectory(path);
            for (const std::string& name : list.Files()) {
                add({name, path});
            }
        } else if (fs::is_regular_file(status)) {
            if (RecordKindOf(path) == TRecordKind::Other) {
                ++opened.notRecords;
            } else {
                add({ExtractFileName(path), ExtractFileDir(path)});
            }
        }
    }
    return opened;
}
