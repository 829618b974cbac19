#include "conversion/FileError.h"
#include "selection/StatusLine.h"
#include "shell/BoardView.h"
#include "shell/MainForm.h"
#include "shell/ProgressForm.h"
#include "shell/TextView.h"
#include "shell/ViewForm.h"
#include "tests/shell/WindowTestSupport.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

// Drops the files on widget as a file manager would.
void DropFiles(QWidget* widget, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls.append(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    EXPECT_TRUE(drop.isAccepted());
}

const std::string UGF =
    "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nWinner=B,C\r\n"
    "BMemb1=Taro,3d\r\nWMemb1=Jiro\r\n[Data]\r\nPD,B1,1,0\r\nDD,W1,2,0\r\n";
const std::string BAD_UGF = "[Header]\r\nLang=SJIS\r\nCrypt=1,SECRET\r\n[Data]\r\n";
const std::string EMPTY_TEXT = "棋譜変換候補一覧に棋譜ファイルが追加されていません";

// A record of a million moves, long enough that the progress bar moves while it is converted.
const std::string& LongUgf() {
    static const std::string record = UgfOfMoves(1000000);
    return record;
}

// A main window on a folder of its own (real files), with its message boxes and dialogs answered
// by the test.
struct TWindow {
    TTempDir dir;
    TLoggedMessages messages;
    TAnsweredDialogs dialogs;
    TDiskFileService disk;
    std::unique_ptr<TMainForm> form;

    void Start() { form = std::make_unique<TMainForm>(messages, dialogs, disk, dir.root + "/"); }
    void Stop() { form.reset(); }

    QTreeWidget& List() const { return *Child<QTreeWidget>(*form, "FileListView"); }
    std::string Status() const {
        return Child<QStatusBar>(*form, "StatusBar")->currentMessage().toStdString();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const TCandidateRow& row : form->Rows()) {
            names.push_back(row.name);
        }
        return names;
    }
    // Adds rows as the add-files dialog would.
    void AddRows(const std::vector<TCandidateRow>& rows) {
        dialogs.addFiles = [rows](TCandidateRows& list, QComboBox&) { list.AppendRows(rows); };
        Click(*form, "tuika");
    }
    // Rows for the named files of the folder, which are written with bytes.
    void AddFiles(const std::vector<std::pair<std::string, std::string>>& files) {
        std::vector<TCandidateRow> rows;
        for (const auto& [name, bytes] : files) {
            dir.Write(name, bytes);
            rows.push_back({name, dir.root});
        }
        AddRows(rows);
    }
    bool ListButtonsEnabled() const {
        const bool conv = Child<QPushButton>(*form, "ConvBtn")->isEnabled();
        EXPECT_EQ(Child<QPushButton>(*form, "SelConvBtn")->isEnabled(), conv);
        EXPECT_EQ(Child<QToolButton>(*form, "seldelBtn")->isEnabled(), conv);
        EXPECT_EQ(Child<QToolButton>(*form, "alldelBtn")->isEnabled(), conv);
        return conv;
    }
};

}  // namespace

