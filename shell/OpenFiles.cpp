#include "shell/OpenFiles.h"

#include "conversion/FileOps.h"
#include "conversion/Paths.h"
#include "selection/FileList.h"

std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths) {
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        if (!path.empty()) {
            absolute.push_back(AbsolutePath(path));
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
        const std::string path = AbsolutePath(given);
        if (FolderExists(path)) {
            TFileList list;
            list.SetMask({"*.sgf", "*.ugf", "*.ugi"});
            list.SetDirectory(path);
            for (const std::string& name : list.Files()) {
                rows.push_back({name, path});
            }
        } else if (FileExists(path)) {
            rows.push_back({ExtractFileName(path), ExtractFileDir(path)});
        }
    }
    return rows;
}
