#include "conversion/FileError.h"
#include "conversion/FileOps.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

// 表 as the system spells it: the tests look at the disk through wide names, not through the code
// under test, so a name read in another code page shows as a wrong entry.
const std::wstring HYO = L"\u8868";

// The entries of a folder, sorted, folders marked with "/".
std::wstring Entries(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring() + (entry.is_directory() ? L"/" : L""));
    }
    std::sort(names.begin(), names.end());
    std::wstring text;
    for (const std::wstring& name : names) {
        text += (text.empty() ? L"" : L" ") + name;
    }
    return text;
}

void WriteWide(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadWide(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(FileOps, RunsUnderTheAnsiCodePageAsked) {
    // Under Wine the code page follows the locale: the tests below mean what they say only with
    // the code page the run was started for.
    const char* asked = std::getenv("MORVANE_ANSI_CODE_PAGE");
    if (asked == nullptr) {
        GTEST_SKIP() << "no code page asked for";
    }
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(asked)));
}

TEST(FileOps, NamesAreCodePage932EvenWhenATrailByteIsABackslash) {
    TTempDir dir;
    const fs::path folder = fs::path(dir.root) / HYO;
    fs::create_directory(folder);
    WriteWide(folder / (HYO + L".ugf"), "record");
    // 表\表.ugf: byte 0x5C stands in the folder's name and in the file's.
    const std::string hyo = dir.root + "\\" SJIS_HYO;
    const std::string ugf = hyo + "\\" SJIS_HYO ".ugf";
    const std::string sgf = hyo + "\\" SJIS_HYO ".sgf";
    const std::string bak = hyo + "\\" SJIS_HYO ".bak";

    EXPECT_TRUE(FileExists(ugf));
    EXPECT_FALSE(FileExists(hyo));  // a folder is no file
    EXPECT_EQ(FileSize(ugf), 6u);
    EXPECT_EQ(FileSize(hyo), std::nullopt);
    EXPECT_EQ(LoadBytes(ugf), "record");
    SaveBytes(sgf, "first");
    SaveBytes(sgf, "second");
    EXPECT_EQ(ReadWide(folder / (HYO + L".sgf")), "second");
    EXPECT_EQ(Entries(folder), HYO + L".sgf " + HYO + L".ugf");  // no temporary file left
    EXPECT_EQ(Entries(dir.root), HYO + L"/");                    // nothing beside the folder

    EXPECT_TRUE(RenameFile(sgf, bak));
    EXPECT_FALSE(RenameFile(ugf, bak));  // never replaces
    EXPECT_EQ(ReadWide(folder / (HYO + L".bak")), "second");
    EXPECT_EQ(ReadWide(folder / (HYO + L".ugf")), "record");
    EXPECT_TRUE(RemoveFile(bak));
    EXPECT_FALSE(RemoveFile(bak));
    EXPECT_FALSE(RemoveFile(hyo));
    EXPECT_EQ(Entries(folder), HYO + L".ugf");
}

TEST(FileOps, BytesThatAreNoCodePage932TextNameNoFile) {
    // Read in another way, such bytes could name some other file, or make one.
    TTempDir dir;
    dir.Write("a.ugf", "record");
    for (const std::string& name :
         {std::string("a\x81\x20.ugf"), std::string("a.ugf\x95"), std::string("\xFD.ugf")}) {
        SCOPED_TRACE(name);
        const std::string path = dir.root + "\\" + name;
        EXPECT_FALSE(FileExists(path));
        EXPECT_FALSE(RemoveFile(path));
        EXPECT_FALSE(RenameFile(dir.Path("a.ugf"), path));
        EXPECT_THROW(LoadBytes(path), TFileError);
        EXPECT_THROW(SaveBytes(path, "x"), TFileError);
        EXPECT_THROW(SaveTemporaryBeside(path, "x"), TFileError);
    }
    EXPECT_EQ(dir.List(), "a.ugf");
}

TEST(FileOps, DevicesAreNotRead) {
    // CON would wait for the keyboard; NUL would read as an empty record.
    for (const char* device : {"NUL", "CON", "CONIN$", "\\\\.\\NUL"}) {
        SCOPED_TRACE(device);
        EXPECT_THROW(LoadBytes(device), TFileError);
    }
}

TEST(FileOps, PathsLongerThanTheClassicLimitWork) {
    TTempDir dir;
    const std::string folderName(200, 'd');
    fs::create_directory(fs::path(dir.root) / folderName);
    // Typed with "/" and a "..": the long form must still name the same file.
    const std::string folder = dir.root + "/" + folderName + "/../" + folderName;
    const std::string sgf = folder + "/" + std::string(100, 'f') + SJIS_HYO ".sgf";
    const std::string bak = folder + "/" + std::string(100, 'f') + SJIS_HYO ".bak";
    ASSERT_GT(sgf.size(), static_cast<std::size_t>(MAX_PATH));
    SaveBytes(sgf, "record");
    EXPECT_TRUE(FileExists(sgf));
    EXPECT_EQ(LoadBytes(sgf), "record");
    EXPECT_TRUE(RenameFile(sgf, bak));
    EXPECT_EQ(Entries(fs::path(dir.root) / folderName), std::wstring(100, L'f') + HYO + L".bak");
    EXPECT_TRUE(RemoveFile(bak));
    EXPECT_EQ(Entries(fs::path(dir.root) / folderName), L"");
}
