#include "shell/TextView.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

TEST(TextView, WrapsEveryRowWithinTheAreaAndCoversTheTextOnce) {
    const QString texts[] = {
        QStringLiteral(" ああああああああああああああああああああ"),
        QStringLiteral("a ああああ ああ いいいいいいいいいいいいいいいいいいいいいいいい"),
        QStringLiteral("PB[本因坊秀策]PW[井上幻庵因碩]C[this is a comment with words]\n\nshort\n"),
        QString(3000, QLatin1Char('x')),
        QStringLiteral("word ").repeated(200),
    };
    TTextView view;
    view.show();
    for (const QString& text : texts) {
        for (int width = 60; width <= 300; width += 7) {
            SCOPED_TRACE(text.left(20).toStdString() + " at " + std::to_string(width));
            view.resize(width, 200);
            view.SetText(text);
            ASSERT_LT(view.viewport()->width(), width);
            const qreal room = view.viewport()->width() - 4;
            const QFontMetricsF metrics(view.font());
            QString joined;
            for (int row = 0; row < view.RowCount(); ++row) {
                const QString shown = view.RowText(row);
                qreal width = 0;
                for (const QChar c : shown) {
                    width += metrics.horizontalAdvance(c);
                }
                EXPECT_TRUE(width <= room + 0.01 || shown.size() == 1)
                    << "row " << row << " is " << width << " wide in " << room;
                joined += shown;
            }
            QString plain = text;
            plain.remove(QLatin1Char('\n'));
            EXPECT_EQ(joined, plain);
        }
    }
}
