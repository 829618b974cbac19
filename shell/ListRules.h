#pragma once

#include <optional>
#include <string>
#include <string_view>

// The status line for a candidate list of rows rows (UTF-8):
// "<rows>個の棋譜ファイルが変換候補一覧に あります", or
// "棋譜変換候補一覧に棋譜ファイルが追加されていません" for an empty list.
std::string StatusText(int rows);

// The status line after files handed to the program added added rows to a list of rows rows
// (UTF-8): "<added>個の棋譜ファイルを追加しました（<rows>個が変換候補一覧にあります）".
std::string AddedStatusText(int added, int rows);

// True when exeDir, the executable's folder, is the bin folder of an installation (/usr/bin,
// /usr/local/bin, ~/.local/bin ...) rather than a folder of the program's own, such as a build
// tree or an unpacked archive.
bool IsInstalledLayout(std::string_view exeDir);
