#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A settings file in the classic private-profile form: "[section]" lines, then "key=value" lines.
// Sections and keys are found without regard to ASCII letter case and with the blanks around them
// ignored; every line that is not written to stays byte for byte as it was, other sections, keys,
// comments, blank lines and line ends included; new lines end in CR LF. Texts are bytes.
class TProfile {
public:
    TProfile() = default;
    // The profile held in bytes (lines end at CR LF, a lone CR or a lone LF; a NUL is kept).
    explicit TProfile(std::string_view bytes);

    // The value of key in section, without the blanks around it and without one pair of matching
    // quotes around it; nothing when the section or the key is missing.
    std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
    // Sets the value of key in section. An existing key keeps its line's key text; a new key goes
    // after the last key line of its section; a new section goes at the end of the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The profile as bytes.
    std::string Bytes() const;

private:
    struct TKeyLine {
        std::size_t line;
        std::size_t keyEnd;  // where the key text (blanks included) ends: the "="
    };
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::optional<TKeyLine> FindKey(std::size_t sectionLine, std::string_view key) const;
    std::size_t SectionEnd(std::size_t sectionLine) const;

    // Inserts a line ended by CR LF before line at, ending the last line first when it has no end.
    void Insert(std::size_t at, std::string line);

    std::vector<std::string> m_lines;
    std::vector<std::string> m_ends;
};

// An integer as the settings file holds it: text longer than two characters that begins with "0x"
// or "0X" is hexadecimal after those two; otherwise an optional sign and decimal digits, or "$"
// and hexadecimal digits. Hexadecimal takes at most 8 digits, read as the 32 bits of a signed
// integer; a decimal must fit a signed 32-bit integer. Nothing for any other text.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);
