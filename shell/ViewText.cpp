#include "shell/ViewText.h"

#include "conversion/SgfEncoding.h"
#include "conversion/Text.h"

#include <optional>

namespace {

// ViewText of bytes that hold no NUL, appended to text. A CR at the end of bytes stands alone.
void AppendViewText(std::string_view bytes, std::string& text) {
    // The text between CRs is copied whole; only a CR is looked at.
    std::size_t from = 0;
    for (std::size_t cr; (cr = bytes.find('\r', from)) != std::string_view::npos;) {
        text.append(bytes.substr(from, cr - from));
        text += '\n';
        from = cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? cr + 2 : cr + 1;
    }
    text.append(bytes.substr(from));
}

}  // namespace

std::string ViewText(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    std::string text;
    text.reserve(bytes.size());
    AppendViewText(bytes, text);
    return text;
}

TViewedText::TViewedText(std::shared_ptr<const std::string> bytes, bool sgf)
    : m_bytes(std::move(bytes)) {
    if (sgf) {
        if (std::optional<std::string> utf8 = SgfRecordAsUtf8(*m_bytes)) {
            m_bytes = std::make_shared<const std::string>(std::move(*utf8));
            m_utf8 = true;
        }
    }
    m_source = *m_bytes;
}

std::string_view TViewedText::Next(std::size_t count) {
    m_piece.clear();
    if (Done()) {
        return m_piece;
    }
    const std::string_view rest = m_source.substr(m_read);
    std::size_t end = std::min(std::max<std::size_t>(count, 1), rest.size());
    // A piece ends where a character ends: after a byte that leads no Shift-JIS character (a
    // lead byte takes the byte after it, whatever that is), or before a byte that continues no
    // UTF-8 character.
    const auto ends = [&](std::size_t at) {
        const unsigned char b = static_cast<unsigned char>(rest[m_utf8 ? at : at - 1]);
        return m_utf8 ? (b & 0xC0) != 0x80 : !IsLeadByte(b);
    };
    while (end < rest.size() && !ends(end)) {
        ++end;
    }
    // A CR LF is one line end, never cut in two.
    if (end < rest.size() && rest[end - 1] == '\r' && rest[end] == '\n') {
        ++end;
    }
    std::string_view taken = rest.substr(0, end);
    // The text ends at the first NUL.
    if (const std::size_t nul = taken.find('\0'); nul != std::string_view::npos) {
        taken = taken.substr(0, nul);
        m_source = m_source.substr(0, m_read + nul);
    }
    m_read += taken.size();
    AppendViewText(taken, m_piece);
    return m_piece;
}
