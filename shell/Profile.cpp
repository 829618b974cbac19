#include "shell/Profile.h"

#include "conversion/Text.h"

#include <charconv>

namespace {

// The name of a section line ("[name]", blanks allowed around it), or nothing for another line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view trimmed = TrimView(line);
    if (trimmed.size() < 2 || trimmed.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimView(trimmed.substr(1, close - 1));
}

std::string SectionLine(std::string_view section) {
    std::string line(1, '[');
    line.append(section).push_back(']');
    return line;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line.append(1, '=').append(value);
    return line;
}

bool IsComment(std::string_view line) {
    const std::string_view trimmed = TrimView(line);
    return !trimmed.empty() && trimmed.front() == ';';
}

std::optional<std::uint32_t> ParseHex(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

TProfile::TProfile(std::string_view bytes) {
    // Each line keeps its own end (CR LF, CR, LF, or none for the last), and a NUL is a byte like
    // any other, so the lines not written to come back byte for byte.
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            m_lines.emplace_back(bytes.substr(begin));
            m_ends.emplace_back();
            break;
        }
        const std::size_t length = bytes.substr(end, 2) == "\r\n" ? 2 : 1;
        m_lines.emplace_back(bytes.substr(begin, end - begin));
        m_ends.emplace_back(bytes.substr(end, length));
        begin = end + length;
    }
}

void TProfile::Insert(std::size_t at, std::string line) {
    if (at == m_lines.size() && !m_ends.empty() && m_ends.back().empty()) {
        m_ends.back() = "\r\n";
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    m_ends.insert(m_ends.begin() + static_cast<std::ptrdiff_t>(at), "\r\n");
}

std::optional<std::size_t> TProfile::FindSection(std::string_view section) const {
    const std::string_view wanted = TrimView(section);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::optional<std::string_view> name = SectionName(m_lines[i]);
        if (name && SameTextIgnoringCase(*name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t TProfile::SectionEnd(std::size_t sectionLine) const {
    std::size_t end = sectionLine + 1;
    while (end < m_lines.size() && !SectionName(m_lines[end])) {
        ++end;
    }
    return end;
}

std::optional<TProfile::TKeyLine> TProfile::FindKey(std::size_t sectionLine,
                                                    std::string_view key) const {
    const std::string_view wanted = TrimView(key);
    const std::size_t end = SectionEnd(sectionLine);
    for (std::size_t i = sectionLine + 1; i < end; ++i) {
        const std::string& line = m_lines[i];
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && !IsComment(line) &&
            SameTextIgnoringCase(TrimView(std::string_view(line).substr(0, equals)), wanted)) {
            return TKeyLine{i, equals};
        }
    }
    return std::nullopt;
}

std::optional<std::string> TProfile::ReadString(std::string_view section,
                                                std::string_view key) const {
    const std::optional<std::size_t> sectionLine = FindSection(section);
    if (!sectionLine) {
        return std::nullopt;
    }
    const std::optional<TKeyLine> found = FindKey(*sectionLine, key);
    if (!found) {
        return std::nullopt;
    }
    std::string_view value =
        TrimView(std::string_view(m_lines[found->line]).substr(found->keyEnd + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void TProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::optional<std::size_t> sectionLine = FindSection(section);
    if (!sectionLine) {
        Insert(m_lines.size(), SectionLine(section));
        Insert(m_lines.size(), KeyLine(key, value));
        return;
    }
    if (const std::optional<TKeyLine> found = FindKey(*sectionLine, key)) {
        std::string& line = m_lines[found->line];
        line.replace(found->keyEnd + 1, std::string::npos, value);
        return;
    }
    // After the section's last line that is not blank, so the blank lines that part it from the
    // next section stay where they are.
    std::size_t at = SectionEnd(*sectionLine);
    while (at > *sectionLine + 1 && TrimView(m_lines[at - 1]).empty()) {
        --at;
    }
    Insert(at, KeyLine(key, value));
}

std::string TProfile::Bytes() const {
    std::string bytes;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        bytes += m_lines[i];
        bytes += m_ends[i];
    }
    return bytes;
}

std::optional<std::int32_t> ParseProfileInt(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::optional<std::uint32_t> value = ParseHex(text.substr(2));
        return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value))
                     : std::nullopt;
    }
    if (!text.empty() && text[0] == '$') {
        const std::optional<std::uint32_t> value = ParseHex(text.substr(1));
        return value ? std::optional<std::int32_t>(static_cast<std::int32_t>(*value))
                     : std::nullopt;
    }
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+') {
        digits.remove_prefix(1);  // from_chars takes "-" but not "+"
        if (!digits.empty() && digits[0] == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}
