#include "conversion/FileError.h"
#include "conversion/SgfEncoding.h"
#include "shell/QtText.h"
#include "shell/TextView.h"
#include "shell/ViewForm.h"
#include "shell/ViewText.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace {

std::string Shown(const TViewForm& form) {
    return Child<TTextView>(form, "Memo1")->Text().toStdString();
}

}  // namespace

TEST(ViewForm, ShowsTheRecordDecodedWithItsPathAsCaption) {
    TTempDir dir;
    // 表 and ソ end in 0x5C, ー in "[": none of them ends a line or splits.
    dir.Write("a.ugf", "[Header]\r\nTitle=\x95\x5C\x83\x5C\x81\x5B\rB\nC");
    dir.Write("b.ugf", std::string("before\r\n\0after", 15));
    dir.Write("c.ugf", "");
    TViewForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "ViewForm");
    form.ViewFile(dir.Path("a.ugf"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("a.ugf"));
    EXPECT_EQ(Shown(form), "[Header]\nTitle=表ソー\nB\nC");
    form.ViewFile(dir.Path("b.ugf"));
    EXPECT_EQ(Shown(form), "before\n");
    form.ViewFile(dir.Path("c.ugf"));
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("c.ugf"));
    EXPECT_EQ(Shown(form), "");
    form.hide();
}

TEST(ViewForm, ShowsAnSgfRecordInUtf8AsItsOwnText) {
    TTempDir dir;
    // Chinese and Korean that code page 932 has no form for show as they are, not as "?".
    dir.Write("utf8.sgf", "(;CA[UTF-8]PB[本因坊秀策]PW[金毛测试]\nC[표ソー 바둑])");
    dir.Write("utf8.ugf", "Title=本因坊");
    TViewForm form;
    form.ViewFile(dir.Path("utf8.sgf"));
    EXPECT_EQ(Shown(form), "(;CA[UTF-8]PB[本因坊秀策]PW[金毛测试]\nC[표ソー 바둑])");
    // A UGF record is Shift-JIS by definition.
    form.ViewFile(dir.Path("utf8.ugf"));
    EXPECT_NE(Shown(form), "Title=本因坊");
    form.hide();
}

TEST(ViewForm, AFileThatCannotBeReadLeavesTheNewCaptionAndNoText) {
    TTempDir dir;
    dir.Write("a.ugf", "A");
    TViewForm form;
    form.ViewFile(dir.Path("a.ugf"));
    EXPECT_THROW(form.ViewFile(dir.Path("gone.ugf")), TFileError);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("gone.ugf"));
    EXPECT_EQ(Shown(form), "");
    EXPECT_THROW(form.ViewFile(dir.root), TFileError);  // a folder is no file to show
    // Too large to show: refused before it is read, with the new caption and no text.
    dir.Write("huge.ugf", "");
    std::filesystem::resize_file(dir.Path("huge.ugf"), TViewForm::MAX_BYTES + 1);
    try {
        form.ViewFile(dir.Path("huge.ugf"));
        FAIL() << "no error";
    } catch (const TUserError& error) {
        EXPECT_EQ(FromUserText(error.text).toStdString(),
                  "文字列の大きさが メモ の制限を越えました");
    }
    EXPECT_EQ(form.windowTitle().toStdString(), dir.Path("huge.ugf"));
    EXPECT_EQ(Shown(form), "");
    form.hide();
}

