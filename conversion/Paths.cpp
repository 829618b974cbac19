#include "conversion/Paths.h"

#include "conversion/Text.h"

namespace {

constexpr std::size_t NONE = std::string_view::npos;

char Separator(TPathStyle style) { return style == TPathStyle::Windows ? '\\' : '/'; }

bool IsDelimiter(char c, TPathStyle style) {
    return style == TPathStyle::Windows ? c == '\\' || c == ':' : c == '/';
}

// Where the single-byte characters that matter stand, 0-based.
struct TLandmarks {
    std::size_t delimiter = NONE;      // the last delimiter
    bool delimiterFollowsOne = false;  // the character before it is a delimiter too
    std::size_t dot = NONE;            // the last "." after the last delimiter
    bool endsWithSeparator = false;    // the last character is the separator
};

// The Windows style steps over double-byte characters, so a trail byte 0x5C is no "\". The POSIX
// style looks at single bytes only: "/" and "." never stand inside a UTF-8 character, and reading a
// UTF-8 name as Shift-JIS would let a byte such as the last one of 譜 (0x9C) swallow the "." or "/"
// after it.
TLandmarks FindLandmarks(std::string_view path, TPathStyle style) {
    TLandmarks marks;
    bool previousIsDelimiter = false;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = style == TPathStyle::Windows ? CharLength(path, i) : 1;
        const bool delimiter = length == 1 && IsDelimiter(path[i], style);
        if (delimiter) {
            marks.delimiter = i;
            marks.delimiterFollowsOne = previousIsDelimiter;
            marks.dot = NONE;
        } else if (length == 1 && path[i] == '.') {
            marks.dot = i;
        }
        marks.endsWithSeparator = length == 1 && path[i] == Separator(style);
        previousIsDelimiter = delimiter;
        i += length;
    }
    return marks;
}

}  // namespace

std::string JoinPath(std::string_view directory, std::string_view name, TPathStyle style) {
    std::string path(directory);
    if (!FindLandmarks(directory, style).endsWithSeparator) {
        path += Separator(style);
    }
    path += name;
    return path;
}

std::string ExtractFileName(std::string_view path, TPathStyle style) {
    const TLandmarks marks = FindLandmarks(path, style);
    return std::string(marks.delimiter == NONE ? path : path.substr(marks.delimiter + 1));
}

std::string ExtractFileDir(std::string_view path, TPathStyle style) {
    const TLandmarks marks = FindLandmarks(path, style);
    if (marks.delimiter == NONE) {
        return {};
    }
    // The root of a POSIX path keeps its "/", as the root of a Windows drive keeps its "\".
    const bool root = style == TPathStyle::Posix && marks.delimiter == 0;
    const bool dropSeparator =
        path[marks.delimiter] == Separator(style) && !marks.delimiterFollowsOne && !root;
    return std::string(path.substr(0, dropSeparator ? marks.delimiter : marks.delimiter + 1));
}

std::string ExtractFileExt(std::string_view path, TPathStyle style) {
    const TLandmarks marks = FindLandmarks(path, style);
    return marks.dot == NONE ? std::string() : std::string(path.substr(marks.dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension, TPathStyle style) {
    const TLandmarks marks = FindLandmarks(path, style);
    std::string result(marks.dot == NONE ? path : path.substr(0, marks.dot));
    result += extension;
    return result;
}
