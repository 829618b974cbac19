#pragma once

#include <string>
#include <string_view>
#include <vector>

// An ordered list of Shift-JIS text lines: the working container of the converters.
using TLineList = std::vector<std::string>;

// Lines of text: CR LF, a lone CR or a lone LF end a line; a line end at the very end adds no
// empty line; a NUL ends the text. Lines are taken whole, never trimmed.
TLineList SplitLines(std::string_view text);

// The lines, each followed by CR LF.
std::string JoinLines(const TLineList& lines);

// Whole file as bytes. Throws TFileError (Open) when it cannot be read.
std::string LoadBytes(const std::string& path);

// SplitLines of the whole file. Throws TFileError (Open) when it cannot be read.
TLineList LoadLines(const std::string& path);

// Creates or replaces the file with bytes. The bytes go to a new temporary file in the same folder,
// which is then renamed over path, so a failure never leaves a half-written file. Throws
// TFileError (Create) when the file cannot be written.
void SaveBytes(const std::string& path, std::string_view bytes);

// Writes bytes to a new file of a short name of its own in path's folder (so a rename moves it over
// path) and answers its name. Throws TFileError (Create) naming path when it cannot be written.
std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes);

// SaveBytes of JoinLines(lines).
void SaveLines(const std::string& path, const TLineList& lines);

// 0-based position of the first line equal to text with ASCII letter case ignored, or -1.
int IndexOfLine(const TLineList& lines, std::string_view text);