TEST(MainForm, ShowsItsDesignAtStart) {
    TWindow w;
    w.Start();
    EXPECT_EQ(w.form->windowTitle().toStdString(), "囲碁棋譜ファイル変換　Morvane");
    EXPECT_EQ(w.form->size(), QSize(450, 458));
    EXPECT_EQ(w.Status(), EMPTY_TEXT);
    EXPECT_FALSE(w.ListButtonsEnabled());
    for (const char* name : {"tuika", "About", "CloseBtn"}) {
        EXPECT_TRUE(Child<QPushButton>(*w.form, name)->isEnabled()) << name;
    }
    // Only the add button shows a hint.
    EXPECT_EQ(Child<QPushButton>(*w.form, "tuika")->toolTip().toStdString(),
              "棋譜ファイルを追加します");
    EXPECT_TRUE(Child<QPushButton>(*w.form, "ConvBtn")->toolTip().isEmpty());
    EXPECT_TRUE(Child<QPushButton>(*w.form, "SelConvBtn")->toolTip().isEmpty());
    // The diagnostic area, the history box and their toggle are out of sight.
    EXPECT_TRUE(Child<QToolButton>(*w.form, "DbgBtn")->isHidden());
    EXPECT_TRUE(Child<QComboBox>(*w.form, "TmpDirListCBox")->isHidden());
    EXPECT_GE(Child<QPlainTextEdit>(*w.form, "TempMemo")->x(), w.form->width());
    // Tab order, and no focus for the flat buttons.
    std::vector<std::string> order;
    QWidget* widget = Child<QWidget>(*w.form, "tuika");
    for (int i = 0; i < 7; ++i, widget = widget->nextInFocusChain()) {
        while (widget->focusPolicy() == Qt::NoFocus || widget->objectName().isEmpty()) {
            widget = widget->nextInFocusChain();
        }
        order.push_back(widget->objectName().toStdString());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"tuika", "ConvBtn", "About", "CloseBtn",
                                               "FileListView", "SelConvBtn", "TempMemo"}));
}

TEST(MainForm, StatusLineCountsRestoredRowsAtStartAsADeliberateMend) {
    TWindow w;
    w.dir.Write("a.ugf", UGF);
    w.dir.Write("b.sgf", "");
    w.dir.Write("flvback.dat", w.dir.Path("a.ugf") + "\r\n\r\n" + w.dir.Path("gone.ugf") + "\r\n" +
                                   w.dir.root + "\r\n" + w.dir.Path("b.sgf"));
    w.Start();
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.ugf", "b.sgf"}));
    EXPECT_EQ(w.List().topLevelItem(0)->text(1).toStdString(), w.dir.root);
    EXPECT_EQ(w.Status(), "2個の棋譜ファイルが変換候補一覧にあります");
    EXPECT_TRUE(w.ListButtonsEnabled());
}

TEST(MainForm, EachRowShowsItsOwnNameAndFolderDecoded) {
    TWindow w;
    w.Start();
    // Rows of two folders by turns, as a list added from several folders is.
    const std::string other = w.dir.root + "/下";
    w.AddRows({{"a.ugf", w.dir.root}, {"棋譜.ugf", other}, {"b.sgf", w.dir.root}});
    const QAbstractItemModel& model = *w.List().model();
    const std::vector<std::pair<QString, std::string>> shown = {
        {"a.ugf", w.dir.root}, {"棋譜.ugf", other}, {"b.sgf", w.dir.root}};
    ASSERT_EQ(model.rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        // What the list paints is what its rows say.
        EXPECT_EQ(model.data(model.index(row, 0)).toString(), shown[row].first);
        EXPECT_EQ(model.data(model.index(row, 1)).toString().toStdString(), shown[row].second);
        EXPECT_EQ(w.form->SubItem(row), shown[row].second);
    }
}

