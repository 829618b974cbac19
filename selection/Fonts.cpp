#include "selection/Fonts.h"

#include <QApplication>

QFont ClassicFont(double points) {
    const QString classic = QStringLiteral("ＭＳ Ｐゴシック");
    QFont::insertSubstitutions(classic,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("WenQuanYi Micro Hei")});
    QFont font(classic);
    font.setPointSizeF(points);
    return font;
}

void UseClassicFont() { QApplication::setFont(ClassicFont(9)); }
