#include "shell/ListRules.h"

#include "conversion/Paths.h"


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

bool IsInstalledLayout(std::string_view exeDir) {
    while (exeDir.size() > 1 && exeDir.back() == '/') {
        exeDir.remove_suffix(1);
    }
    return ExtractFileName(exeDir) == "bin";
}
