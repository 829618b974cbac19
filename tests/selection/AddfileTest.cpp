#include "selection/Addfile.h"
#include "selection/CheckListBox.h"
#include "selection/StatusLine.h"
#include "tests/support/FakeCandidateRows.h"
#include "tests/support/FakeFolderBrowser.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

// A folder of records, the main window's side of the dialog, and dialogs opened on them.
class AddfileTest : public testing::Test {
protected:
    AddfileTest() {
        for (const char* name :
             {"b.sgf", "Game1.SGF", "c.ugf", "d.UGI", ".hidden.sgf", "notes.txt", "e\nf.ugf"}) {
            dir.Write(name, "");
        }
        std::filesystem::create_directory(dir.Path("sub.sgf"));
    }

    std::unique_ptr<TAddfile> Open() {
        auto dialog = std::make_unique<TAddfile>(rows, history, browser);
        dialog->show();
        return dialog;
    }

    // Chooses the folder through "参照".
    void Choose(TAddfile& dialog) {
        browser.answers.push_back(Folder());
        Click(dialog, "SelectDir");
    }

    QString Folder() const { return QString::fromStdString(dir.root); }

    TTempDir dir;
    TFakeCandidateRows rows;
    QComboBox history;
    TFakeFolderBrowser browser;
};

TCheckListBox& List(const TAddfile& dialog) {
    return *Child<TCheckListBox>(dialog, "CheckFileListBox");
}

QComboBox& DirectoryList(const TAddfile& dialog) {
    return *Child<QComboBox>(dialog, "DirectoryList");
}

// The lines, a "+" before each ticked one.
std::string Lines(const TAddfile& dialog) {
    const TCheckListBox& list = List(dialog);
    std::string text;
    for (int row = 0; row < list.Count(); ++row) {
        text += (row == 0 ? "" : " ") + std::string(list.Checked(row) ? "+" : "") + list.Line(row);
    }
    return text;
}

std::string Status(const TAddfile& dialog) {
    return Child<QStatusBar>(dialog, "StatusBar")->currentMessage().toStdString();
}

std::vector<std::string> Items(const QComboBox& box) {
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i) {
        items.push_back(box.itemText(i).toStdString());
    }
    return items;
}

// Presses a line of the list at x pixels from its left edge.
void Press(const TAddfile& dialog, int row, int x, Qt::MouseButton button = Qt::LeftButton) {
    TCheckListBox& list = List(dialog);
    const QPoint at(x, list.visualRect(list.model()->index(row, 0)).center().y());
    QTest::mouseClick(list.viewport(), button, Qt::NoModifier, at);
}

}  // namespace

TEST_F(AddfileTest, ChoosingAFolderListsItsRecordsAndOkAddsTheTickedOnes) {
    const auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "追加");
    EXPECT_FALSE(Child<QWidget>(*dialog, "CheckAllBtn")->isEnabled());
    Choose(*dialog);
    ASSERT_EQ(browser.titles.size(), 1u);
    EXPECT_EQ(browser.titles[0].toStdString(), "棋譜ファイルのあるディレクトリを選択してください");
    // Names as the folder holds them: a lower-cased name would be another file here.
    EXPECT_EQ(Lines(*dialog), "b.sgf Game1.SGF");
    EXPECT_EQ(Status(*dialog), "2個の棋譜ファイルがありました");
    EXPECT_EQ(List(*dialog).toolTip().toStdString(),
              "変換したい棋譜ファイルにチェックを入れてください");
    EXPECT_TRUE(Child<QWidget>(*dialog, "CheckAllBtn")->isEnabled());
    EXPECT_TRUE(Child<QWidget>(*dialog, "UnCheckAllBtn")->isEnabled());

    // A name with a line break cannot be a row: it is not listed, and said so, whole, in a form
    // the status line shows whole, the whole text its hint.
    Click(*dialog, "UGFRadioBtn");
    EXPECT_EQ(Lines(*dialog), "c.ugf d.UGI");
    const auto* bar = Child<QStatusBar>(*dialog, "StatusBar");
    EXPECT_EQ(Status(*dialog), "2個の棋譜ファイルがありました（改行のある名前1個は除外）");
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->currentMessage()), StatusRoom(*bar));
    EXPECT_EQ(bar->toolTip().toStdString(),
              "2個の棋譜ファイルがありました（1個は名前に改行があるので一覧にありません）");
    Click(*dialog, "SGFRadioBtn");
    Press(*dialog, 1, 60);
    EXPECT_EQ(Lines(*dialog), "b.sgf +Game1.SGF");

    Click(*dialog, "OKButton");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(rows.rows, (std::vector<TCandidateRow>{{"Game1.SGF", dir.root}}));
    EXPECT_EQ(Items(history), std::vector<std::string>{dir.root});
}

TEST_F(AddfileTest, TheSameFolderChosenTwiceKeepsTheTicksAndTwoHistoryEntries) {
    const auto dialog = Open();
    Choose(*dialog);
    Press(*dialog, 0, 60);
    Choose(*dialog);
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    browser.answers.push_back(std::nullopt);
    Click(*dialog, "SelectDir");
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    EXPECT_EQ(Items(DirectoryList(*dialog)), (std::vector<std::string>{dir.root, dir.root}));
}

