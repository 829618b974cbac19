#include "shell/ListRules.h"

#include "conversion/Paths.h"
#include "selection/AddRules.h"

std::string StatusText(int rows) {
    if (rows <= 0) {
        return "棋譜変換候補一覧に棋譜ファイルが追加されていません";
    }
    return std::to_string(rows) + "個の棋譜ファイルが変換候補一覧にあります";
}

std::string AddedStatusText(int added, int rows) {
    return std::to_string(added) + "個の棋譜ファイルを追加しました（" + std::to_string(rows) +
           "個が変換候補一覧にあります）";
}

std::vector<std::string> OpenedStatusForms(std::optional<std::size_t> added, int rows,
                                           std::size_t notRecords, std::size_t unstorable) {
    const std::string count = StatusText(rows);
    std::vector<std::string> forms;
    for (const std::string& form : LeftOutForms(added, notRecords, unstorable)) {
        forms.push_back(forms.empty() && added
                            ? AddedStatusText(static_cast<int>(*added), rows) + form
                            : count + form);
    }
    forms.push_back(count);
    return forms;
}

bool IsInstalledLayout(std::string_view exeDir, bool writable, std::string_view installBin) {
    const auto trimmed = [](std::string_view folder) {
        while (folder.size() > 1 && folder.back() == '/') {
            folder.remove_suffix(1);
        }
        return folder;
    };
    exeDir = trimmed(exeDir);
    return !writable || exeDir == trimmed(installBin) || ExtractFileName(exeDir) == "bin";
}
