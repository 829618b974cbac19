#include "conversion/LineList.h"

#include "conversion/Text.h"

#include <algorithm>
#include <cstring>

namespace {

// Position of the first byte c at or after from in text, or the size of text.
std::size_t NextByte(std::string_view text, std::size_t from, char c) {
    if (from >= text.size()) {
        return text.size();
    }
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                 : text.size();
}

}  // namespace

TLineCursor::TLineCursor(std::string_view text)
    : m_text(text.substr(0, NextByte(text, 0, '\0'))),
      m_nextCr(NextByte(m_text, 0, '\r')),
      m_nextLf(NextByte(m_text, 0, '\n')) {}

bool TLineCursor::Next(std::string_view& line) {
    if (m_at >= m_text.size()) {
        return false;
    }
    if (m_nextCr < m_at) {
        m_nextCr = NextByte(m_text, m_at, '\r');
    }
    if (m_nextLf < m_at) {
        m_nextLf = NextByte(m_text, m_at, '\n');
    }
    const std::size_t end = std::min(m_nextCr, m_nextLf);
    line = m_text.substr(m_at, end - m_at);
    m_at = end + 1;
    if (end < m_text.size() && m_text[end] == '\r' && m_at < m_text.size() &&
        m_text[m_at] == '\n') {
        ++m_at;
    }
    return true;
}

TLineList SplitLines(std::string_view text) {
    TLineList lines;
    TLineCursor cursor(text);
    for (std::string_view line; cursor.Next(line);) {
        lines.emplace_back(line);
    }
    return lines;
}

std::string JoinLines(const TLineList& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TLineList LoadLines(const std::string& path) { return SplitLines(LoadBytes(path)); }

void SaveLines(const std::string& path, const TLineList& lines) {
    SaveBytes(path, JoinLines(lines));
}

int IndexOfLine(const TLineList& lines, std::string_view text) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (SameTextIgnoringCase(lines[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
