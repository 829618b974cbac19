#pragma once

#include <string>
#include <string_view>
#include <vector>

// A text for the user, in pieces: program text in Shift-JIS, and file names as the file system
// spells them (UTF-8 as a rule on Linux, code page 932 on Windows). The pieces stay apart until a
// window or the terminal decodes each by its own rule, so no string ever mixes two encodings.
class TUserText {
public:
    struct TPiece {
        std::string bytes;
        bool isName = false;
        friend bool operator==(const TPiece&, const TPiece&) = default;
    };

    TUserText() = default;
    // Program text (Shift-JIS); implicit, so a plain text stands wherever a user text is asked for.
    TUserText(std::string text);
    TUserText(const char* text);

    // Appends program text (Shift-JIS).
    TUserText& Text(std::string_view text);
    // Appends a file name or path, as the file system spells it.
    TUserText& Name(std::string_view name);
    TUserText& Append(const TUserText& other);

    bool Empty() const;
    // The bytes of every piece, joined: for logs and byte comparisons, not for display.
    std::string Bytes() const;
    const std::vector<TPiece>& Pieces() const { return m_pieces; }

    friend bool operator==(const TUserText&, const TUserText&) = default;

private:
    std::vector<TPiece> m_pieces;
};

// Diagnostic lines, only ever appended to.
using TDiagnosticLines = std::vector<TUserText>;
