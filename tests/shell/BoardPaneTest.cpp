#include "shell/BoardPane.h"
#include "shell/BoardView.h"
#include "shell/ViewForm.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

std::string Text(const TViewForm& form, const char* label) {
    return Child<QLabel>(form, label)->text().toStdString();
}

}  // namespace

TEST(BoardPane, OpensAtTheLastMoveAndMovesByKeysButtonsSliderAndWheel) {
    TTempDir dir;
    dir.Write("a.sgf", "(;SZ[9];B[cc];W[gg];B[tt];W[cd])");
    TViewForm form;
    form.ViewFile(dir.Path("a.sgf"));
    auto* pane = Child<TBoardPane>(form, "BoardPane");
    auto* slider = Child<QSlider>(form, "MoveSlider");
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(Child<TBoardView>(form, "BoardView")->HasBoard());
    EXPECT_EQ(Text(form, "MoveLabel"), "4手 白 C6");
    EXPECT_EQ(slider->maximum(), 4);
    EXPECT_EQ(slider->value(), 4);
    EXPECT_FALSE(Child<QAbstractButton>(form, "NextBtn")->isEnabled());
    EXPECT_EQ(Text(form, "DiffLabel"), "変換後も同じ棋譜です（4手）");

    QTest::keyClick(pane, Qt::Key_Left);
    EXPECT_EQ(Text(form, "MoveLabel"), "3手 黒 パス");
    QTest::keyClick(pane, Qt::Key_Home);
    EXPECT_EQ(Text(form, "MoveLabel"), "初期局面");
    EXPECT_EQ(slider->value(), 0);
    Click(form, "NextBtn");
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 黒 C7");
    Click(form, "LastBtn");
    Click(form, "PrevBtn");
    EXPECT_EQ(pane->Move(), 3u);
    slider->setValue(2);
    EXPECT_EQ(Text(form, "MoveLabel"), "2手 白 G3");
    // The wheel turned towards the user goes on.
    auto* view = Child<TBoardView>(form, "BoardView");
    QWheelEvent wheel(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_EQ(pane->Move(), 3u);
    QTest::keyClick(pane, Qt::Key_End);
    EXPECT_EQ(pane->Move(), 4u);
    form.hide();
}

TEST(BoardPane, ShowsTheMainLineAndStepsIntoItsVariations) {
    TTempDir dir;
    // Move 2 has three alternatives; the record's own game is its main line.
    dir.Write("v.sgf", "(;SZ[9];B[cc](;W[gg];B[dd])(;W[ee])(;W[ff];B[hh]))");
    TViewForm form;
    form.ViewFile(dir.Path("v.sgf"));
    auto* pane = Child<TBoardPane>(form, "BoardPane");
    auto* branch = Child<QAbstractButton>(form, "BranchBtn");
    EXPECT_EQ(Text(form, "MoveLabel"), "3手 黒 D6");
    EXPECT_FALSE(branch->isVisible());
    EXPECT_EQ(Text(form, "DiffLabel"), "仕様で変わる点: 本譜以外の分岐 2 個は変換しません");
    QTest::keyClick(pane, Qt::Key_Left);
    EXPECT_TRUE(branch->isVisible());
    EXPECT_EQ(branch->text().toStdString(), "分岐 3（1 番目）");
    QTest::keyClick(pane, Qt::Key_Down);
    EXPECT_EQ(Text(form, "MoveLabel"), "2手 白 E5");
    EXPECT_EQ(branch->text().toStdString(), "分岐 3（2 番目）");
    EXPECT_EQ(Child<QSlider>(form, "MoveSlider")->maximum(), 2);
    QTest::mouseClick(branch, Qt::LeftButton);
    QTest::keyClick(pane, Qt::Key_End);
    EXPECT_EQ(Text(form, "MoveLabel"), "3手 黒 H2");
    // Round the alternatives with the button, back to the first.
    QTest::keyClick(pane, Qt::Key_Left);
    QTest::mouseClick(branch, Qt::LeftButton);
    EXPECT_EQ(branch->text().toStdString(), "分岐 3（1 番目）");
    QTest::keyClick(pane, Qt::Key_Up);
    EXPECT_EQ(branch->text().toStdString(), "分岐 3（1 番目）");
    // The converted game is the main line and has no variations.
    Click(form, "AfterBtn");
    EXPECT_FALSE(branch->isVisible());
    QTest::keyClick(pane, Qt::Key_Down);
    EXPECT_EQ(Text(form, "MoveLabel"), "2手 白 G3");
    form.hide();
}

TEST(BoardPane, ShowsTheConvertedGameAndTheBoardsItCannotShow) {
    TTempDir dir;
    // Handicap stones come back from the UGF written as black moves.
    dir.Write("h.sgf", "(;SZ[9]AB[cc][gg];W[ee])");
    dir.Write("wide.sgf", "(;SZ[52:19];B[Wd])");
    TViewForm form;
    form.ViewFile(dir.Path("h.sgf"));
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 白 E5");
    // The line above the board is whole, on two lines in a narrow pane.
    const auto* difference = Child<QLabel>(form, "DiffLabel");
    EXPECT_EQ(difference->text().toStdString(),
              "仕様で変わる点: 置石は黒の着手として読み戻されます（Hdcp 行を書きません） ／ "
              "最初の違い: 配置の 1 番目 変換前 黒 C7、変換後 なし");
    form.resize(720, 500);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_GE(difference->height(), difference->heightForWidth(difference->width()));
    EXPECT_GT(difference->height(), 2 * difference->fontMetrics().height() - 2);
    Click(form, "AfterBtn");
    EXPECT_TRUE(Child<TBoardPane>(form, "BoardPane")->ShowsConverted());
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 黒 C7");
    Click(form, "LastBtn");
    EXPECT_EQ(Text(form, "MoveLabel"), "3手 白 E5");
    Click(form, "BeforeBtn");
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 白 E5");

    form.ViewFile(dir.Path("wide.sgf"));
    EXPECT_FALSE(Child<TBoardView>(form, "BoardView")->HasBoard());
    EXPECT_TRUE(Child<QLabel>(form, "ReasonLabel")->isVisible());
    EXPECT_EQ(Text(form, "ReasonLabel"),
              "盤の大きさ「52:19」は表示できません（2 路から 25 路まで）");
    EXPECT_FALSE(Child<QSlider>(form, "MoveSlider")->isEnabled());

    // A large file shows its text at once and its game when asked.
    std::string large =
        "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\n[Data]\r\n"
        "PD,B1,1,0\r\n[Comment]\r\n";
    large.resize(TViewForm::GAME_AT_ONCE_BYTES + 1, 'x');
    dir.Write("large.ugf", large);
    form.ViewFile(dir.Path("large.ugf"));
    EXPECT_FALSE(Child<TBoardView>(form, "BoardView")->HasBoard());
    Click(form, "ReadGameBtn");
    EXPECT_TRUE(Child<TBoardView>(form, "BoardView")->HasBoard());
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 黒 Q16");
    EXPECT_FALSE(Child<QWidget>(form, "ReadGameBtn")->isVisible());
    form.hide();
}

TEST(BoardPane, HidesToTheClassicWindowAndComesBack) {
    TTempDir dir;
    dir.Write("a.ugf",
              "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\n[Data]\r\n"
              "PD,B1,1,0\r\n");
    TViewForm form;
    auto* pane = Child<TBoardPane>(form, "BoardPane");
    Click(form, "HideBoardBtn");
    EXPECT_FALSE(form.BoardShown());
    form.ViewFile(dir.Path("a.ugf"));
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(form.size(), QSize(474, 323));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(Child<QWidget>(form, "Memo1")->geometry(), QRect(0, 0, 473, 321));
    // Shown again, it reads the game of the file shown meanwhile.
    Child<QAction>(form, "BoardAction")->trigger();
    EXPECT_TRUE(pane->isVisible());
    EXPECT_GT(form.width(), 474);
    EXPECT_EQ(Text(form, "MoveLabel"), "1手 黒 Q16");
    form.hide();
}

namespace {

// The mean colour of a widget as it is drawn.
QColor MeanColour(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    long long red = 0;
    long long green = 0;
    long long blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            red += colour.red();
            green += colour.green();
            blue += colour.blue();
        }
    }
    const long long count = std::max(1LL, static_cast<long long>(image.width()) * image.height());
    return QColor(static_cast<int>(red / count), static_cast<int>(green / count),
                  static_cast<int>(blue / count));
}

int Distance(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

}  // namespace

// Which of 変換前 and 変換後 is pressed shows at a glance: the pressed one is drawn unlike the
// other, whichever it is.
TEST(BoardPane, ThePressedSideStandsOut) {
    TTempDir dir;
    dir.Write("h.sgf", "(;SZ[9]AB[cc][gg];W[ee])");
    TViewForm form;
    form.ViewFile(dir.Path("h.sgf"));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* before = Child<QToolButton>(form, "BeforeBtn");
    auto* after = Child<QToolButton>(form, "AfterBtn");
    for (const bool converted : {false, true}) {
        SCOPED_TRACE(converted ? "after" : "before");
        Click(form, converted ? "AfterBtn" : "BeforeBtn");
        QToolButton* pressed = converted ? after : before;
        QToolButton* other = converted ? before : after;
        ASSERT_TRUE(pressed->isChecked());
        EXPECT_GT(Distance(MeanColour(*pressed), MeanColour(*other)), 120)
            << MeanColour(*pressed).name().toStdString() << " "
            << MeanColour(*other).name().toStdString();
    }
    form.hide();
}
