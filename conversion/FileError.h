#pragma once

#include <stdexcept>
#include <string>

// What went wrong with a file: it could not be opened for reading, or not created or written.
enum class TFileErrorKind { Open, Create };

// A file that cannot be opened, created or written. what() is the user text in Shift-JIS,
// "ファイル <path> は開けません" or "ファイル <path> を作成できません"; the path is kept apart for
// callers that show the text in another encoding.
class TFileError : public std::runtime_error {
public:
    TFileError(TFileErrorKind kind, const std::string& path);

    TFileErrorKind kind;
    std::string path;
};
