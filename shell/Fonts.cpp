#include "shell/Fonts.h"

#include <QApplication>
#include <QFont>

void UseClassicFont() {
    const QString classic = QStringLiteral("ＭＳ Ｐゴシック");
    QFont::insertSubstitutions(classic,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont font(classic);
    font.setPointSize(9);
    QApplication::setFont(font);
}