TEST(MainForm, KeepsListPositionAndSettingsFromOneRunToTheNext) {
    TWindow w;
    w.dir.Write("tessaro.ini",
                "; mine\r\n[FORM]\r\nTOP=0x40\r\nLEFT=abc\r\n[SETTING]\r\nUSGFAPLI=7\r\n");
    w.Start();
    EXPECT_EQ(w.form->pos(), QPoint(100, 64));
    EXPECT_EQ(w.form->State().Settings.USGFApli, 7);
    w.dialogs.addFiles = [&](TCandidateRows& rows, QComboBox& history) {
        EXPECT_EQ(&history, Child<QComboBox>(*w.form, "TmpDirListCBox"));
        w.dir.Write("棋譜.ugf", UGF);
        w.dir.Write("\x95\x5C.sgf", "");  // a Shift-JIS name, no UTF-8
        rows.AppendRows({{"棋譜.ugf", w.dir.root}, {"\x95\x5C.sgf", w.dir.root}});
    };
    Click(*w.form, "tuika");
    EXPECT_EQ(w.Status(), "2個の棋譜ファイルが変換候補一覧にあります");
    EXPECT_TRUE(w.ListButtonsEnabled());
    w.dialogs.settings = [](TConversionState& state) { state.Settings.USGFApli = 3; };
    Click(*w.form, "SettingSpdBtn");
    w.form->move(300, 200);
    w.Stop();
    EXPECT_EQ(w.dir.Read("flvback.dat"),
              w.dir.Path("棋譜.ugf") + "\r\n" + w.dir.Path("\x95\x5C.sgf") + "\r\n");
    EXPECT_EQ(w.dir.Read("tessaro.ini"),
              "; mine\r\n[FORM]\r\nTOP=200\r\nLEFT=300\r\n[SETTING]\r\nUSGFAPLI=3\r\n"
              "SGFCONV=0\r\nUGFCONV=0\r\nSSGFAPLI=0\r\n");

    w.Start();
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"棋譜.ugf", "\x95\x5C.sgf"}));
    EXPECT_EQ(w.form->pos(), QPoint(300, 200));
    EXPECT_EQ(w.form->State().Settings.USGFApli, 3);
    // The name that is no valid text is shown as well as it decodes.
    EXPECT_FALSE(w.List().topLevelItem(1)->text(0).isEmpty());

    Click(*w.form, "alldelBtn");
    EXPECT_EQ(w.Status(), EMPTY_TEXT);
    EXPECT_FALSE(w.ListButtonsEnabled());
    w.Stop();
    EXPECT_EQ(w.dir.List().find("flvback.dat"), std::string::npos);
    EXPECT_TRUE(w.messages.log.empty());

    // A place off every screen (a screen that is gone) brings the window whole onto one when it
    // shows, moved no further than it takes.
    w.dir.Write("tessaro.ini", "[FORM]\r\nTOP=100\r\nLEFT=5000\r\n");
    w.Start();
    w.form->show();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.form->frameGeometry())) << w.form->x() << "," << w.form->y();
    EXPECT_EQ(w.form->y(), 100);
}

TEST(MainForm, AnUnreadableListIsReportedAndNeitherItNorTheSettingsAreLost) {
    TLoggedMessages messages;
    TAnsweredDialogs dialogs;
    TFakeServices fake;
    fake.files.files["/p/flvback.dat"] = "/k/a.ugf\r\n";
    fake.files.unreadable.insert("/p/flvback.dat");
    fake.files.files["/p/tessaro.ini"] = "[SETTING]\r\nUSGFAPLI=2\r\n";
    {
        TMainForm form(messages, dialogs, fake.files, "/p/");
        EXPECT_EQ(
            messages.log,
            (std::vector<std::string>{"ApplicationError ファイル /p/flvback.dat は開けません."}));
        EXPECT_EQ(form.State().Settings.USGFApli, 2);
        fake.files.files["/k/b.ugf"] = "";
        form.AppendRows({{"b.ugf", "/k"}});
    }
    EXPECT_EQ(fake.files.files["/p/flvback.dat"], "/k/a.ugf\r\n");
    EXPECT_NE(fake.files.files["/p/tessaro.ini"].find("USGFAPLI=2"), std::string::npos);
}

TEST(MainForm, AListThatCannotBeWrittenAtTheEndLeavesTheSettingsUnwritten) {
    TLoggedMessages messages;
    TAnsweredDialogs dialogs;
    TFakeServices fake;
    fake.files.files["/k/a.ugf"] = "";
    fake.files.unwritable.insert("/p/flvback.dat");
    {
        TMainForm form(messages, dialogs, fake.files, "/p/");
        form.AppendRows({{"a.ugf", "/k"}});
    }
    EXPECT_EQ(
        messages.log,
        (std::vector<std::string>{"ApplicationError ファイル /p/flvback.dat を作成できません."}));
    EXPECT_EQ(fake.files.files.count("/p/tessaro.ini"), 0u);
}

