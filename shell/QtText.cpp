#include "shell/QtText.h"

#include <QFile>
#include <QStringDecoder>

QString FromShiftJis(std::string_view bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
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
