#pragma once

#include <string>

// The folder of the program's two files for the running executable (see ProgramFolder).
struct TProgramPlace {
    // With its trailing separator; empty when there is none (an installed program without a
    // home folder).
    std::string folder;
    // False when the folder is not there and could not be made: nothing can be stored in it.
    bool usable = true;
};

// The place of the running executable's two files, its folder made when it is the user's
// configuration folder and does not exist yet.
TProgramPlace ProgramPlaceOfThisExecutable();
