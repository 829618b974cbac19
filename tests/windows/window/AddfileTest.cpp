// The add-files dialog on Windows' terms: a folder named in code page 932, names lower-cased as the
// classic program listed them (ASCII letters only, never a trail byte), whatever the system's code
// page is.

#include "selection/Addfile.h"
#include "selection/CheckListBox.h"
#include "selection/Names.h"
#include "tests/support/FakeCandidateRows.h"
#include "tests/support/FakeFolderBrowser.h"
#include "tests/support/QtTest.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <QComboBox>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(WindowsAddfile, ListsACodePage932FolderInLowerCaseAndAddsItsNamesSo) {
    TTempDir dir;
    const fs::path hyo = fs::path(dir.root) / L"\u8868";  // 表
    fs::create_directory(hyo);
    for (const wchar_t* name : {L"b.sgf", L"Game1.SGF", L"\u30A2.SGF", L"notes.txt"}) {
        std::ofstream(hyo / name) << "(;)";
    }
    const std::string folder = dir.root + "\\" SJIS_HYO;
    TFakeCandidateRows rows;
    QComboBox history;
    TFakeFolderBrowser browser;
    browser.answers.push_back(FromName(folder));
    TAddfile dialog(rows, history, browser);
    dialog.show();
    Click(dialog, "SelectDir");
    const TCheckListBox& list = *Child<TCheckListBox>(dialog, "CheckFileListBox");
    std::vector<std::string> lines;
    for (int row = 0; row < list.Count(); ++row) {
        lines.push_back(list.Line(row));
    }
    // ア.SGF: its trail byte is "A", which stays.
    EXPECT_EQ(lines, (std::vector<std::string>{"b.sgf", "game1.sgf", SJIS_A ".sgf"}));
    Click(dialog, "CheckAllBtn");
    Click(dialog, "OKButton");
    EXPECT_EQ(rows.rows, (std::vector<TCandidateRow>{
                             {"b.sgf", folder}, {"game1.sgf", folder}, {SJIS_A ".sgf", folder}}));
}
