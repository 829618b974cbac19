#pragma once

#include <string>

// The folder of the program's two files for the running executable (see ProgramFolder), created
// when it is the user's configuration folder and does not exist yet.
std::string ProgramFolderOfThisExecutable();