TEST(MainForm, DeletingARowSelectsTheOneThatTookItsPlace) {
    TWindow w;
    w.Start();
    w.AddRows({{"a.ugf", "/k"}, {"b.ugf", "/k"}, {"c.ugf", "/k"}});
    Click(*w.form, "seldelBtn");  // nothing selected: only the status line follows
    EXPECT_EQ(w.Status(), "3個の棋譜ファイルが変換候補一覧にあります");
    w.List().topLevelItem(1)->setSelected(true);
    Click(*w.form, "seldelBtn");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.ugf", "c.ugf"}));
    EXPECT_EQ(w.form->SelectedRow(), 1);
    Click(*w.form, "seldelBtn");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.ugf"}));
    EXPECT_EQ(w.form->SelectedRow(), 0);
    EXPECT_EQ(w.List().selectedItems().size(), 1);
    Click(*w.form, "seldelBtn");
    EXPECT_EQ(w.form->RowCount(), 0);
    EXPECT_EQ(w.Status(), EMPTY_TEXT);
    EXPECT_FALSE(w.ListButtonsEnabled());
}

TEST(MainForm, DoubleClickShowsTheSelectedRowsFileInTheOneViewer) {
    TWindow w;
    w.Start();
    w.AddFiles({{"a.ugf", "A\r\n"}, {"b.ugf", "B\n"}});
    QWidget* viewport = w.List().viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, 200));  // below the rows
    EXPECT_FALSE(w.form->ViewForm().isVisible());
    w.List().topLevelItem(1)->setSelected(true);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_TRUE(w.form->ViewForm().isVisible());
    EXPECT_EQ(w.form->ViewForm().windowTitle().toStdString(), w.dir.Path("b.ugf"));
    EXPECT_EQ(Child<TTextView>(w.form->ViewForm(), "Memo1")->Text().toStdString(), "B\n");
    std::filesystem::remove(w.dir.Path("a.ugf"));
    w.form->SelectRow(0);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(w.form->ViewForm().windowTitle().toStdString(), w.dir.Path("a.ugf"));
    EXPECT_TRUE(Child<TTextView>(w.form->ViewForm(), "Memo1")->Text().isEmpty());
    EXPECT_EQ(w.messages.log, (std::vector<std::string>{"ApplicationError ファイル " +
                                                        w.dir.Path("a.ugf") + " は開けません."}));
    w.form->ViewForm().hide();
}

TEST(MainForm, TheViewersBoardIsConvertedWithTheSettingsAndStaysHiddenOnceHidden) {
    TWindow w;
    w.Start();
    EXPECT_TRUE(w.form->ViewForm().BoardShown());
    w.AddFiles({{"a.ugf", UGF}});
    w.form->SelectRow(0);
    w.form->State().Settings.UGFConv = 1;
    w.form->FileListViewDblClick();
    EXPECT_EQ(Child<QLabel>(w.form->ViewForm(), "DiffLabel")->text().toStdString(),
              "変換されません: 設定により UGF ファイルは変換しません");
    // A record that is not converted still shows its own game.
    EXPECT_TRUE(Child<TBoardView>(w.form->ViewForm(), "BoardView")->HasBoard());
    // The settings read when the converted game is asked for.
    w.form->State().Settings.UGFConv = 0;
    Click(w.form->ViewForm(), "AfterBtn");
    EXPECT_EQ(Child<QLabel>(w.form->ViewForm(), "DiffLabel")->text().toStdString(),
              "変換後も同じ棋譜です（2手）");
    Click(w.form->ViewForm(), "HideBoardBtn");
    w.Stop();
    EXPECT_NE(w.dir.Read("tessaro.ini").find("[MORVANE]\r\nVIEWBOARD=0\r\n"), std::string::npos);
    w.Start();
    EXPECT_FALSE(w.form->ViewForm().BoardShown());
    w.form->ViewForm().hide();
}

