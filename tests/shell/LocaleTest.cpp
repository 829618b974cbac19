// Qt's own texts and the folder browser under a Japanese locale: this executable runs with
// LC_ALL=ja_JP.UTF-8 (tests/shell/CMakeLists.txt), as a Japanese user's program does.

#include "selection/FolderBrowser.h"
#include "selection/Fonts.h"
#include "shell/Translations.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <gtest/gtest.h>

TEST(Locale, QtsOwnTextsAreInTheUsersLanguage) {
    const struct {
        const char* name;
        QLocale locale;
        const char* lookIn;  // the folder browser's "Look in:"
        const char* copy;    // a text field's context menu
        const char* folder;  // the folder browser's type column, which Qt's translation lacks
    } rows[] = {
        {"Japanese", QLocale(QLocale::Japanese, QLocale::Japan), "アドレス:", "コピー(&C)",
         "フォルダ"},
        {"English", QLocale(QLocale::English, QLocale::UnitedStates), "Look in:", "&Copy",
         "Folder"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QLocale::setDefault(row.locale);
        const std::unique_ptr<QTranslator> translations = UseQtTranslations();
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:").toStdString(), row.lookIn);
        EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Copy").toStdString(), row.copy);
        EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder",
                                              "All other platforms")
                      .toStdString(),
                  row.folder);
    }
    QLocale::setDefault(QLocale::system());
}

TEST(Locale, TheFolderBrowserIsJapaneseAndShowsWholeDates) {
    ASSERT_EQ(QLocale::system().language(), QLocale::Japanese);
    UseClassicFont();
    const std::unique_ptr<QTranslator> translations = UseQtTranslations();
    TTempDir dir;
    std::filesystem::create_directories(dir.Path("kifu/対局"));
    // Qt keeps the browser's column widths among the user's settings (Linux: in the configuration
    // folder): the test has its own, so it starts as a first start does.
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.Path("config")));
    const std::unique_ptr<QFileDialog> browser = NewFolderDialog(nullptr, "folder");
    browser->setOption(QFileDialog::DontUseNativeDialog);
    browser->setDirectory(QString::fromStdString(dir.Path("kifu")));
    browser->show();
    const auto* list = browser->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 1; }));
    // Every column of the list, its header and each cell, is Japanese.
    for (int column = 0; column < list->model()->columnCount(list->rootIndex()); ++column) {
        for (const QString& text :
             {list->model()->headerData(column, Qt::Horizontal).toString(),
              list->model()->index(0, column, list->rootIndex()).data().toString()}) {
            EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))))
                << column << ": " << text.toStdString();
        }
    }
    // The date as the list writes it ("2026/12/07 16:17"), with the margins the style draws.
    const QString date = list->model()->index(0, 3, list->rootIndex()).data().toString();
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    EXPECT_GE(list->header()->sectionSize(3),
              list->fontMetrics().horizontalAdvance(date) + 2 * margin)
        << date.toStdString();
}
