#include "shell/QtText.h"

#include "shell/Platform.h"

namespace {

// True when the platform's decoder of code page 932 reads every ASCII byte as the same character
// as Latin-1 does: runs of ASCII then need no decoder. Asked once.
bool ReadsAsciiAsItIs() {
    static const bool same = [] {
        std::string ascii;
        for (int b = 1; b < 0x80; ++b) {
            ascii += static_cast<char>(b);
        }
        return DecodeCodePage932(ascii) ==
               QLatin1StringView(ascii.data(), static_cast<qsizetype>(ascii.size()));
    }();
    return same;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    if (!ReadsAsciiAsItIs()) {
        return DecodeCodePage932(bytes);
    }
    // Long runs of ASCII, most of a record, are read as Latin-1 at the speed of memory; the rest
    // goes to the decoder in pieces that end where a character ends (a trail byte may look like
    // ASCII), so it reads them as it would read the whole.
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    constexpr std::size_t LONG_RUN = 32;
    std::size_t decoded = 0;  // bytes read so far
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80) {
            const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
            i += lead && i + 1 < bytes.size() ? 2 : 1;
            continue;
        }
        std::size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80) {
            ++end;
        }
        if (end - i >= LONG_RUN || end == bytes.size()) {
            if (i > decoded) {
                text += DecodeCodePage932(bytes.substr(decoded, i - decoded));
            }
            text += QLatin1StringView(bytes.data() + i, static_cast<qsizetype>(end - i));
            decoded = end;
        }
        i = end;
    }
    if (decoded < bytes.size()) {
        text += DecodeCodePage932(bytes.substr(decoded));
    }
    return text;
}

QString FromUserText(const TUserText& text) {
    QString result;
    for (const TUserText::TPiece& piece : text.Pieces()) {
        result += piece.isName ? FromName(piece.bytes) : FromShiftJis(piece.bytes);
    }
    return result;
}
