#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-string text rules for Shift-JIS (code page 932). Every search, cut and case mapping here
// steps over double-byte characters whole, so a trail byte that looks like "]", "\" or a letter is
// never taken for one.

// True when b starts a double-byte Shift-JIS character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character that starts at text[i]: 2 for a lead byte with a trail byte
// after it, else 1 (a lead byte at the very end stands alone).
constexpr std::size_t CharLength(std::string_view text, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// 0-based position of the first pattern in text at or after start, or npos. start must be a
// character boundary. A match never begins on a trail byte; the search ends at the first NUL byte
// of text, as if text were zero-terminated. An empty pattern is never found.
std::size_t FindFrom(std::string_view pattern, std::string_view text, std::size_t start = 0);

// 1-based byte position of the first pattern in text, or 0 when there is none or either is empty;
// never starts on a trail byte, and nothing after a NUL in text is found.
std::size_t FindText(std::string_view pattern, std::string_view text);

// True when the last character of text, counted from its start, is the single byte c, and not the
// trail byte of a double-byte character. Looks back over the lead-byte values before the last byte
// only, not over the whole text.
bool EndsWithCharacter(std::string_view text, char c);

// ASCII letters upper-cased; trail bytes and every other byte unchanged.
std::string AnsiUpper(std::string_view text);

// Upper-cases the ASCII letters among the first length bytes of text, walking its characters
// from the start; trail bytes and every other byte unchanged.
void AnsiUpperPrefix(std::string& text, std::size_t length);

// ASCII letters lower-cased; trail bytes and every other byte unchanged.
std::string AnsiLower(std::string_view text);

// Appends text to out with its ASCII letters lower-cased (as AnsiLower) or upper-cased (as
// AnsiUpper).
void AppendAnsiLower(std::string& out, std::string_view text);
void AppendAnsiUpper(std::string& out, std::string_view text);

// True when a and b are equal with ASCII letter case ignored (trail bytes compared exactly).
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// c with an ASCII lower-case letter made upper case.
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// text without its leading and trailing bytes of value 32 or less.
std::string_view TrimView(std::string_view text);
// text without its leading bytes of value 32 or less.
inline std::string_view SkipBlanks(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= 32) {
        ++at;
    }
    return text.substr(at);
}
std::string Trim(std::string_view text);

// Sub-string copy, 1-based: a start before 1 counts as 1, a start past the end gives empty text,
// a negative count counts as 0, a count reaching past the end is cut at the end.
std::string Copy(std::string_view text, long long start, long long count);

// Decimal digits of value, without leading zeros.
std::string IntToText(long long value);