TEST(MainForm, TheConvertedBoardFollowsTheSettingsOfEachAsking) {
    // ＡＩ囲碁's SGF (2) gives the handicap stones no property name, so they do not come back as
    // setup stones; the others' do.
    TWindow w;
    w.Start();
    w.AddFiles({{"h.ugf",
                 "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=9\r\nHdcp=2,0\r\n"
                 "[Data]\r\nCC,B1,0,0\r\nGG,B1,0,0\r\nEE,W1,1,0\r\n"}});
    w.form->SelectRow(0);
    const auto stones = [&w] {
        const std::optional<TBoard>& board =
            Child<TBoardView>(w.form->ViewForm(), "BoardView")->Board();
        int count = 0;
        for (int row = 0; board && row < board->Size(); ++row) {
            for (int column = 0; column < board->Size(); ++column) {
                count += board->At(column, row) != TStone::Empty ? 1 : 0;
            }
        }
        return count;
    };
    w.form->FileListViewDblClick();
    // The viewer stays open while the settings change between two askings.
    for (const int dialect : {2, 0, 2}) {
        SCOPED_TRACE(dialect);
        w.form->State().Settings.USGFApli = dialect;
        Click(w.form->ViewForm(), "BeforeBtn");
        Click(w.form->ViewForm(), "AfterBtn");
        EXPECT_EQ(stones(), dialect == 2 ? 1 : 3);
    }
    w.form->ViewForm().hide();
}

TEST(MainForm, TheHiddenToggleUncoversTheDiagnosticsAndCoversThemAgain) {
    TWindow w;
    w.Start();
    Child<QToolButton>(*w.form, "DbgBtn")->click();
    EXPECT_EQ(w.form->width(), 842);
    Child<QToolButton>(*w.form, "DbgBtn")->click();
    EXPECT_EQ(w.form->width(), 450);
    Click(*w.form, "About");
    EXPECT_EQ(w.dialogs.log, (std::vector<std::string>{"About"}));
}

TEST(MainForm, FullRunConvertsThroughTheWindowsAndKeepsTheFailedRows) {
    TWindow w;
    w.Start();
    // 表.ugf in Shift-JIS bytes: no valid name on a UTF-8 system, converted all the same. k.ugf is
    // the output of k.sgf by the time its row comes: it fails, and the user's own k.ugf is the
    // backup.
    const std::string OWN_SGF = "(;SZ[19]C[mine];B[aa])";
    w.AddFiles({{"a.ugf", UGF},
                {"b.ugf", BAD_UGF},
                {"c.txt", "x"},
                {"\x95\x5C.ugf", UGF},
                {"k.sgf", OWN_SGF},
                {"k.ugf", UGF}});
    Click(*w.form, "ConvBtn");
    EXPECT_EQ(w.messages.log, (std::vector<std::string>{"Info 全変換終了しました"}));
    // The box comes up above the progress window, which stays until it goes.
    EXPECT_EQ(w.messages.owners, (std::vector<QWidget*>{&w.form->ProgressForm()}));
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"b.ugf", "k.ugf"}));
    // Each row left is marked with the warning sign and tells why as its hint.
    for (int row = 0; row < 2; ++row) {
        EXPECT_FALSE(w.List().topLevelItem(row)->icon(0).isNull()) << row;
    }
    EXPECT_EQ(w.List().topLevelItem(0)->toolTip(1).toStdString(),
              "Crypt の値が 0,PLAIN_UGF_FILE ではありません: 1,SECRET");
    EXPECT_EQ(w.List().topLevelItem(1)->toolTip(0).toStdString(),
              "今回の変換で書き出したファイルなので変換しません");
    EXPECT_FALSE(w.form->ProgressForm().isVisible());
    EXPECT_EQ(Child<QProgressBar>(w.form->ProgressForm(), "ProgressBar2")->value(), 6);
    EXPECT_EQ(w.dir.Read("a.sgf").substr(0, 3), "(;\r");
    EXPECT_EQ(w.dir.Read("\x95\x5C.sgf"), w.dir.Read("a.sgf"));
    EXPECT_EQ(w.dir.Read("k.sgf"), OWN_SGF);
    EXPECT_EQ(w.dir.Read("k.bak"), UGF);
    // The converter's diagnostic line reaches the diagnostic area.
    EXPECT_EQ(Child<QPlainTextEdit>(*w.form, "TempMemo")->toPlainText().toStdString(), "1,SECRET");
}

