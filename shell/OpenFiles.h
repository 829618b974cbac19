#pragma once

#include "selection/CandidateRows.h"

#include <cstddef>
#include <string>
#include <vector>

// What files and folders handed to the program give: the rows, and the files left out.
struct TOpenedFiles {
    std::vector<TCandidateRow> rows;
    // Files that are no records, by their extension.
    std::size_t notRecords = 0;
    // Records that cannot be rows (see CanBeRow): a line break in the name or the folder.
    std::size_t unstorable = 0;
};

// The rows that files and folders handed to the program (on its command line, by "open with" or
// dropped on its list) give, in their order: a record file (".sgf", ".ugf", ".ugi" in any letter
// case) is one row, its name and its folder; a folder gives the record files directly inside it,
// sorted as the add-files dialog sorts them. Other files, and records that cannot be rows, are
// left out and counted. A path that names nothing gives nothing. Relative paths are taken from the
// current folder; every row's folder is absolute, without "." and "..".
TOpenedFiles CandidatesOf(const std::vector<std::string>& paths);

// The paths made absolute from the current folder, for handing them to a program that runs in
// another one. Empty paths are left out.
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths);
