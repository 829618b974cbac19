#include "conversion/LineList.h"

#include "conversion/Text.h"

TLineList SplitLines(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    TLineList lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(begin, i - begin));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            begin = i + 1;
        }
    }
    if (begin < text.size()) {
        lines.emplace_back(text.substr(begin));
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
