#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The status line for a candidate list of rows rows (UTF-8):
// "<rows>個の棋譜ファイルが変換候補一覧にあります", or
// "棋譜変換候補一覧に棋譜ファイルが追加されていません" for an empty list.
std::string StatusText(int rows);

// The status line after files handed to the program added added rows to a list of rows rows
// (UTF-8): "<added>個の棋譜ファイルを追加しました（<rows>個が変換候補一覧にあります）".
std::string AddedStatusText(int added, int rows);

// The forms of the status line after files handed to the program gave rows (UTF-8), the whole
// text first, then shorter ones for a status line too narrow for it: added, when the line tells
// the rows added (AddedStatusText), and what was left out (LeftOutForms) after the sentence that
// tells the rows (StatusText), and last that sentence alone.
std::vector<std::string> OpenedStatusForms(std::optional<std::size_t> added, int rows,
                                           std::size_t notRecords, std::size_t unstorable);

// True when exeDir, the executable's folder, is that of an installed program rather than a folder
// of the program's own (a build tree, an unpacked archive): the user cannot write in it
// (writable false), it is installBin, the bin folder of the prefix the program was built for, or
// it is a bin folder of another prefix (/usr/local/bin, ~/.local/bin ...).
bool IsInstalledLayout(std::string_view exeDir, bool writable, std::string_view installBin);
