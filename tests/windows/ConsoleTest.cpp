#include "cli/Console.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// お父さんの囲碁３ in code page 932.
const std::string APPLICATION = "\x82\xA8\x95\x83\x82\xB3\x82\xF1\x82\xCC\x88\xCD\x8C\xE9\x82\x52";

// A file in dir written through TWindowsOutput by write, and what it then holds.
template <typename TWrite>
std::string WrittenToAFile(const TTempDir& dir, unsigned codePage, TWrite write) {
    const std::filesystem::path path = std::filesystem::path(dir.root) / "out.txt";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    {
        TWindowsOutput buffer(file, codePage);
        EXPECT_FALSE(buffer.IsConsole());
        std::ostream out(&buffer);
        write(out);
    }
    CloseHandle(file);
    return dir.Read("out.txt");
}

}  // namespace

TEST(Console, ArgumentsBecomeCodePage932WithoutLookAlikes) {
    struct Row {
        const char* name;
        const wchar_t* argument;
        std::string bytes;
    };
    const Row rows[] = {
        {"plain", L"--app=1", "--app=1"},
        {"表 in folder and file", L"\u8868\\\u8868.ugf", SJIS_HYO "\\" SJIS_HYO ".ugf"},
        {"full-width digit", L"\uFF11", "\x82\x50"},
        // The best fit of the yen sign is "\": a.ugf in folder "a" instead of no file at all.
        {"yen sign", L"a\u00A5b.ugf", "a?b.ugf"},
        {"Hangul", L"\uD55C.sgf", "?.sgf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const wchar_t* argv[] = {L"kifuconv.exe", row.argument};
        EXPECT_EQ(CodePage932Arguments(2, argv), std::vector<std::string>{row.bytes});
    }
}

TEST(Console, WholeCharactersLeaveACutOffCharacterForLater) {
    struct Row {
        const char* name;
        std::string text;
        unsigned codePage;
        std::size_t whole;
    };
    const Row rows[] = {
        {"ASCII", "ab", KIFUCONV_CODE_PAGE, 2},
        {"表 whole", "a" SJIS_HYO, KIFUCONV_CODE_PAGE, 3},
        {"表 cut", "a\x95", KIFUCONV_CODE_PAGE, 1},
        {"trail byte 0x95 after a lead byte", "\x81\x95", KIFUCONV_CODE_PAGE, 2},
        {"half-width katakana", "\xB1", KIFUCONV_CODE_PAGE, 1},
        {"UTF-8 whole", "a表", UTF8_CODE_PAGE, 4},
        {"UTF-8 cut after one byte", "a\xE8", UTF8_CODE_PAGE, 1},
        {"UTF-8 cut after two bytes", "a\xE8\xA1", UTF8_CODE_PAGE, 1},
        {"UTF-8 four bytes cut", "a\xF0\x9F\x98", UTF8_CODE_PAGE, 1},
        {"UTF-8 four bytes whole", "a\xF0\x9F\x98\x80", UTF8_CODE_PAGE, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WholeCharacters(row.text, row.codePage), row.whole);
    }
}

TEST(Console, FilesAndPipesGetCodePage932WithCrLf) {
    EXPECT_EQ(ForFile("a\n" SJIS_HYO "\n", KIFUCONV_CODE_PAGE), "a\r\n" SJIS_HYO "\r\n");
    EXPECT_EQ(ForFile("0  お父さんの囲碁３\n", UTF8_CODE_PAGE), "0  " + APPLICATION + "\r\n");
    EXPECT_EQ(ForFile("\xED\x95\x9C\n", UTF8_CODE_PAGE), "?\r\n");  // Hangul
}

TEST(Console, ReasonsAndNamesStayCodePage932WithoutControlBytes) {
    TUserText text("\x83\x74\x83\x40\x83\x43\x83\x8B ");  // ファイル
    text.Name(SJIS_HYO "\x1b[2J.ugf").Text(" \x82\xCD");  // は
    EXPECT_EQ(ForTerminal(text), "\x83\x74\x83\x40\x83\x43\x83\x8B " SJIS_HYO "?[2J.ugf \x82\xCD");
}

TEST(Console, OutputToAFileJoinsACharacterCutBetweenWrites) {
    TTempDir dir;
    EXPECT_EQ(WrittenToAFile(dir, KIFUCONV_CODE_PAGE,
                             [](std::ostream& out) {
                                 out << "converted: \x95" << std::flush;
                                 out << "\x5C.ugf\n" << std::flush;
                             }),
              "converted: " SJIS_HYO ".ugf\r\n");
    EXPECT_EQ(WrittenToAFile(dir, UTF8_CODE_PAGE,
                             [](std::ostream& out) {
                                 out << "0  お父さんの囲碁３\n" << std::flush;
                                 out << "a\xE8" << std::flush;
                                 out << "\xA1\xA8\n";
                             }),
              "0  " + APPLICATION + "\r\na" SJIS_HYO "\r\n");
}

TEST(Console, AnOutputThatTakesNothingFailsTheStream) {
    TTempDir dir;
    dir.Write("read-only.txt", "");
    const std::filesystem::path path = std::filesystem::path(dir.root) / "read-only.txt";
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        TWindowsOutput buffer(file, KIFUCONV_CODE_PAGE);
        std::ostream out(&buffer);
        out << "converted: a.ugf -> a.sgf\n" << std::flush;
        EXPECT_FALSE(out);
    }
    CloseHandle(file);
}
