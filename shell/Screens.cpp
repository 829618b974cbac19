// morvane_screens DIR [RECORD]: renders every window of the program to PNG files in DIR, on
// whatever platform Qt runs (offscreen without a display), so that they can be looked at without
// one. RECORD, a real game, is shown on the viewer's board at its middle move; without it a short
// record of the program's own stands in.

#include "conversion/FileError.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "selection/Addfile.h"
#include "selection/FolderBrowser.h"
#include "selection/Fonts.h"
#include "shell/AboutBox.h"
#include "shell/BoardPane.h"
#include "shell/Dialogs.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/ProgressForm.h"
#include "shell/QtText.h"
#include "shell/SettingForm.h"
#include "shell/TextView.h"
#include "shell/Translations.h"
#include "shell/Unattended.h"
#include "shell/ViewForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>

namespace {

bool SavePicture(const QPixmap& picture, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name) + ".png");
    if (!picture.save(path)) {
        std::fprintf(stderr, "morvane_screens: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
    window.show();
    QApplication::processEvents();
    return SavePicture(window.grab(), folder, name);
}

// window with popup (a menu open over it) drawn where the popup shows on the screen.
bool SaveShown(QWidget& window, QWidget& popup, const QDir& folder, const char* name) {
    QPixmap picture = window.grab();
    {
        QPainter painter(&picture);
        painter.drawPixmap(popup.pos() - window.geometry().topLeft(), popup.grab());
    }
    return SavePicture(picture, folder, name);
}

// A short record in Shift-JIS, as the viewer shows one.
const char RECORD[] =
    "[Header]\r\nVer=UGF,100\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\n"
    "Title=\x91\xE6\x8E\x4F\x8F\x5C\x8C\xDC\x8A\xFA\x96\x7B\x88\xF6\x96\x56\x90\xED,,\r\n"
    "Place=\x93\x8C\x8B\x9E,,\r\nSize=19\r\nWinner=B,C\r\n"
    "BMemb1=\x8D\x95\x93\x63\x91\xBE\x98\x59,\x8E\x4F\x92\x69,\r\n"
    "WMemb1=\x94\x92\x90\xEC\x8E\x9F\x98\x59,\x93\xF1\x92\x69,\r\n"
    "[Data]\r\nPD,B1,1,0\r\nDD,W1,2,0\r\nQQ,B1,3,0\r\nDQ,W1,4,0\r\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: morvane_screens DIR [RECORD]\n");
        return 2;
    }
    QApplication application(argc, argv);
    UseClassicFont();
    const std::unique_ptr<QTranslator> translations = UseQtTranslations();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    QTemporaryDir home;
    // Qt keeps what its dialogs were last like among the user's settings: the pictures start from
    // none, and leave the user's as they are.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    const std::string folder = ToName(home.path()) + "/";
    const std::string kifu = folder + "棋譜";
    QDir().mkpath(FromName(kifu));
    SaveBytes(kifu + "/本因坊戦.ugf", RECORD);

    TUnattendedMessages messages;
    TUnattendedDialogs dialogs;
    TDiskFileService files;
    bool saved = true;
    {
        TMainForm main(messages, dialogs, files, folder);
        main.AppendRows({{"本因坊戦.ugf", kifu},
                         {"名人戦第一局.sgf", kifu},
                         {"game-2026-11-03.sgf", "/home/player/kifu"},
                         {"表彰式.ugf", "/home/player/ダウンロード"}});
        main.UpdateStatusLine();
        main.UpdateButtons();
        main.SelectRow(0);
        saved &= Save(main, out, "main");

        TProgressForm& progress = main.ProgressForm();
        progress.SetCaption(TUserText("\x90\x69\x8D\x73\x8F\xF3\x8B\xB5-").Name("本因坊戦.ugf"));
        progress.SetBar(TBar::ProgressBar1, TBarField::Max, 100);
        progress.SetBar(TBar::ProgressBar1, TBarField::Position, 62);
        progress.SetBar(TBar::ProgressBar2, TBarField::Max, 4);
        progress.SetBar(TBar::ProgressBar2, TBarField::Position, 1);
        saved &= Save(progress, out, "progress");
        progress.Close();

        main.ViewForm().ViewFile(kifu + "/本因坊戦.ugf");
        saved &= Save(main.ViewForm(), out, "viewer");
        // A record of a Chinese and a Korean player in UTF-8, which code page 932 could not show.
        SaveBytes(kifu + "/国際棋戦.sgf",
                  "(;CA[UTF-8]GM[1]FF[4]SZ[19]\r\nEV[三星火灾杯世界围棋大师赛]\r\n"
                  "PB[柯洁]PW[신진서]RE[W+R]\r\n"
                  "C[黑棋开局很稳。\r\n백이 중반에 역전했습니다。]\r\n"
                  ";B[pd];W[dp];B[pq];W[dd])\r\n");
        main.ViewForm().ViewFile(kifu + "/国際棋戦.sgf");
        saved &= Save(main.ViewForm(), out, "viewer-utf8");
        // A real game on the board, in the middle of its moves.
        if (argc == 3) {
            const std::string name =
                QFileInfo(QString::fromLocal8Bit(argv[2])).fileName().toStdString();
            SaveBytes(kifu + "/" + name, LoadBytes(argv[2]));
            main.ViewForm().ViewFile(kifu + "/" + name);
            TBoardPane& pane = main.ViewForm().BoardPane();
            pane.GoTo(SIZE_MAX);
            pane.GoTo(pane.Move() / 2);
            saved &= Save(main.ViewForm(), out, "viewer-board");
        }
        // A handicap game as the conversion gives it: the line above the board tells what changes.
        SaveBytes(kifu + "/置碁.sgf",
                  "(;GM[1]FF[4]SZ[19]PB[黒]PW[白]HA[2]AB[pd][dp]\r\n"
                  ";W[qp];B[oq];W[qf];B[nc];W[pj];B[cd];W[ec];B[df];W[qq])\r\n");
        main.ViewForm().ViewFile(kifu + "/置碁.sgf");
        saved &= Save(main.ViewForm(), out, "viewer-before");
        main.ViewForm().findChild<QToolButton*>("AfterBtn")->click();
        saved &= Save(main.ViewForm(), out, "viewer-converted");
        // The text's right-click menu, open over the text with a line selected.
        auto* memo = main.ViewForm().findChild<TTextView*>("Memo1");
        for (const auto& [at, modifiers] : {std::pair(QPoint(4, 6), Qt::NoModifier),
                                            std::pair(QPoint(4, 22), Qt::ShiftModifier)}) {
            QMouseEvent press(QEvent::MouseButtonPress, at, memo->viewport()->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, modifiers);
            QApplication::sendEvent(memo->viewport(), &press);
        }
        QMenu menu;
        menu.addActions(memo->actions());
        menu.popup(memo->mapToGlobal(QPoint(60, 40)));
        QApplication::processEvents();
        saved &= SaveShown(main.ViewForm(), menu, out, "viewer-menu");
        menu.hide();
        main.ViewForm().hide();
        main.Clear();

        // After 全変換, the rows whose conversion failed, marked (the reason is their hint).
        SaveBytes(kifu + "/暗号化.ugf", "[Header]\r\nLang=SJIS\r\nCrypt=1,SECRET\r\n[Data]\r\n");
        main.AppendRows({{"本因坊戦.ugf", kifu},
                         {"暗号化.ugf", kifu},
                         {"消えた棋譜.sgf", kifu},
                         {"国際棋戦.sgf", kifu}});
        main.UpdateButtons();
        main.ConvBtnClick();
        main.SelectRow(0);
        saved &= Save(main, out, "main-failed");
        main.Clear();
    }
    {
        TConversionState state;
        TSettingForm settings(state);
        saved &= Save(settings, out, "settings-sgf");
        settings.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
        saved &= Save(settings, out, "settings-ugf");
    }
    {
        // The add-files dialog on the folder of records.
        TMainForm main(messages, dialogs, files, folder);
        SaveBytes(kifu + "/名人戦第一局.sgf", "(;)");
        SaveBytes(kifu + "/Game-2026-11-03.SGF", "(;)");
        SaveBytes(kifu + "/表彰式.sgf", "(;)");
        QComboBox history;
        history.addItem(FromName(kifu));
        TQtFolderBrowser browser;
        TAddfile dialog(main, history, browser);
        dialog.findChild<QComboBox*>("DirectoryList")->setEditText(FromName(kifu));
        saved &= Save(dialog, out, "add-files");

        // The folder browser behind 参照, in the folder that holds the records' folder, drawn
        // by Qt as on a desktop that has no folder dialog of its own.
        QDir().mkpath(FromName(folder + "対局の記録"));
        const std::unique_ptr<QFileDialog> folders =
            NewFolderDialog(&dialog, "棋譜ファイルのあるディレクトリを選択してください");
        folders->setOption(QFileDialog::DontUseNativeDialog);
        folders->setDirectory(FromName(folder));
        folders->show();
        // The list is read by a thread of Qt's: the picture waits for its two folders.
        const auto* list = folders->findChild<QTreeView*>(QStringLiteral("treeView"));
        QElapsedTimer waited;
        waited.start();
        while (list->model()->rowCount(list->rootIndex()) < 2 && waited.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        saved &= Save(*folders, out, "folder-browser");
        folders->hide();
        dialog.hide();
    }
    {
        TAboutBox about;
        saved &= Save(about, out, "about");
    }
    return saved ? 0 : 1;
}
