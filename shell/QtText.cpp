#include "shell/QtText.h"

#include "conversion/Text.h"
#include "shell/Platform.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

constexpr char16_t ASK_THE_DECODER = 0xFFFF;  // a noncharacter, which no decoding gives

// What the platform's decoder of code page 932 reads each character as, asked of it once, so
// that a text is read by looking up its characters: the ASCII bytes it reads as Latin-1 does
// (ICU's windows-31j reads 0x1A, 0x1C and 0x7F as other controls), the single bytes above
// 0x7F, and every lead byte with a trail byte from 0x40 to 0xFC. What it reads as no single
// character, or not at all, is left to the decoder, piece by piece.
struct TCodePage932Table {
    std::array<bool, 0x80> sameAsLatin1{};
    std::array<char16_t, 0x80> high{};  // bytes 0x80 to 0xFF
    std::vector<char16_t> pairs = std::vector<char16_t>(0x80 * 0x100, ASK_THE_DECODER);

    static std::size_t Pair(unsigned char lead, unsigned char trail) {
        return static_cast<std::size_t>(lead - 0x80) << 8 | trail;
    }

    TCodePage932Table() {
        for (int b = 0; b < 0x80; ++b) {
            const char byte = static_cast<char>(b);
            const QString decoded = DecodeCodePage932(std::string_view(&byte, 1));
            sameAsLatin1[static_cast<std::size_t>(b)] =
                decoded.size() == 1 && decoded[0].unicode() == b;
        }
        high.fill(ASK_THE_DECODER);
        if (!sameAsLatin1['\n']) {
            return;  // the characters below are told apart by line feeds
        }
        // Each character asked for followed by a line feed, all in one text: no character that
        // is asked for reads as a line feed, so the answers part where the line feeds stand.
        std::string asked;
        std::vector<std::size_t> places;
        for (int b = 0x80; b <= 0xFF; ++b) {
            if (!IsLeadByte(static_cast<unsigned char>(b))) {
                asked += static_cast<char>(b);
                asked += '\n';
                places.push_back(static_cast<std::size_t>(b));
            }
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) {
                continue;
            }
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                asked += static_cast<char>(lead);
                asked += static_cast<char>(trail);
                asked += '\n';
                places.push_back(0x100 + Pair(static_cast<unsigned char>(lead),
                                              static_cast<unsigned char>(trail)));
            }
        }
        const QString answers = DecodeCodePage932(asked);
        qsizetype at = 0;
        for (const std::size_t slot : places) {
            const qsizetype end = answers.indexOf(QLatin1Char('\n'), at);
            if (end < 0) {
                return;
            }
            const char16_t unit = answers[at].unicode();
            if (end == at + 1 && unit != u'\uFFFD' && unit != u'\n') {
                (slot < 0x100 ? high[slot - 0x80] : pairs[slot - 0x100]) = unit;
            }
            at = end + 1;
        }
    }
};

}  // namespace

void AppendShiftJis(std::string_view bytes, QString& text) {
    static const TCodePage932Table table;
    const std::size_t size = bytes.size();
    const qsizetype before = text.size();
    text.resize(before + static_cast<qsizetype>(size));
    QChar* out = text.data() + before;
    for (std::size_t i = 0; i < size;) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        // A lead byte and the byte after it make one piece, whatever that byte is.
        const std::size_t length = CharLength(bytes, i);
        const char16_t unit =
            b < 0x80         ? (table.sameAsLatin1[b] ? b : ASK_THE_DECODER)
            : !IsLeadByte(b) ? table.high[b - 0x80]
            : length == 2
                ? table.pairs[TCodePage932Table::Pair(b, static_cast<unsigned char>(bytes[i + 1]))]
                : ASK_THE_DECODER;
        if (unit != ASK_THE_DECODER) {
            *out++ = QChar(unit);
            i += length;
            continue;
        }
        // The piece reads as the decoder reads it within the whole text: code page 932 carries no
        // state from one character to the next. A piece of n bytes gives at most n units.
        const QString piece = DecodeCodePage932(bytes.substr(i, length));
        const qsizetype done = out - text.constData();
        if (piece.size() > static_cast<qsizetype>(size - i)) {
            text.resize(done + piece.size() + static_cast<qsizetype>(size - i));
        }
        out = std::copy(piece.begin(), piece.end(), text.data() + done);
        i += length;
    }
    text.truncate(out - text.constData());
}

QString FromShiftJis(std::string_view bytes) {
    QString text;
    AppendShiftJis(bytes, text);
    return text;
}

QString FromUserText(const TUserText& text) {
    QString result;
    for (const TUserText::TPiece& piece : text.Pieces()) {
        result += piece.isName ? FromName(piece.bytes) : FromShiftJis(piece.bytes);
    }
    return result;
}