// A file's text decoded piece by piece is the text of the whole file decoded at once, wherever
// the pieces end: between a lead byte and what follows it (a CR LF too), in a UTF-8 character,
// in a CR LF, at a NUL.
TEST(ViewForm, AFileDecodedInPiecesIsItsWholeText) {
    struct Row {
        const char* name;
        std::string bytes;
        bool sgf;
    };
    const Row rows[] = {
        {"Shift-JIS", "Title=\x95\x5C\x83\x5C\x81\x5B\r\n\x81\r\n\x83\x41\rB\n\n\x95", false},
        {"lead bytes in a row", "\x81\x81\x81\x81\x81\x81\x81\r\n\xE0\xE0\xE0\xFC\xFC\xFC", false},
        {"NUL", std::string("ab\r\ncd\0ef\r\n", 11), false},
        {"UTF-8", "(;CA[UTF-8]PB[本因坊秀策]\r\nC[표ソー 바둑 𠀋]\r\r\n)", true},
        {"SGF in Shift-JIS", "(;PB[\x95\x5C\x83\x5C]\r\nC[\x81\x5B])", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto bytes = std::make_shared<const std::string>(row.bytes);
        // As the whole file was decoded before it came in pieces.
        const std::optional<std::string> utf8 = row.sgf ? SgfRecordAsUtf8(row.bytes) : std::nullopt;
        const QString whole =
            utf8 ? QString::fromStdString(ViewText(*utf8)) : FromShiftJis(ViewText(row.bytes));
        for (std::size_t count = 1; count <= row.bytes.size(); ++count) {
            TViewedText text(bytes, row.sgf);
            EXPECT_EQ(text.Utf8(), utf8.has_value());
            QString joined;
            while (!text.Done()) {
                const std::string_view piece = text.Next(count);
                if (text.Utf8()) {
                    joined += QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
                } else {
                    AppendShiftJis(piece, joined);
                }
            }
            EXPECT_EQ(joined.toStdString(), whole.toStdString()) << "by " << count;
        }
    }
}

// A file opened while the one before is still being made shows only itself; closing the window
// meanwhile leaves it to finish.
TEST(ViewForm, ASecondFileBeforeTheFirstIsFinishedShowsAlone) {
    TTempDir dir;
    std::string large;
    for (int line = 0; line < 20000; ++line) {
        large += "GAME=\x95\x5C " + std::to_string(line) + "\r\n";
    }
    dir.Write("large.ugf", large);
    dir.Write("small.ugf", "Title=\x95\x5C\r\nB\r\n");
    TViewForm form;
    auto* memo = Child<TTextView>(form, "Memo1");
    form.ViewFile(dir.Path("large.ugf"));
    memo->viewport()->repaint();
    ASSERT_FALSE(memo->Complete());
    form.ViewFile(dir.Path("small.ugf"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return memo->Complete(); }));
    EXPECT_EQ(Shown(form), "Title=表\nB\n");
    EXPECT_EQ(memo->RowCount(), 3);

    form.ViewFile(dir.Path("large.ugf"));
    memo->viewport()->repaint();
    form.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return memo->Complete(); }));
    EXPECT_EQ(memo->RowCount(), 20001);
}

// The text's right-click menu holds the usual コピー and すべて選択, then the board's item.
TEST(ViewForm, TheTextsMenuCopiesSelectsAllAndShowsTheBoard) {
    TTempDir dir;
    dir.Write("a.ugf", "[Header]\r\nTitle=x\r\n");
    TViewForm form;
    form.ViewFile(dir.Path("a.ugf"));
    auto* memo = Child<TTextView>(form, "Memo1");
    EXPECT_EQ(memo->contextMenuPolicy(), Qt::ActionsContextMenu);
    std::vector<std::string> texts;
    for (const QAction* action : memo->actions()) {
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"コピー(&C)", "すべて選択(&A)", "-", "盤面を表示"}));
    QAction* copy = memo->actions()[0];
    EXPECT_FALSE(copy->isEnabled());
    memo->actions()[1]->trigger();
    EXPECT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "[Header]\nTitle=x\n");
}

// The viewer with its board lies whole on the screen, shrunk to it when the screen is smaller.
TEST(ViewForm, OpensWholeOnTheScreenOfItsOwner) {
    TTempDir dir;
    dir.Write("a.ugf", "[Header]\r\n");
    QWidget owner;
    owner.move(100, 100);
    owner.show();
    TViewForm form(&owner);
    ASSERT_TRUE(form.BoardShown());
    form.ViewFile(dir.Path("a.ugf"));
    const QRect screen = owner.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form.frameGeometry()))
        << form.x() << "," << form.y() << " " << form.width() << "x" << form.height() << " in "
        << screen.width() << "x" << screen.height();
    form.hide();
}
