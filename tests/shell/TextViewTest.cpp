#include "shell/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>
#include <cstdint>
#include <memory>
#include <vector>

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

// Where a row breaks, with every character one pixel wide and rows ten pixels wide: after the
// last blank that fits (a tab is shown as a blank but is no place to break), and not before a row
// is full, so a row that fits exactly stays one row.
TEST(TextView, RowsBreakAfterTheLastBlankThatFitsAndOnlyWhenTheRoomIsFull) {
    const std::vector<std::int32_t> onePixel(0x10000, 64);
    const struct {
        QString text;
        std::vector<std::string> rows;
    } cases[] = {
        {QStringLiteral("aaaa bbbb cccc"), {"aaaa bbbb ", "cccc"}},
        {QStringLiteral("aaa\tbbb cccc"), {"aaa\tbbb ", "cccc"}},
        {QStringLiteral("xxxxxxxxxx\nyyyyyyyyyyy"), {"xxxxxxxxxx", "yyyyyyyyyy", "y"}},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.text.toStdString());
        TTextRows rows;
        rows.Start(10 * 64);
        rows.Wrap(each.text, each.text.size(), true, onePixel.data(), [](qsizetype) { return 64; });
        std::vector<std::string> made;
        for (std::size_t row = 0; row < rows.rows.size(); ++row) {
            made.push_back(each.text.mid(rows.rows[row].start, rows.rows[row].length).toStdString());
        }
        EXPECT_EQ(made, each.rows);
    }
}

namespace {

// A source that gives text size units at a time.
TTextView::TTextSource Pieces(const QString& text, qsizetype size) {
    auto at = std::make_shared<qsizetype>(0);
    return [text, size, at](QString& shown) {
        shown += text.mid(*at, size);
        *at += size;
        return *at >= text.size();
    };
}

// Every row's text, the whole text made first.
std::vector<std::string> Rows(TTextView& view) {
    std::vector<std::string> rows;
    for (int row = 0, count = view.RowCount(); row < count; ++row) {
        rows.push_back(view.RowText(row).toStdString());
    }
    return rows;
}

QString LongText() {
    QString text;
    for (int line = 0; line < 3000; ++line) {
        text +=
            QStringLiteral("line %1 本因坊 word word word word word word word word\n").arg(line);
    }
    return text;
}

}  // namespace

// A text that comes in pieces is wrapped on where each piece ended, in the middle of a line, a
// word or a surrogate pair, into the rows the whole text takes.
TEST(TextView, TextGivenInPiecesWrapsIntoTheRowsOfTheWholeText) {
    const QString texts[] = {
        QStringLiteral("a ああああ ああ いいいいいいいいいいいいいいいいいいいいいいいい"),
        QStringLiteral("PB[本因坊秀策]\n\n C[𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋𠀋 words]\nshort\n"),
        QStringLiteral("word ").repeated(2000) + QString(9000, QLatin1Char('x')),
        LongText(),
        QString(),
    };
    TTextView whole;
    TTextView pieces;
    for (TTextView* view : {&whole, &pieces}) {
        view->resize(150, 200);
        view->show();
    }
    for (const QString& text : texts) {
        whole.SetText(text);
        const std::vector<std::string> expected = Rows(whole);
        for (const qsizetype size : {1, 7, 100, 70000}) {
            SCOPED_TRACE(text.left(20).toStdString() + " by " + std::to_string(size));
            pieces.SetSource(Pieces(text, size), text.size());
            // The rows in sight first, then the rest at once.
            pieces.viewport()->repaint();
            EXPECT_EQ(pieces.RowText(0).toStdString(), expected.front());
            EXPECT_EQ(Rows(pieces), expected);
            EXPECT_EQ(pieces.Text().toStdString(), text.toStdString());
        }
    }
}

// What needs the whole text makes the rest at once: Ctrl+A (then Ctrl+C copies it all),
// Ctrl+End; left alone, and after another width, the rest is made from the event loop.
TEST(TextView, WhatNeedsTheWholeTextHasTheRestMadeFirst) {
    const QString text = LongText();
    TTextView whole;
    TTextView view;
    for (TTextView* each : {&whole, &view}) {
        each->resize(300, 200);
        each->show();
    }
    whole.SetText(text);
    QTest::keyClick(&whole, Qt::Key_End, Qt::ControlModifier);
    const auto start = [&] {
        view.SetSource(Pieces(text, 1000), text.size());
        view.viewport()->repaint();
        ASSERT_FALSE(view.Complete());
    };

    start();
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), text.toStdString());

    start();
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.verticalScrollBar()->value(), whole.verticalScrollBar()->value());
    EXPECT_EQ(view.verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());

    start();
    whole.resize(220, 200);
    (void)whole.RowCount();
    view.resize(220, 200);
    view.viewport()->repaint();
    EXPECT_FALSE(view.Complete());
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.Complete(); }));
    EXPECT_EQ(view.verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());
    EXPECT_EQ(Rows(view), Rows(whole));

    start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.Complete(); }));
    EXPECT_EQ(view.verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());
}

// A drag of the width never waits for the whole text: the row at the top keeps its text, shown
// from rows made from it, and the rows of the whole text come from the event loop, or at once
// when a key needs them.
TEST(TextView, AnotherWidthKeepsTheTextAtTheTopAndWrapsTheRestLater) {
    const QString text = LongText();
    TTextView whole;
    TTextView view;
    for (TTextView* each : {&whole, &view}) {
        each->resize(300, 200);
        each->show();
        each->SetText(text);
    }
    whole.resize(220, 200);
    (void)whole.RowCount();
    const struct {
        const char* name;
        int value;
        bool key;
    } rows[] = {{"left alone", 1000, false}, {"then a key", 2000, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view.resize(300, 200);
        ASSERT_TRUE(QTest::qWaitFor([&] { return view.Complete(); }));
        view.verticalScrollBar()->setValue(row.value);
        const qsizetype top = view.TopPosition();
        view.resize(220, 200);
        view.viewport()->repaint();
        EXPECT_FALSE(view.Complete());
        EXPECT_EQ(view.TopPosition(), top);
        if (row.key) {
            // Down, then Up: the row that holds the text is at the top again.
            QTest::keyClick(&view, Qt::Key_Down);
            QTest::keyClick(&view, Qt::Key_Up);
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return view.Complete(); }));
        }
        const int at = view.verticalScrollBar()->value();
        EXPECT_LE(view.TopPosition(), top);
        EXPECT_GT(view.TopPosition() + view.RowText(at).size() + 1, top);
        ASSERT_TRUE(QTest::qWaitFor([&] { return view.Complete(); }));
        EXPECT_EQ(view.verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());
        EXPECT_EQ(Rows(view), Rows(whole));
    }
}