TEST_F(AddfileTest, HistoryGoesToTheNextDialogAndOnlyTheBrowserAddsToIt) {
    const auto first = Open();
    Choose(*first);
    QTest::keyClick(first.get(), Qt::Key_Escape);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(Items(history), std::vector<std::string>{dir.root});
    EXPECT_TRUE(rows.rows.empty());

    const auto second = Open();
    QComboBox& box = DirectoryList(*second);
    EXPECT_EQ(Items(box), std::vector<std::string>{dir.root});
    EXPECT_EQ(box.currentText(), "");
    EXPECT_EQ(Lines(*second), "");
    EXPECT_EQ(second->focusWidget(), Child<QWidget>(*second, "OKButton"));

    // Picking from the drop-down, then typing: each keystroke lists what the text names.
    box.setCurrentIndex(0);
    EXPECT_EQ(Lines(*second), "b.sgf Game1.SGF");
    QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(*second), "");
    EXPECT_EQ(Status(*second), "");
    EXPECT_EQ(List(*second).toolTip().toStdString(),
              "棋譜ファイルのあるディレクトリ選択してください");
    EXPECT_FALSE(Child<QWidget>(*second, "CheckAllBtn")->isEnabled());
    QTest::keyClicks(box.lineEdit(), QString(Folder().back()) + "/");
    EXPECT_EQ(Lines(*second), "b.sgf Game1.SGF");
    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(second->isVisible()) << "Enter in the folder box closed the dialog";
    Click(*second, "CheckAllBtn");
    for (const char* name : {"CheckFileListBox", "SGFRadioBtn"}) {
        QTest::keyClick(Child<QWidget>(*second, name), Qt::Key_Return);
        EXPECT_TRUE(second->isVisible()) << "Enter in " << name << " closed the dialog";
    }
    EXPECT_TRUE(rows.rows.empty());
    second->close();
    EXPECT_EQ(Items(history), std::vector<std::string>{dir.root});
}

TEST_F(AddfileTest, AFileAlreadyListedIsNotAddedAgain) {
    rows.rows = {{"b.sgf", dir.root}, {"Game1.SGF", dir.root + "/"}};
    const auto dialog = Open();
    Choose(*dialog);
    Click(*dialog, "CheckAllBtn");
    EXPECT_EQ(Lines(*dialog), "+b.sgf +Game1.SGF");
    Click(*dialog, "OKButton");
    EXPECT_EQ(Lines(*dialog), "b.sgf +Game1.SGF");
    // The same file under another spelling of its folder is another row.
    EXPECT_EQ(rows.rows.back(), (TCandidateRow{"Game1.SGF", dir.root}));
    EXPECT_EQ(rows.batches, std::vector<std::size_t>{1});
}

TEST_F(AddfileTest, PressesRightOfOneLineHeightInvertTheSelectedLine) {
    const auto dialog = Open();
    TCheckListBox& list = List(*dialog);
    Choose(*dialog);
    const int beyond = list.ItemHeight() + 30;
    // Nothing selected: a press below the lines does nothing.
    QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier,
                      QPoint(beyond, list.viewport()->height() - 3));
    EXPECT_EQ(Lines(*dialog), "b.sgf Game1.SGF");
    Press(*dialog, 0, beyond, Qt::RightButton);
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    // The tick box is the list's own: one click, one change.
    const QRect line = list.visualRect(list.model()->index(1, 0));
    Press(*dialog, 1, line.left() + list.ItemHeight() / 2);
    EXPECT_EQ(Lines(*dialog), "+b.sgf +Game1.SGF");
    Press(*dialog, 1, beyond);
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    // A double click reaches the list as a press and then a double-click: inverted twice.
    Press(*dialog, 1, beyond);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                       QPoint(beyond, line.center().y()));
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(beyond, line.center().y()));
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(Lines(*dialog), "+b.sgf +Game1.SGF");
    // With the classic 12-pixel lines the tick box reaches past one line height; a click there
    // still changes the tick once.
    list.SetItemHeight(12);
    const QRect small = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(small.left() + 14, small.center().y()));
    EXPECT_EQ(Lines(*dialog), "+b.sgf Game1.SGF");
    Click(*dialog, "UnCheckAllBtn");
    EXPECT_EQ(Lines(*dialog), "b.sgf Game1.SGF");
}

TEST_F(AddfileTest, OkWithNothingTickedAndCancelAddNothing) {
    const auto empty = Open();
    Click(*empty, "OKButton");
    EXPECT_FALSE(empty->isVisible());
    const auto cancelled = Open();
    Choose(*cancelled);
    Click(*cancelled, "CheckAllBtn");
    Click(*cancelled, "CanButton");
    EXPECT_FALSE(cancelled->isVisible());
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_TRUE(rows.batches.empty());
}
