// Where the program keeps its two files on Windows.

#include "selection/Names.h"
#include "shell/Platform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>

namespace {

std::wstring KnownWideFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    EXPECT_TRUE(SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)));
    const std::wstring folder = path != nullptr ? path : L"";
    CoTaskMemFree(path);
    return folder;
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
    return ToName(QString::fromStdWString(KnownWideFolder(id)));
}

std::string Name(const std::wstring& wide) { return ToName(QString::fromStdWString(wide)); }

std::wstring ShortName(const std::wstring& path) {
    std::wstring name(MAX_PATH, L'\0');
    name.resize(GetShortPathNameW(path.c_str(), name.data(), MAX_PATH));
    return name;
}

std::wstring Replaced(std::wstring text, wchar_t from, wchar_t to) {
    std::replace(text.begin(), text.end(), from, to);
    return text;
}

// A folder made for the test, gone with it.
struct TMadeFolder {
    explicit TMadeFolder(std::wstring where) : path(std::move(where)) {
        std::filesystem::create_directories(path);
    }
    ~TMadeFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::wstring path;
};

}  // namespace

TEST(WindowsPlatform, AnInstalledProgramKeepsItsFilesInTheUsersApplicationData) {
    TTempDir dir;
    EXPECT_FALSE(IsInstalledProgram(dir.root));
    EXPECT_TRUE(IsInstalledProgram(KnownFolder(FOLDERID_ProgramFiles) + "\\Morvane"));
    // A folder whose name code page 932 cannot spell holds no file the program could name.
    EXPECT_TRUE(IsInstalledProgram(dir.root + "\\?"));
    EXPECT_EQ(UserProgramFolder(dir.root), KnownFolder(FOLDERID_RoamingAppData) + "\\Morvane\\");
}

// Wine lets every user write in Program Files, so only the folder's name can tell there that the
// program is installed: each spelling of it must.
TEST(WindowsPlatform, AProgramFilesFolderIsKnownInEverySpellingOfItsPath) {
    const std::wstring suffix = std::to_wstring(GetCurrentProcessId());
    const std::wstring programFiles = KnownWideFolder(FOLDERID_ProgramFiles);
    const TMadeFolder installed(programFiles + L"\\Morvane 囲碁 " + suffix);
    const TMadeFolder x86(KnownWideFolder(FOLDERID_ProgramFilesX86) + L"\\Morvane " + suffix);
    const TMadeFolder user(KnownWideFolder(FOLDERID_LocalAppData) + L"\\Programs\\Morvane " +
                           suffix);
    const TMadeFolder beside(programFiles + L" " + suffix + L"\\Morvane");
    const std::wstring shortName = ShortName(installed.path);
    ASSERT_FALSE(shortName.empty());
    ASSERT_NE(shortName, installed.path);
    std::wstring upper = installed.path;
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    const struct {
        const char* name;
        std::wstring path;
        bool installed;
    } rows[] = {
        {"as Windows spells it", installed.path, true},
        {"with a separator at the end", installed.path + L"\\", true},
        {"with \"/\" as Qt gives it", Replaced(installed.path, L'\\', L'/'), true},
        {"with \"/\" and one at the end", Replaced(installed.path, L'\\', L'/') + L"/", true},
        {"in upper case", upper, true},
        {"in lower-case letters", Replaced(Replaced(installed.path, L'M', L'm'), L'P', L'p'), true},
        {"by its short name", shortName, true},
        {"by its short name with \"/\"", Replaced(shortName, L'\\', L'/'), true},
        {"through \"..\"", installed.path + L"\\sub\\..", true},
        {"with \\\\?\\", L"\\\\?\\" + installed.path, true},
        {"Program Files (x86)", x86.path, true},
        {"the user's Programs folder", user.path, true},
        {"the user's Programs folder with \"/\"", Replaced(user.path, L'\\', L'/'), true},
        {"Program Files itself", programFiles, true},
        {"a folder whose name only begins like it", beside.path, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsInstalledProgram(Name(row.path)), row.installed) << Name(row.path);
    }
}
