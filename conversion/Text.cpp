#include "conversion/Text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Appends text to out with map applied to every character's first byte: a lead byte is never a
// letter, so trail bytes stay.
template <typename Map>
void AppendMapped(std::string& out, std::string_view text, Map map) {
    const std::size_t begin = out.size();
    out.append(text);
    char* const mapped = out.data() + begin;
    for (std::size_t i = 0; i < text.size();) {
        mapped[i] = map(mapped[i]);
        i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
}

template <typename Map>
std::string MapLetters(std::string_view text, Map map) {
    std::string result;
    AppendMapped(result, text, map);
    return result;
}

}  // namespace

std::size_t FindFrom(std::string_view pattern, std::string_view text, std::size_t start) {
    // A pattern holding a NUL can never match before the text's first NUL ends the search.
    if (pattern.empty() || (pattern.size() == 1 ? pattern.front() == '\0'
                                                : pattern.find('\0') != std::string_view::npos)) {
        return std::string_view::npos;
    }
    const char* const data = text.data();
    const std::size_t size = text.size();
    if (size - std::min(start, size) < 64) {
        // Short texts, such as one property or one field, are walked character by character.
        for (std::size_t i = start; i < size && data[i] != '\0';) {
            if (data[i] == pattern.front() &&
                (pattern.size() == 1 ||
                 (size - i >= pattern.size() &&
                  std::memcmp(data + i, pattern.data(), pattern.size()) == 0))) {
                return i;
            }
            const std::size_t length = CharLength(text, i);
            if (length == 2 && data[i + 1] == '\0') {
                break;
            }
            i += length;
        }
        return std::string_view::npos;
    }
    // Candidates come from memchr; whether one begins a character is settled by the run of
    // lead-byte values before it, back to the last known character boundary. Every byte is looked
    // at a bounded number of times, so a search costs time linear in the bytes it passes.
    std::size_t boundary = start;
    while (boundary < size) {
        const void* hit = std::memchr(data + boundary, pattern.front(), size - boundary);
        const std::size_t at =
            hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : size;
        if (std::memchr(data + boundary, '\0', at - boundary) != nullptr || at == size) {
            return std::string_view::npos;
        }
        std::size_t runStart = at;
        while (runStart > boundary && IsLeadByte(static_cast<unsigned char>(data[runStart - 1]))) {
            --runStart;
        }
        // runStart begins a character: it is the boundary, or follows a byte that is no lead byte.
        if ((at - runStart) % 2 == 1) {
            boundary = at + 1;  // a trail byte: its character ends here
            continue;
        }
        if (pattern.size() == 1 || (size - at >= pattern.size() &&
                                    std::memcmp(data + at, pattern.data(), pattern.size()) == 0)) {
            return at;
        }
        const std::size_t length = CharLength(text, at);
        if (length == 2 && data[at + 1] == '\0') {
            return std::string_view::npos;  // the text ends inside this character
        }
        boundary = at + length;
    }
    return std::string_view::npos;
}

std::size_t FindText(std::string_view pattern, std::string_view text) {
    const std::size_t at = FindFrom(pattern, text);
    return at == std::string_view::npos ? 0 : at + 1;
}

bool EndsWithCharacter(std::string_view text, char c) {
    if (text.empty() || text.back() != c) {
        return false;
    }
    // The bytes of lead-byte value just before the last one pair up from a character boundary
    // (the start, or the byte after one of another value): an odd count leaves a lead byte that
    // takes the last byte as its trail.
    std::size_t run = text.size() - 1;
    while (run > 0 && IsLeadByte(static_cast<unsigned char>(text[run - 1]))) {
        --run;
    }
    return (text.size() - 1 - run) % 2 == 0;
}

std::string AnsiUpper(std::string_view text) { return MapLetters(text, AsciiUpper); }

void AnsiUpperPrefix(std::string& text, std::size_t length) {
    length = std::min(length, text.size());
    for (std::size_t i = 0; i < length; i += CharLength(text, i)) {
        text[i] = AsciiUpper(text[i]);
    }
}

std::string AnsiLower(std::string_view text) { return MapLetters(text, ToLower); }

void AppendAnsiLower(std::string& out, std::string_view text) { AppendMapped(out, text, ToLower); }

void AppendAnsiUpper(std::string& out, std::string_view text) {
    AppendMapped(out, text, AsciiUpper);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharLength(a, i);
        if (length == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
        } else if (ToLower(a[i]) != ToLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string_view TrimView(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && blank(text[begin])) {
        ++begin;
    }
    while (end > begin && blank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string Copy(std::string_view text, long long start, long long count) {
    const long long size = static_cast<long long>(text.size());
    start = std::max(start, 1LL);
    if (start > size || count <= 0) {
        return {};
    }
    const long long available = size - start + 1;
    return std::string(text.substr(static_cast<std::size_t>(start - 1),
                                   static_cast<std::size_t>(std::min(count, available))));
}

std::string IntToText(long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
