#pragma once

#include "conversion/FileOps.h"

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

// SplitLines of the whole file. Throws TFileError (Open) when it cannot be read.
TLineList LoadLines(const std::string& path);

// SaveBytes of JoinLines(lines).
void SaveLines(const std::string& path, const TLineList& lines);

// 0-based position of the first line equal to text with ASCII letter case ignored, or -1.
int IndexOfLine(const TLineList& lines, std::string_view text);
