#include "shell/Fonts.h"

#include <QApplication>
#include <QFont>

void UseClassicFont() {
    const QString classic = QStringLiteral("ＭＳ Ｐゴシック");
    // Records of Chinese and Korean players hold characters that the Japanese fonts lack.
    QFont::insertSubstitutions(classic,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("WenQuanYi Micro Hei")});
    QFont font(classic);
    font.setPointSize(9);
    QApplication::setFont(font);
}