TEST(MainForm, ASecondFullRunConvertsWhatTheFirstWroteAgain) {
    // Each run remembers only its own outputs and backups: the backup that the first made is no
    // reason for the second to refuse.
    TWindow w;
    w.Start();
    w.dir.Write("a.sgf", "the user's own");
    w.AddFiles({{"a.ugf", UGF}});
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        if (run == 1) {
            w.AddRows({{"a.ugf", w.dir.root}});
        }
        Click(*w.form, "ConvBtn");
        EXPECT_TRUE(w.Names().empty());
    }
    EXPECT_EQ(w.dir.Read("a.bak"), w.dir.Read("a.sgf"));
    EXPECT_NE(w.dir.Read("a.sgf"), "the user's own");
}

TEST(MainForm, SingleRunTellsTheOutcomeAndSelectsTheNextRow) {
    TWindow w;
    w.Start();
    w.AddFiles({{"a.ugf", UGF}, {"b.ugf", BAD_UGF}, {"c.ugf", UGF}});
    w.form->SelectRow(0);
    Click(*w.form, "SelConvBtn");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"b.ugf", "c.ugf"}));
    EXPECT_EQ(w.form->SelectedRow(), 0);
    Click(*w.form, "SelConvBtn");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"b.ugf", "c.ugf"}));
    EXPECT_EQ(w.form->SelectedRow(), 0);
    ASSERT_EQ(w.messages.log.size(), 2u);
    EXPECT_EQ(w.messages.log[0], "Info 正常終了しました");
    EXPECT_EQ(w.messages.log[1].rfind("Error 異常終了しました", 0), 0u) << w.messages.log[1];
    EXPECT_EQ(w.Status(), "2個の棋譜ファイルが変換候補一覧にあります");
}

TEST(MainForm, ProgressMovesDuringALongConversionAndInputWaitsForTheEnd) {
    TWindow w;
    w.Start();
    w.AddFiles({{"long.ugf", LongUgf()}, {"short.ugf", UGF}});
    w.dir.Write("later.sgf", "");
    auto* bar = Child<QProgressBar>(w.form->ProgressForm(), "ProgressBar1");
    std::set<int> between;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (value > bar->minimum() && value < bar->maximum()) {
            between.insert(value);
            // What a user might do while the run goes on: nothing of it may act.
            QTest::mouseClick(Child<QToolButton>(*w.form, "alldelBtn"), Qt::LeftButton);
            QTest::mouseClick(Child<QPushButton>(*w.form, "ConvBtn"), Qt::LeftButton);
            w.form->close();
            // A file dropped now waits for the end of the run.
            if (between.size() == 1) {
                DropFiles(w.List().viewport(), {w.dir.Path("later.sgf")});
                EXPECT_EQ(w.form->RowCount(), 2);
            }
        }
    });
    bool closed = false;
    w.form->OnClosed = [&] { closed = true; };
    Click(*w.form, "ConvBtn");
    EXPECT_FALSE(closed);
    EXPECT_GE(between.size(), 2u) << "the bar never moved between its ends";
    EXPECT_EQ(w.messages.log, (std::vector<std::string>{"Info 全変換終了しました"}));
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"later.sgf"}));
    // The list and the settings may have been stored meanwhile.
    std::string outputs = w.dir.List();
    for (const std::string stored : {"flvback.dat ", " tessaro.ini"}) {
        if (const std::size_t at = outputs.find(stored); at != std::string::npos) {
            outputs.erase(at, stored.size());
        }
    }
    EXPECT_EQ(outputs, "later.sgf long.sgf long.ugf short.sgf short.ugf");
}

