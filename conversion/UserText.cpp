#include "conversion/UserText.h"

TUserText::TUserText(std::string text) {
    if (!text.empty()) {
        m_pieces.push_back({std::move(text), false});
    }
}

TUserText::TUserText(const char* text) : TUserText(std::string(text)) {}

TUserText& TUserText::Text(std::string_view text) {
    if (!text.empty()) {
        m_pieces.push_back({std::string(text), false});
    }
    return *this;
}

TUserText& TUserText::Name(std::string_view name) {
    if (!name.empty()) {
        m_pieces.push_back({std::string(name), true});
    }
    return *this;
}

TUserText& TUserText::Append(const TUserText& other) {
    m_pieces.insert(m_pieces.end(), other.m_pieces.begin(), other.m_pieces.end());
    return *this;
}

bool TUserText::Empty() const { return m_pieces.empty(); }

std::string TUserText::Bytes() const {
    std::string bytes;
    for (const TPiece& piece : m_pieces) {
        bytes += piece.bytes;
    }
    return bytes;
}
