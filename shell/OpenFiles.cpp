#include "shell/OpenFiles.h"

#include "conversion/ConversionRun.h"
#include "conversion/FileOps.h"
#include "conversion/Paths.h"
#include "selection/AddRules.h"
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
        const std::string path = AbsolutePath(given);
        if (FolderExists(path)) {
            TFileList list;
            list.SetMask(RecordMasks(TRecordKind::Other));
            list.SetDirectory(path);
            for (const std::string& name : list.Files()) {
                add({name, path});
            }
        } else if (FileExists(path)) {
            if (RecordKindOf(path) == TRecordKind::Other) {
                ++opened.notRecords;
            } else {
                add({ExtractFileName(path), ExtractFileDir(path)});
            }
        }
    }
    return opened;
}