TEST(MainForm, TheListAndTheSettingsGoToDiskShortlyAfterEachChange) {
    TWindow w;
    w.Start();
    // What a start finds if the program is killed now.
    const auto stored = [&](const std::string& name) {
        return std::filesystem::exists(w.dir.Path(name)) ? w.dir.Read(name) : std::string();
    };
    const auto storedSoon = [&](const std::string& name, const std::string& bytes) {
        return QTest::qWaitFor([&] { return stored(name) == bytes; }, 10000);
    };
    w.AddFiles({{"a.ugf", UGF}, {"b.ugf", UGF}});
    EXPECT_TRUE(
        storedSoon("flvback.dat", w.dir.Path("a.ugf") + "\r\n" + w.dir.Path("b.ugf") + "\r\n"));
    w.form->SelectRow(0);
    Click(*w.form, "seldelBtn");
    w.dialogs.settings = [](TConversionState& state) { state.Settings.SGFConv = 1; };
    Click(*w.form, "SettingSpdBtn");
    w.form->move(300, 200);
    EXPECT_TRUE(storedSoon("flvback.dat", w.dir.Path("b.ugf") + "\r\n"));
    EXPECT_TRUE(storedSoon("tessaro.ini",
                           "[FORM]\r\nTOP=200\r\nLEFT=300\r\n[SETTING]\r\n"
                           "SGFCONV=1\r\nUGFCONV=0\r\nSSGFAPLI=0\r\nUSGFAPLI=0\r\n"));
    Click(*w.form, "alldelBtn");
    EXPECT_TRUE(storedSoon("flvback.dat", ""));
    EXPECT_TRUE(w.messages.log.empty());
}

TEST(MainForm, AskedToEndDuringARunItEndsAfterTheRecordUnderWayWithoutItsMessage) {
    TWindow w;
    w.Start();
    w.AddFiles({{"a.ugf", UGF}, {"long.ugf", LongUgf()}, {"b.ugf", BAD_UGF}, {"c.ugf", UGF}});
    std::string storedAtRequest;
    const auto endDuringTheRecord = [&] {
        auto* bar = Child<QProgressBar>(w.form->ProgressForm(), "ProgressBar1");
        return QObject::connect(bar, &QProgressBar::valueChanged, [&, bar](int value) {
            if (value > bar->minimum() && value < bar->maximum() && storedAtRequest.empty()) {
                w.form->RequestEnd();
                storedAtRequest = w.dir.Read("flvback.dat");
            }
        });
    };
    const QMetaObject::Connection during = endDuringTheRecord();
    bool closed = false;
    w.form->OnClosed = [&] { closed = true; };
    Click(*w.form, "ConvBtn");
    QObject::disconnect(during);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(w.messages.log.empty());
    // The record converted before goes at once; the one under way is finished; those not reached
    // stay, as the program's end stores them.
    EXPECT_EQ(storedAtRequest, w.dir.Path("long.ugf") + "\r\n" + w.dir.Path("b.ugf") + "\r\n" +
                                   w.dir.Path("c.ugf") + "\r\n");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"b.ugf", "c.ugf"}));
    EXPECT_EQ(w.dir.Read("long.sgf").substr(0, 3), "(;\r");
    EXPECT_FALSE(std::filesystem::exists(w.dir.Path("c.sgf")));
    w.Stop();
    EXPECT_EQ(w.dir.Read("flvback.dat"),
              w.dir.Path("b.ugf") + "\r\n" + w.dir.Path("c.ugf") + "\r\n");

    // The single run: its record is converted, and no box waits for an answer.
    w.Start();
    w.AddFiles({{"long.ugf", LongUgf()}});
    storedAtRequest.clear();
    const QMetaObject::Connection single = endDuringTheRecord();
    closed = false;
    w.form->OnClosed = [&] { closed = true; };
    w.form->SelectRow(2);
    Click(*w.form, "SelConvBtn");
    QObject::disconnect(single);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(w.messages.log.empty());
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"b.ugf", "c.ugf"}));
    w.Stop();

    // Asked while the closing message is up, a real box: the box goes.
    TMessageBoxes boxes;
    TMainForm form(boxes, w.dialogs, w.disk, w.dir.root + "/");
    closed = false;
    form.OnClosed = [&] { closed = true; };
    bool boxStayed = false;
    WhenModalOpens([&](QWidget* box) {
        form.RequestEnd();
        QTimer::singleShot(5000, box, [&boxStayed, box] {
            boxStayed = true;
            box->close();
        });
    });
    form.SelectRow(0);
    Click(form, "SelConvBtn");
    EXPECT_FALSE(boxStayed);
    EXPECT_TRUE(closed);
}

