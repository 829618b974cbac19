#include "selection/Names.h"

#ifdef _WIN32

#include "win32/CodePage932.h"

QString FromName(std::string_view bytes) {
    return QString::fromStdWString(WideFromCodePage932(bytes));
}

std::string ToName(const QString& name) { return CodePage932FromWide(name.toStdWString()); }

#else

#include <QFile>

QString FromName(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string ToName(const QString& name) { return QFile::encodeName(name).toStdString(); }

#endif
