#pragma once

#include <cstddef>
#include <string>

#include "conversion/LineList.h"
#include "conversion/Text.h"

// The SGF splitter walked the slow, literal way: every search starts at the front of a text and
// every cut copies the rest of it, with 1-based positions as FindText and Copy give them. Quadratic
// on purpose; the tests and the fuzz target hold TSGFAdjust, which walks offsets, to it on small
// inputs. Header-only, so the fuzz build can use it without the test libraries.

struct TLiteralSplit {
    bool ok = false;
    TLineList hd;
    TLineList ha;
    TLineList ck;
};

namespace literal {

inline long long Size(const std::string& text) {
    return static_cast<long long>(text.size());
}

// The rest of text after the 1-based position p.
inline std::string After(const std::string& text, std::size_t p) {
    return Copy(text, static_cast<long long>(p) + 1, Size(text));
}

// True when the last character of text, walked from its front, is the single byte c.
inline bool LastCharacterIs(const std::string& text, char c) {
    std::size_t i = 0;
    std::size_t last = std::string::npos;
    while (i < text.size()) {
        last = i;
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return last != std::string::npos && last + 1 == text.size() && text[last] == c;
}

// Cuts carried + each line after every separator, copying the rest after each cut.
inline void CutPieces(const std::string& separator, const std::string& line, std::string& carried,
                      TLineList& pieces) {
    std::string text = carried + line;
    for (std::size_t p; (p = FindText(separator, text)) != 0;) {
        pieces.push_back(Copy(text, 1, static_cast<long long>(p)));
        text = After(text, p);
    }
    carried = text;
}

}  // namespace literal

inline TLiteralSplit LiteralSgfAdjust(TLineList lines) {
    using namespace literal;
    TLiteralSplit out;
    if (lines.empty()) {
        return out;
    }
    // Blanks and byte-order marks before the first non-blank byte of the file go.
    while (!lines.empty()) {
        std::string& first = lines.front();
        for (;;) {
            if (!first.empty() && static_cast<unsigned char>(first[0]) <= 32) {
                first = After(first, 1);
            } else if (Copy(first, 1, 3) == "\xEF\xBB\xBF") {
                first = After(first, 3);
            } else {
                break;
            }
        }
        if (!first.empty()) {
            break;
        }
        lines.erase(lines.begin());
    }
    TLineList joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (Copy(line, 1, 2) == "(;") {
            joined.push_back("(;");
            if (line.size() > 2) {
                joined.push_back(After(line, 2));
            }
        } else if (Copy(line, 1, 1) == "(") {
            if (i + 1 < lines.size() && Copy(lines[i + 1], 1, 1) == ";") {
                joined.push_back("(;");
                if (lines[i + 1].size() > 1) {
                    joined.push_back(After(lines[i + 1], 1));
                }
                ++i;
            }
        } else if (!line.empty()) {
            joined.push_back(line);
        }
    }
    if (joined.empty()) {
        return out;
    }
    std::string last = joined.back();
    if (last != ")" && LastCharacterIs(last, ')')) {
        joined.back() = Copy(last, 1, Size(last) - 1);
        joined.push_back(")");
    }
    if (FindText("(;", joined.front()) == 0 || FindText(")", joined.back()) == 0) {
        return out;
    }
    TLineList header;
    TLineList moves;
    bool inHeader = true;
    for (std::size_t i = 1; i + 1 < joined.size(); ++i) {
        const std::string& entry = joined[i];
        if (!inHeader) {
            moves.push_back(entry);
            continue;
        }
        const std::size_t p = FindText(";", entry);
        if (p == 0) {
            header.push_back(entry);
        } else if (p == entry.size()) {
            header.push_back(entry);
            inHeader = false;
        } else {
            header.push_back(Copy(entry, 1, static_cast<long long>(p)));
            inHeader = false;
            moves.push_back(After(entry, p));
        }
    }
    if (!header.empty()) {
        std::string& final = header.back();
        const std::size_t p = FindText(";", final);
        if (final == ";") {
            header.pop_back();
        } else if (p != 0 && p == final.size()) {
            final = Copy(final, 1, static_cast<long long>(p) - 1);
        }
    }
    TLineList properties;
    std::string carried;
    for (const std::string& line : header) {
        CutPieces("]", line, carried, properties);
    }
    carried.clear();
    for (std::size_t i = 0; i < moves.size(); ++i) {
        CutPieces(";", moves[i], carried, out.ck);
        if (i + 1 == moves.size()) {
            out.ck.push_back(carried);
        }
    }
    for (std::string& node : out.ck) {
        if (LastCharacterIs(node, ';')) {
            node = Copy(node, 1, Size(node) - 1);
        }
    }
    bool afterStone = false;
    for (const std::string& property : properties) {
        if (Copy(property, 1, 3) == "AB[") {
            out.ha.push_back(property);
            afterStone = true;
        } else if (afterStone && Copy(property, 1, 1) == "[") {
            out.ha.push_back("AB" + property);
        } else {
            out.hd.push_back(property);
            afterStone = false;
        }
    }
    out.ok = true;
    return out;
}
