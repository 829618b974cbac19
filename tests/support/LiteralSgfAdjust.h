#pragma once

#include "conversion/LineList.h"
#include "conversion/Text.h"

#include <string>
#include <vector>

// The SGF splitter walked the slow, literal way: every search starts at the front of a text and
// every cut copies the rest, with the 1-based positions of FindText. Quadratic on purpose: the
// tests and the fuzz target hold TSGFAdjust, which walks offsets, to it on small inputs.
// Header-only, so the fuzz build can use it without the test libraries.

struct TLiteralSplit {
    bool ok = false;
    TLineList hd, ha, ck;
};

namespace literal {

// The first count bytes of text, and the rest after them.
inline std::string Head(const std::string& text, std::size_t count) {
    return Copy(text, 1, static_cast<long long>(count));
}
inline std::string After(const std::string& text, std::size_t count) {
    return Copy(text, static_cast<long long>(count) + 1, static_cast<long long>(text.size()));
}

// True when the last character of text, walked from its front, is the single byte c.
inline bool LastCharacterIs(const std::string& text, char c) {
    std::size_t i = 0, last = 0;
    for (; i < text.size(); i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1) {
        last = i;
    }
    return !text.empty() && last + 1 == text.size() && text[last] == c;
}

// Takes carried + line apart at every separator; the rest is carried on.
inline void Cut(const char* separator, const std::string& line, std::string& carried,
                TLineList& pieces) {
    std::string text = carried + line;
    for (std::size_t p; (p = FindText(separator, text)) != 0; text = After(text, p)) {
        pieces.push_back(Head(text, p));
    }
    carried = text;
}

// text without its leading bytes of value 32 or less.
inline std::string LeftTrimmed(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text[0]) <= 32) {
        text = After(text, 1);
    }
    return text;
}

// True when lines[0] to lines[count - 1], walked from the front as one text, end inside a property
// value: one opens at "[" and ends at the next "]" that no "\" escapes (a "\" escapes the whole
// character after it, and nothing when it ends its line); a double-byte character, also one whose
// trail byte is the first byte of the next line, is neither.
inline bool EndsInsideValue(const TLineList& lines, std::size_t count) {
    std::string text;
    std::vector<bool> lastOfLine;
    for (std::size_t i = 0; i < count; ++i) {
        text += lines[i];
        lastOfLine.resize(text.size(), false);
        if (!lines[i].empty()) {
            lastOfLine.back() = true;
        }
    }
    bool open = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (length == 1 && !open && text[i] == '[') {
            open = true;
        } else if (length == 1 && open && text[i] == ']') {
            open = false;
        } else if (length == 1 && open && text[i] == '\\' && !lastOfLine[i] &&
                   i + 1 < text.size()) {
            i += 1 + (IsLeadByte(static_cast<unsigned char>(text[i + 1])) ? 2 : 1);
            continue;
        }
        i += length;
    }
    return open;
}

}  // namespace literal

inline TLiteralSplit LiteralSgfAdjust(TLineList lines) {
    using namespace literal;
    TLiteralSplit out;
    if (lines.empty()) {
        return out;
    }
    while (!lines.empty()) {  // blanks and byte-order marks before the first non-blank byte go
        std::string& first = lines.front();
        while (!first.empty() && static_cast<unsigned char>(first[0]) <= 32) {
            first = After(first, 1);
        }
        if (Head(first, 3) == "\xEF\xBB\xBF") {
            first = After(first, 3);
            continue;
        }
        if (!first.empty()) {
            break;
        }
        lines.erase(lines.begin());
    }
    if (lines.empty()) {
        return out;
    }
    // The opening "(" alone with its node indented on the next line, or with no ";" before the
    // first property name, reads as "(;".
    if (Head(lines[0], 1) == "(" && Head(lines[0], 2) != "(;") {
        const std::string rest = After(lines[0], 1);
        std::string next = lines.size() > 1 ? lines[1] : "";
        while (!next.empty() && static_cast<unsigned char>(next[0]) <= 32) {
            next = After(next, 1);
        }
        std::string following = rest;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            following += " " + lines[i];
        }
        following = Trim(following);
        const char c = following.empty() ? '\0' : following[0];
        if (Trim(rest).empty() && lines.size() > 1 && Head(next, 1) == ";") {
            lines[1] = next;
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            lines[0] = "(;" + rest;
        }
    }
    TLineList joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A line that begins inside a value belongs to it; "( ;" reads as "(;".
        const std::string node = LeftTrimmed(After(lines[i], 1));
        if (EndsInsideValue(lines, i)) {
            if (!lines[i].empty()) {
                joined.push_back(lines[i]);
            }
        } else if (Head(lines[i], 2) == "(;") {
            joined.push_back("(;");
            if (lines[i].size() > 2) {
                joined.push_back(After(lines[i], 2));
            }
        } else if (Head(lines[i], 1) == "(" && Head(node, 1) == ";") {
            joined.push_back("(;");
            if (node.size() > 1) {
                joined.push_back(After(node, 1));
            }
        } else if (Head(lines[i], 1) == "(") {
            if (i + 1 < lines.size() && Head(lines[i + 1], 1) == ";") {
                joined.push_back("(;");
                if (lines[++i].size() > 1) {
                    joined.push_back(After(lines[i], 1));
                }
            }
        } else if (!lines[i].empty()) {
            joined.push_back(lines[i]);
        }
    }
    if (joined.empty()) {
        return out;
    }
    if (joined.back() != ")" && LastCharacterIs(joined.back(), ')')) {
        joined.back() = Head(joined.back(), joined.back().size() - 1);
        joined.push_back(")");
    }
    if (FindText("(;", joined.front()) == 0 || FindText(")", joined.back()) == 0) {
        return out;
    }
    TLineList header, moves;
    bool inHeader = true;
    for (std::size_t i = 1; i + 1 < joined.size(); ++i) {
        const std::size_t p = inHeader ? FindText(";", joined[i]) : 0;
        if (!inHeader) {
            moves.push_back(joined[i]);
        } else if (p == 0 || p == joined[i].size()) {
            header.push_back(joined[i]);
            inHeader = p == 0;
        } else {
            header.push_back(Head(joined[i], p));
            moves.push_back(After(joined[i], p));
            inHeader = false;
        }
    }
    if (!header.empty()) {
        const std::size_t p = FindText(";", header.back());
        if (header.back() == ";") {
            header.pop_back();
        } else if (p != 0 && p == header.back().size()) {
            header.back() = Head(header.back(), p - 1);
        }
    }
    TLineList properties;
    std::string carried;
    for (const std::string& line : header) {
        Cut("]", line, carried, properties);
    }
    carried.clear();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        Cut(";", moves[i], carried, out.ck);
        if (i + 1 == moves.size()) {
            out.ck.push_back(carried);
        }
    }
    for (std::string& node : out.ck) {
        if (LastCharacterIs(node, ';')) {
            node = Head(node, node.size() - 1);
        }
    }
    bool afterStone = false;
    for (const std::string& property : properties) {
        std::string entry = property;
        while (!entry.empty() && static_cast<unsigned char>(entry[0]) <= 32) {
            entry = After(entry, 1);
        }
        const std::string value = Head(entry, 2) == "AB" ? LeftTrimmed(After(entry, 2)) : "";
        if (Head(value, 1) == "[") {
            out.ha.push_back("AB" + value);
            afterStone = true;
        } else if (afterStone && Head(entry, 1) == "[") {
            out.ha.push_back("AB" + entry);
        } else {
            out.hd.push_back(property);
            afterStone = false;
        }
    }
    out.ok = true;
    return out;
}
