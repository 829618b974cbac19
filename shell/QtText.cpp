#include "shell/QtText.h"

#include "shell/Platform.h"

#include <array>

namespace {

// Which ASCII bytes the platform's decoder of code page 932 reads as Latin-1 does: runs of them
// need no decoder. ICU's windows-31j reads a few control bytes as other controls (0x1A, 0x1C,
// 0x7F), so the table is asked of the decoder, once.
const std::array<bool, 0x80>& SameAsLatin1() {
    static const std::array<bool, 0x80> same = [] {
        std::array<bool, 0x80> table{};
        for (int b = 0; b < 0x80; ++b) {
            const char byte = static_cast<char>(b);
            const QString decoded = DecodeCodePage932(std::string_view(&byte, 1));
            table[static_cast<std::size_t>(b)] = decoded.size() == 1 && decoded[0].unicode() == b;
        }
        return table;
    }();
    return same;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    const std::array<bool, 0x80>& same = SameAsLatin1();
    const auto inRun = [&](std::size_t at) {
        const unsigned char b = static_cast<unsigned char>(bytes[at]);
        return b < 0x80 && same[b];
    };
    // Long runs of such bytes, most of a record, are read as Latin-1 at the speed of memory; the
    // rest goes to the decoder in pieces that end where a character ends (a trail byte may look
    // like ASCII), so it reads them as it would read the whole.
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    constexpr std::size_t LONG_RUN = 32;
    std::size_t decoded = 0;  // bytes read so far
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (!inRun(i)) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
            i += lead && i + 1 < bytes.size() ? 2 : 1;
            continue;
        }
        std::size_t end = i;
        while (end < bytes.size() && inRun(end)) {
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
