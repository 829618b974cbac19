#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The text the viewer shows of a file's bytes: everything before the first NUL, with every CR LF,
// lone CR and lone LF made one LF. Trail bytes of code page 932 are never CR or LF, so the bytes
// can be taken as they are.
std::string ViewText(std::string_view bytes);

// The text of a record file's bytes as the viewer shows it (ViewText's line ends), given a piece
// at a time, so that the first screen shows before the rest is made: an SGF record (sgf) in an
// encoding other than Shift-JIS decoded by the conversion's encoding rule straight to Unicode, so
// the record's own characters show even where code page 932 has none; a Shift-JIS record and any
// other file as code page 932. The pieces joined are ViewText of those bytes, and each ends where
// a character ends, so each decodes alone as it would within the whole.
class TViewedText {
public:
    // The text of bytes, which it shares.
    TViewedText(std::shared_ptr<const std::string> bytes, bool sgf);

    // True when the pieces are UTF-8; false when they are code page 932.
    bool Utf8() const { return m_utf8; }
    // The bytes the text is made from: its length at most, in bytes.
    std::size_t Size() const { return m_source.size(); }
    // The next piece, from about count bytes (at least 1) of those; empty once all is given. It
    // stays valid until the next call.
    std::string_view Next(std::size_t count);
    // True once every piece is given.
    bool Done() const { return m_read == m_source.size(); }

private:
    std::shared_ptr<const std::string> m_bytes;
    std::string_view m_source;
    bool m_utf8 = false;
    std::size_t m_read = 0;
    std::string m_piece;
};