TEST(MainForm, TheAddButtonOpensTheAddFilesDialogAndItsRowsConvert) {
    TWindow w;
    TDesktopDialogs desktop;
    w.dir.Write("a.sgf", "");
    w.dir.Write("b.sgf", "");
    w.form = std::make_unique<TMainForm>(w.messages, desktop, w.disk, w.dir.root + "/");
    WhenModalOpens([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "追加");
        Child<QComboBox>(*dialog, "DirectoryList")->setEditText(QString::fromStdString(w.dir.root));
        Click(*dialog, "CheckAllBtn");
        Click(*dialog, "OKButton");
    });
    Click(*w.form, "tuika");
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.sgf", "b.sgf"}));
    EXPECT_EQ(w.form->Rows()[0].directory, w.dir.root);
    EXPECT_EQ(w.Status(), "2個の棋譜ファイルが変換候補一覧にあります");
    EXPECT_TRUE(w.ListButtonsEnabled());
}

TEST(MainForm, FilesDroppedOrGivenAtStartBecomeRowsOnce) {
    TWindow w;
    w.dir.Write("a.sgf", "");
    w.dir.Write("b.UGF", "");
    w.dir.Write("notes.txt", "");
    w.Start();
    w.form->OpenFiles({w.dir.Path("a.sgf"), w.dir.Path("missing.sgf")},
                      TMainForm::TOpener::CommandLine);
    EXPECT_EQ(w.Status(), "1個の棋譜ファイルを追加しました（1個が変換候補一覧にあります）");
    EXPECT_TRUE(w.ListButtonsEnabled());
    // The folder gives its records; the row already there is not added again. What is no record,
    // or has a line break in its name, is left out and counted.
    w.dir.Write("c\nd.sgf", "");
    DropFiles(w.List().viewport(), {w.dir.root, w.dir.Path("notes.txt")});
    EXPECT_EQ(w.Names(), (std::vector<std::string>{"a.sgf", "b.UGF"}));
    // Whole, in a form the status line shows whole; the whole text is its hint.
    const auto* bar = Child<QStatusBar>(*w.form, "StatusBar");
    EXPECT_EQ(w.Status(), "2個の棋譜ファイルが変換候補一覧にあります（除外2個）");
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->currentMessage()), StatusRoom(*bar));
    EXPECT_EQ(bar->toolTip().toStdString(),
              "2個の棋譜ファイルが変換候補一覧にあります（1個は棋譜ファイルではないので追加しません"
              "でした）（1個は名前に改行があるので追加しませんでした）");
    // A drag that carries no file, or only files elsewhere than on this computer, is refused.
    QMimeData text;
    text.setText("a.sgf");
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/kifu/a.sgf"), QUrl("sftp://host/kifu/b.sgf")});
    for (QMimeData* data : {&text, &remote}) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.List().viewport(), &enter);
        EXPECT_FALSE(enter.isAccepted());
    }
}
