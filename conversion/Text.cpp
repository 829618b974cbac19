#include "conversion/Text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

constexpr char ToUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename Map>
std::string MapLetters(std::string_view text, Map map) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); i += CharLength(result, i)) {
        result[i] = map(result[i]);  // a lead byte is never a letter, so trail bytes stay
    }
    return result;
}

}  // namespace

std::size_t FindFrom(std::string_view pattern, std::string_view text, std::size_t start) {
    if (pattern.empty()) {
        return std::string_view::npos;
    }
    // A pattern holding a NUL can never match before the text's first NUL ends the search.
    if (pattern.find('\0') != std::string_view::npos) {
        return std::string_view::npos;
    }
    const char first = pattern.front();
    const std::size_t size = text.size();
    std::size_t i = start;
    while (i < size) {
        const char c = text[i];
        if (c == '\0') {
            break;
        }
        if (c == first && size - i >= pattern.size() &&
            std::memcmp(text.data() + i, pattern.data(), pattern.size()) == 0) {
            return i;
        }
        i += IsLeadByte(static_cast<unsigned char>(c)) ? 2 : 1;
    }
    return std::string_view::npos;
}

std::size_t FindText(std::string_view pattern, std::string_view text) {
    const std::size_t at = FindFrom(pattern, text);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string AnsiUpper(std::string_view text) {
    return MapLetters(text, ToUpper);
}

std::string AnsiLower(std::string_view text) {
    return MapLetters(text, ToLower);
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

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

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
