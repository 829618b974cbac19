#include "shell/QtText.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// True when the decoder of code page 932 reads every ASCII byte as the same character, as the
// Latin-1 reading of it: runs of ASCII then need no decoder. Asked once.
bool ReadsAsciiAsItIs() {
    static const bool same = [] {
        QByteArray ascii;
        for (int b = 1; b < 0x80; ++b) {
            ascii += static_cast<char>(b);
        }
        QStringDecoder decoder("windows-31j");
        return decoder.isValid() && QString(decoder.decode(ascii)) == QString::fromLatin1(ascii);
    }();
    return same;
}

}  // namespace

QString FromShiftJis(std::string_view bytes) {
    QStringDecoder decoder("windows-31j");
    const auto decode = [&decoder](std::string_view piece) -> QString {
        return decoder.decode(QByteArrayView(piece.data(), static_cast<qsizetype>(piece.size())));
    };
    if (!ReadsAsciiAsItIs()) {
        return decode(bytes);
    }
    // Long runs of ASCII, most of a record, are read as Latin-1 at the speed of memory; the rest
    // goes through the decoder in pieces that end on a character's end (a trail byte may look like
    // ASCII), so the decoder reads it as it would read the whole.
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    constexpr std::size_t LONG_RUN = 32;
    std::size_t decoded = 0;  // bytes handed over so far
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
                text += decode(bytes.substr(decoded, i - decoded));
            }
            text += QLatin1StringView(bytes.data() + i, static_cast<qsizetype>(end - i));
            decoded = end;
        }
        i = end;
    }
    if (decoded < bytes.size()) {
        text += decode(bytes.substr(decoded));
    }
    return text;
}

QString FromName(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToName(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString FromUserText(const TUserText& text) {
    QString result;
    for (const TUserText::TPiece& piece : text.Pieces()) {
        result += piece.isName ? FromName(piece.bytes) : FromShiftJis(piece.bytes);
    }
    return result;
}
