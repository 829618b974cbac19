#pragma once

#include <string>
#include <string_view>

// How a path is taken apart. Windows: "\" and ":" delimit, and byte 0x5C is "\" only when it is
// not the trail byte of a double-byte character. Posix: "/" is the only delimiter, and names are
// file-system bytes (UTF-8 as a rule) in which no lead byte is looked for.
enum class TPathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr TPathStyle NATIVE_PATH_STYLE = TPathStyle::Windows;
#else
inline constexpr TPathStyle NATIVE_PATH_STYLE = TPathStyle::Posix;
#endif

// directory + name, with one separator added unless directory already ends in one; an empty
// directory gives the separator + name.
std::string JoinPath(std::string_view directory, std::string_view name,
                     TPathStyle style = NATIVE_PATH_STYLE);

// The text after the last delimiter; the whole path when it has none.
std::string ExtractFileName(std::string_view path, TPathStyle style = NATIVE_PATH_STYLE);

// The path up to and including its last delimiter, less that delimiter when it is the separator
// and the character before it is no delimiter ('C:\kifu\a.ugf' gives 'C:\kifu', 'C:\a.ugf' gives
// 'C:\', 'C:a.ugf' gives 'C:', '\a.ugf' gives ''; in the POSIX style the root keeps its separator,
// '/a.ugf' gives '/'). Empty when the path has no delimiter; joined with the file name again it
// gives back the path.
std::string ExtractFileDir(std::string_view path, TPathStyle style = NATIVE_PATH_STYLE);

// The text from the last "." after the last delimiter, dot included; empty when there is none.
std::string ExtractFileExt(std::string_view path, TPathStyle style = NATIVE_PATH_STYLE);

// path with its extension replaced by extension, or with extension appended when it has none.
std::string ChangeFileExt(std::string_view path, std::string_view extension,
                          TPathStyle style = NATIVE_PATH_STYLE);
