#pragma once

#include "conversion/UserText.h"

#include <stdexcept>
#include <string>

// An error that ends what the user asked for and is shown to them. what() is the text's bytes;
// text keeps program text and file names apart for display.
class TUserError : public std::runtime_error {
public:
    explicit TUserError(TUserText text);

    TUserText text;
};

// What went wrong with a file: it could not be opened for reading, or not created or written.
enum class TFileErrorKind { Open, Create };

// A file that cannot be opened, created or written: "ファイル <path> は開けません" or
// "ファイル <path> を作成できません", the path as given.
class TFileError : public TUserError {
public:
    TFileError(TFileErrorKind kind, const std::string& path);

    TFileErrorKind kind;
    std::string path;
};
