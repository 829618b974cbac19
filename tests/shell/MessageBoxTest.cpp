#include "shell/Messages.h"
#include "shell/QtText.h"
#include "shell/ShellTexts.h"
#include "tests/support/QtTest.h"

#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

struct TShown {
    std::string caption;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a box through show and answers it with OK, telling what it showed.
TShown Answer(const std::function<void()>& show) {
    TShown shown;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = {box->windowTitle().toStdString(), box->text().toStdString(), box->icon()};
        box->button(QMessageBox::Ok)->click();
    });
    show();
    return shown;
}

}  // namespace

TEST(MessageBox, ShowsEachKindWithItsCaptionIconAndText) {
    TMessageBoxes boxes;
    const TShown info = Answer(
        [&] { boxes.Info("\x90\xB3\x8F\xED\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB5\x82\xBD"); });
    EXPECT_EQ(info.caption, "情報");
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.text, "正常終了しました");
    const TShown error = Answer([&] { boxes.Error("x"); });
    EXPECT_EQ(error.caption, "エラー");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    // A path in UTF-8 beside program text in Shift-JIS: each piece read by its own rule.
    const TShown application = Answer([&] {
        boxes.ApplicationError(
            TUserText().Name("/home/u/棋譜/tessaro.ini").Text(texts::CANNOT_WRITE));
    });
    EXPECT_EQ(application.caption, "囲碁棋譜ファイル変換");
    EXPECT_EQ(application.icon, QMessageBox::Critical);
    EXPECT_EQ(application.text, "/home/u/棋譜/tessaro.ini に書き込めません.");
}
