// The main window on Windows' terms: the stored list, the rows, the conversion, the messages and a
// drop, all with code page 932 names in "\" paths (表 ends in the byte of "\").

#include "shell/MainForm.h"
#include "shell/ViewForm.h"
#include "tests/shell/WindowTestSupport.h"
#include "tests/support/QtTest.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace fs = std::filesystem;

namespace {

#define SJIS_FU "\x95\x88"  // 譜

const std::string UGF =
    "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nWinner=B,C\r\n"
    "BMemb1=Taro,3d\r\nWMemb1=Jiro\r\n[Data]\r\nPD,B1,1,0\r\nDD,W1,2,0\r\n";

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Names(const TMainForm& form) {
    std::vector<std::string> names;
    for (const TCandidateRow& row : form.Rows()) {
        names.push_back(row.name);
    }
    return names;
}

}  // namespace

TEST(WindowsMainForm, CodePage932RowsComeBackConvertAndGoBack) {
    TTempDir dir;
    // The program's folder 譜, the records' folder 表 with 表.ugf and a plain a.ugf beside it.
    const fs::path program = fs::path(dir.root) / L"\u8B5C";
    const fs::path records = fs::path(dir.root) / L"\u8868";
    fs::create_directory(program);
    fs::create_directory(records);
    Write(records / L"\u8868.ugf", UGF);
    Write(records / L"a.ugf", UGF);
    Write(records / L"b.sgf", "(;)");
    const std::string folder = dir.root + "\\" SJIS_HYO;
    Write(program / L"flvback.dat",
          folder + "\\" SJIS_HYO ".ugf\r\n" + folder + "\\a.ugf\r\n" + folder + "\\gone.ugf\r\n");

    TLoggedMessages messages;
    TAnsweredDialogs dialogs;
    TDiskFileService disk;
    auto form = std::make_unique<TMainForm>(messages, dialogs, disk, dir.root + "\\" SJIS_FU "\\");
    EXPECT_EQ(Names(*form), (std::vector<std::string>{SJIS_HYO ".ugf", "a.ugf"}));
    const QTreeWidget& list = *Child<QTreeWidget>(*form, "FileListView");
    EXPECT_EQ(list.topLevelItem(0)->text(0).toStdWString(), L"\u8868.ugf");
    EXPECT_EQ(list.topLevelItem(0)->text(1).toStdWString(), records.wstring());

    Click(*form, "ConvBtn");
    EXPECT_TRUE(Names(*form).empty());
    EXPECT_EQ(Read(records / L"\u8868.sgf").substr(0, 3), "(;\r");
    EXPECT_EQ(Read(records / L"\u8868.sgf"), Read(records / L"a.sgf"));

    // A file dropped from a file manager, and one that cannot be opened: its name is read as code
    // page 932 in the message.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdWString((records / L"b.sgf").wstring()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &drop);
    EXPECT_EQ(form->Rows(), (std::vector<TCandidateRow>{{"b.sgf", folder}}));
    fs::remove(records / L"b.sgf");
    form->SelectRow(0);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(messages.log, (std::vector<std::string>{"Info 全変換終了しました",
                                                      "ApplicationError ファイル " + dir.root +
                                                          "\\表\\b.sgf は開けません."}));
    form->ViewForm().hide();
    form.reset();
    EXPECT_EQ(Read(program / L"flvback.dat"), folder + "\\b.sgf\r\n");
}
