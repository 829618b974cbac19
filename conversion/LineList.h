#pragma once

#include "conversion/FileOps.h"

#include <string>
#include <string_view>
#include <vector>

// An ordered list of Shift-JIS text lines: the working container of the converters.
using TLineList = std::vector<std::string>;

// The lines of a text one at a time, each a view into the text, as SplitLines cuts them: CR LF, a
// lone CR or a lone LF end a line; a line end at the very end adds no empty line; a NUL ends the
// text. No line is copied and none is kept, so a record of any number of lines is walked in no
// more memory than the text. A copy of a cursor goes on from where the original stands, to look
// ahead.
class TLineCursor {
public:
    TLineCursor() = default;
    explicit TLineCursor(std::string_view text);

    // The next line; false, with line untouched, after the last one.
    bool Next(std::string_view& line);
    // True when no line is left.
    bool AtEnd() const { return m_at >= m_text.size(); }
    // The text the lines are read from, up to its first NUL.
    std::string_view Text() const { return m_text; }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    // The next CR and LF at or after m_at (the size of the text for none), each searched again
    // only once passed, so a text of lone CRs or of long lines is walked once.
    std::size_t m_nextCr = 0;
    std::size_t m_nextLf = 0;
};

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
