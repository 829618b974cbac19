#include "shell/AboutBox.h"
#include "shell/Version.h"
#include "tests/support/QtTest.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

TEST(AboutBox, ShowsNameVersionMakerAndDisclaimer) {
    TAboutBox box;
    EXPECT_EQ(box.windowTitle().toStdString(), "バージョン情報");
    EXPECT_EQ(Child<QLabel>(box, "Label1")->text().toStdString(), "囲碁棋譜ファイル変換　Morvane");
    EXPECT_EQ(Child<QLabel>(box, "Label2")->text().toStdString(),
              std::string("Ver") + MORVANE_VERSION);
    EXPECT_EQ(Child<QLabel>(box, "Label3")->text().toStdString(), MORVANE_MAKER);
    EXPECT_EQ(Child<QLabel>(box, "Label6")->text().toStdString(), "免責");
    EXPECT_FALSE(Child<QLabel>(box, "Label10")->text().isEmpty());
    // Centred on the screen, also when a window off to its side opens it.
    QWidget owner;
    owner.move(0, 0);
    TAboutBox owned(&owner);
    owned.show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((owned.frameGeometry().center() - screen.center()).manhattanLength(), 4);
}

TEST(AboutBox, LinksOpenTheHomepageAndAMailWithItsSubject) {
    std::vector<QUrl> opened;
    TAboutBox box(nullptr, [&](const QUrl& url) { opened.push_back(url); });
    QTest::mouseClick(Child<QLabel>(box, "hpurl"), Qt::LeftButton);
    QTest::mouseClick(Child<QLabel>(box, "mailurl"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].toString().toStdString(), MORVANE_HOMEPAGE);
    // "棋譜ファイル変換について" between double quotes, percent-encoded in UTF-8.
    EXPECT_EQ(opened[1].toEncoded().toStdString(),
              std::string("mailto:") + MORVANE_MAIL +
                  "?Subject=%22%E6%A3%8B%E8%AD%9C%E3%83%95%E3%82%A1%E3%82%A4%E3%83%AB"
                  "%E5%A4%89%E6%8F%9B%E3%81%AB%E3%81%A4%E3%81%84%E3%81%A6%22");
    EXPECT_FALSE(box.isVisible() && box.result() == QDialog::Accepted);
}
