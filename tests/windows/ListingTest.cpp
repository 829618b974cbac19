// The listing of a folder, the rows of files handed to the program and its stored list on Windows'
// terms: code page 932 names through the wide functions whatever the system's code page is (this
// executable runs again under code page 1252), "\" paths, the system's own attributes.

#include "conversion/Services.h"
#include "selection/FileList.h"
#include "shell/OpenFiles.h"
#include "shell/ProgramFiles.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

using enum TFileAttr;

// 表 and 譜 as the system spells them, and 譜 in code page 932. The tests make their files
// through wide names, never through the code under test.
const std::wstring HYO = L"\u8868";
const std::wstring FU = L"\u8B5C";
#define SJIS_FU "\x95\x88"

void Touch(const fs::path& path) { std::ofstream(path, std::ios::binary) << "(;)"; }

std::string Sorted(std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : " ") + text;
    }
    return joined;
}

// A folder 表 of records in a new folder: a name whose trail byte is "\", one in upper case, a
// hidden and a read-only file, a folder, and a Korean name that code page 932 cannot spell.
struct TFolder {
    TFolder() {
        fs::create_directory(hyo);
        for (const std::wstring& name :
             {HYO + L".ugf", FU + L".SGF", std::wstring(L"b.sgf"), std::wstring(L"hidden.sgf"),
              std::wstring(L"ro.sgf"), std::wstring(L"\uD55C.sgf")}) {
            Touch(hyo / name);
        }
        fs::create_directory(hyo / L"sub.sgf");
        SetFileAttributesW((hyo / L"hidden.sgf").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((hyo / L"ro.sgf").c_str(), FILE_ATTRIBUTE_READONLY);
    }
    ~TFolder() { SetFileAttributesW((hyo / L"ro.sgf").c_str(), FILE_ATTRIBUTE_NORMAL); }

    TTempDir dir;
    const fs::path hyo = fs::path(dir.root) / HYO;
    // The folder as the program names it.
    const std::string name = dir.root + "\\" SJIS_HYO;
};

}  // namespace

TEST(Listing, ListsCodePage932NamesWithTheSystemsAttributes) {
    TFolder folder;
    struct Row {
        const char* name;
        TFileType type;
        const char* listed;
    };
    const Row rows[] = {
        {"files, read-only too", {ftNormal}, "b.sgf ro.sgf " SJIS_HYO ".ugf " SJIS_FU ".SGF"},
        {"hidden only", {ftHidden}, "hidden.sgf"},
        {"read-only only", {ftReadOnly}, "ro.sgf"},
        {"folders", {ftDirectory}, "[sub.sgf]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFileList list;
        list.SetFileType(row.type);
        list.Mask() = {"*.sgf", "*.ugf"};
        list.SetDirectory(folder.name);
        EXPECT_EQ(Sorted(list.Files()), row.listed);
    }
    TFileList list;
    list.Mask() = {SJIS_HYO "*"};
    list.SetDirectory(folder.name + "\\");
    ASSERT_EQ(list.Files(), std::vector<std::string>{SJIS_HYO ".ugf"});
    EXPECT_EQ(list.Info(0).Size, 3);
    EXPECT_EQ(list.Info(0).Attr & FILE_ATTRIBUTE_DIRECTORY, 0);
}

TEST(Listing, FilesAndFoldersGivenToTheProgramGiveRows) {
    TFolder folder;
    fs::create_directory(fs::path(folder.dir.root) / FU);
    Touch(fs::path(folder.dir.root) / FU / L"a.ugf");
    const fs::path before = fs::current_path();
    fs::current_path(folder.dir.root);
    // A folder 譜 given by a name relative to the current folder, as on a command line; a file
    // typed with "/"; a name with a character that code page 932 lacks.
    const std::vector<TCandidateRow> rows =
        CandidatesOf({SJIS_FU, folder.name + "/" SJIS_HYO ".ugf", folder.name + "\\?.sgf"}).rows;
    const std::vector<std::string> absolute = AbsolutePaths({SJIS_FU "\\.\\a.ugf"});
    fs::current_path(before);
    EXPECT_EQ(rows, (std::vector<TCandidateRow>{{"a.ugf", folder.dir.root + "\\" SJIS_FU},
                                                {SJIS_HYO ".ugf", folder.name}}));
    EXPECT_EQ(absolute, std::vector<std::string>{folder.dir.root + "\\" SJIS_FU "\\a.ugf"});
}

TEST(Listing, TheStoredListAndTheSettingsKeepCodePage932Paths) {
    TFolder folder;
    TDiskFileService disk;
    TProgramFiles files(folder.name + "\\", disk);
    const std::vector<TCandidateRow> rows = {{SJIS_HYO ".ugf", folder.name},
                                             {"b.sgf", folder.name + "\\"}};
    files.SaveList(rows);
    files.SaveSettings({200, 300, 0, 1, 0, 3, 0});
    std::ifstream list(folder.hyo / L"flvback.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(list), {}),
              folder.name + "\\" SJIS_HYO ".ugf\r\n" + folder.name + "\\b.sgf\r\n");
    EXPECT_EQ(files.LoadList(),
              (std::vector<TCandidateRow>{{SJIS_HYO ".ugf", folder.name}, {"b.sgf", folder.name}}));
    EXPECT_EQ(files.LoadSettings(), (TStoredSettings{200, 300, 0, 1, 0, 3, 0}));
}
