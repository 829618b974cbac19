#pragma once

#include "selection/CandidateRows.h"

#include <string>
#include <vector>

// The rows that files and folders handed to the program (on its command line, by "open with" or
// dropped on its list) give, in their order: a file is one row, its name and its folder; a folder
// gives the record files directly inside it (".sgf", ".ugf", ".ugi" in any letter case), sorted as
// the add-files dialog sorts them. A path that names nothing gives nothing. Relative paths are
// taken from the current folder; every row's folder is absolute, without "." and "..".
std::vector<TCandidateRow> CandidatesOf(const std::vector<std::string>& paths);

// The paths made absolute from the current folder, for handing them to a program that runs in
// another one. Empty paths are left out.
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& paths);
