// Every status text the program can show, with the longest counts, laid out with the Japanese
// fonts the program uses at 96 and 144 dots per inch: what shows is never cut.

#include "selection/AddRules.h"
#include "selection/Addfile.h"
#include "selection/FolderBrowser.h"
#include "selection/StatusLine.h"
#include "shell/ListRules.h"
#include "tests/support/FakeCandidateRows.h"
#include "tests/support/QtTest.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QStatusBar>

#include <climits>
#include <gtest/gtest.h>

TEST(StatusLine, EveryStatusTextShowsWholeWithTheLongestCounts) {
    TFakeCandidateRows rows;
    QComboBox history;
    TQtFolderBrowser browser;
    TAddfile dialog(rows, history, browser);
    const qreal dialogRoom = StatusRoom(*Child<QStatusBar>(dialog, "StatusBar"));
    // The main window's status line, as wide as the window (450 pixels), with no size grip.
    QStatusBar mainBar;
    mainBar.setSizeGripEnabled(false);
    mainBar.resize(450, 19);
    const qreal mainRoom = StatusRoom(mainBar);
    const std::size_t most = INT_MAX;
    const struct {
        const char* name;
        std::vector<std::string> forms;
        qreal room;
    } texts[] = {
        {"add-files, listed", FileCountForms(most, 0), dialogRoom},
        {"add-files, some with line breaks", FileCountForms(most, most), dialogRoom},
        {"add-files, few", FileCountForms(5, 1), dialogRoom},
        {"main, given", OpenedStatusForms(most, INT_MAX, most, most), mainRoom},
        {"main, given, few", OpenedStatusForms(5, 5, 1, 1), mainRoom},
        {"main, dropped", OpenedStatusForms(std::nullopt, INT_MAX, most, most), mainRoom},
        {"main, dropped, few", OpenedStatusForms(std::nullopt, 5, 1, 1), mainRoom},
        {"main, count", {StatusText(INT_MAX)}, mainRoom},
    };
    for (const char* family : {"IPAPGothic", "WenQuanYi Micro Hei"}) {
        for (const double scale : {1.0, 1.5}) {
            QFont font(QString::fromLatin1(family));
            font.setPixelSize(static_cast<int>(12 * scale));
            const QFontMetricsF metrics(font);
            for (const auto& text : texts) {
                SCOPED_TRACE(std::string(text.name) + ", " + family + " at " +
                             std::to_string(scale));
                const qreal room = text.room * scale;
                const std::size_t shown = FittingForm(font, room, text.forms);
                const QString form = QString::fromStdString(text.forms[shown]);
                EXPECT_LE(metrics.horizontalAdvance(form), room) << text.forms[shown];
                // A few files left out are said so on the line, not only in its hint.
                if (std::string(text.name).find("few") != std::string::npos) {
                    EXPECT_NE(text.forms[shown].find("除外"), std::string::npos)
                        << text.forms[shown];
                }
            }
        }
    }
}
