#include "conversion/Paths.h"
#include "tests/support/Sjis.h"

#include <gtest/gtest.h>
#include <string>

namespace {
constexpr TPathStyle WIN = TPathStyle::Windows;
constexpr TPathStyle POSIX = TPathStyle::Posix;

// Japanese names as a Linux file system holds them (UTF-8). The last byte of 譜 (0x9C) and of 碁
// (0x81) are Shift-JIS lead bytes, and 囲 (E5 9B B2) holds one in the middle.
#define UTF8_KIFU "\xE6\xA3\x8B\xE8\xAD\x9C"  // 棋譜
#define UTF8_IGO "\xE5\x9B\xB2\xE7\xA2\x81"   // 囲碁
// The same names in Shift-JIS bytes.
#define SJIS_KIFU "\x8A\xFB\x95\x88"  // 棋譜
#define SJIS_IGO "\x88\xCD\x8C\xE9"   // 囲碁
}  // namespace

TEST(Paths, JoinAddsOneSeparator) {
    EXPECT_EQ(JoinPath("C:\\kifu", "a.ugf", WIN), "C:\\kifu\\a.ugf");
    EXPECT_EQ(JoinPath("C:\\kifu\\", "a.ugf", WIN), "C:\\kifu\\a.ugf");
    EXPECT_EQ(JoinPath("", "a.ugf", WIN), "\\a.ugf");
    EXPECT_EQ(JoinPath("C:", "a.ugf", WIN), "C:\\a.ugf");
    EXPECT_EQ(JoinPath("C:\\" SJIS_HYO, "a.ugf", WIN), "C:\\" SJIS_HYO "\\a.ugf");
    EXPECT_EQ(JoinPath("/home/kifu", "a.ugf", POSIX), "/home/kifu/a.ugf");
    EXPECT_EQ(JoinPath("/home/kifu/", "a.ugf", POSIX), "/home/kifu/a.ugf");
    EXPECT_EQ(JoinPath("/", "a.ugf", POSIX), "/a.ugf");
    EXPECT_EQ(JoinPath("kifu\\", "a.ugf", POSIX), "kifu\\/a.ugf");
    EXPECT_EQ(JoinPath(UTF8_KIFU, "a.ugf", POSIX), UTF8_KIFU "/a.ugf");
    EXPECT_EQ(JoinPath(UTF8_KIFU "/", "a.ugf", POSIX), UTF8_KIFU "/a.ugf");
    EXPECT_EQ(JoinPath(SJIS_KIFU "/", "a.ugf", POSIX), SJIS_KIFU "/a.ugf");
}

TEST(Paths, TakesPathsApartInBothStyles) {
    struct Row {
        const char* path;
        TPathStyle style;
        const char* name;
        const char* directory;
        const char* extension;
    };
    const Row rows[] = {
        {"C:\\kifu\\a.ugf", WIN, "a.ugf", "C:\\kifu", ".ugf"},
        {"C:\\a.ugf", WIN, "a.ugf", "C:\\", ".ugf"},
        {"C:a.ugf", WIN, "a.ugf", "C:", ".ugf"},
        {"\\a.ugf", WIN, "a.ugf", "", ".ugf"},
        {"\\\\server\\a.ugf", WIN, "a.ugf", "\\\\server", ".ugf"},
        {"a.b.ugf", WIN, "a.b.ugf", "", ".ugf"},
        {"C:\\x.y\\game", WIN, "game", "C:\\x.y", ""},
        {"C:\\kifu\\.ugf", WIN, ".ugf", "C:\\kifu", ".ugf"},
        {"C:\\" SJIS_HYO "\\a.sgf", WIN, "a.sgf", "C:\\" SJIS_HYO, ".sgf"},
        {"C:\\" SJIS_HYO ".sgf", WIN, SJIS_HYO ".sgf", "C:\\", ".sgf"},
        {"C:\\kifu\\" SJIS_SO "a", WIN, SJIS_SO "a", "C:\\kifu", ""},
        {"C:\\kifu\\" SJIS_HYO "\\", WIN, "", "C:\\kifu\\" SJIS_HYO, ""},
        {"/home/kifu/a.ugf", POSIX, "a.ugf", "/home/kifu", ".ugf"},
        {"/a.ugf", POSIX, "a.ugf", "/", ".ugf"},
        {"a.ugf", POSIX, "a.ugf", "", ".ugf"},
        {"/home/x.y/game", POSIX, "game", "/home/x.y", ""},
        {"/home/kifu/.ugf", POSIX, ".ugf", "/home/kifu", ".ugf"},
        {"C:\\kifu\\a.ugf", POSIX, "C:\\kifu\\a.ugf", "", ".ugf"},
        {"/home//a.ugf", POSIX, "a.ugf", "/home//", ".ugf"},
        // Japanese names, in the name and in the folder.
        {UTF8_KIFU ".ugf", POSIX, UTF8_KIFU ".ugf", "", ".ugf"},
        {UTF8_KIFU "/a.ugf", POSIX, "a.ugf", UTF8_KIFU, ".ugf"},
        {"/home/" UTF8_KIFU "/" UTF8_IGO ".sgf", POSIX, UTF8_IGO ".sgf", "/home/" UTF8_KIFU,
         ".sgf"},
        {UTF8_IGO "." UTF8_KIFU, POSIX, UTF8_IGO "." UTF8_KIFU, "", "." UTF8_KIFU},
        {SJIS_KIFU ".ugf", POSIX, SJIS_KIFU ".ugf", "", ".ugf"},
        {SJIS_KIFU "/" SJIS_HYO ".sgf", POSIX, SJIS_HYO ".sgf", SJIS_KIFU, ".sgf"},
        {"C:\\" SJIS_KIFU "\\" SJIS_IGO ".ugf", WIN, SJIS_IGO ".ugf", "C:\\" SJIS_KIFU, ".ugf"},
        {SJIS_IGO SJIS_HYO ".ugf", WIN, SJIS_IGO SJIS_HYO ".ugf", "", ".ugf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(ExtractFileName(row.path, row.style), row.name);
        EXPECT_EQ(ExtractFileDir(row.path, row.style), row.directory);
        EXPECT_EQ(ExtractFileExt(row.path, row.style), row.extension);
    }
}

TEST(Paths, ChangesTheExtension) {
    EXPECT_EQ(ChangeFileExt("D:\\kifu\\game.ugf", ".sgf", WIN), "D:\\kifu\\game.sgf");
    EXPECT_EQ(ChangeFileExt("D:\\kifu\\game", ".bak", WIN), "D:\\kifu\\game.bak");
    EXPECT_EQ(ChangeFileExt("D:\\k.f\\game", ".bak", WIN), "D:\\k.f\\game.bak");
    EXPECT_EQ(ChangeFileExt("/home/kifu/.ugf", ".sgf", POSIX), "/home/kifu/.sgf");
    EXPECT_EQ(ChangeFileExt("a.b.ugf", ".bak", POSIX), "a.b.bak");
    EXPECT_EQ(ChangeFileExt(UTF8_KIFU ".ugf", ".sgf", POSIX), UTF8_KIFU ".sgf");
    EXPECT_EQ(ChangeFileExt(UTF8_KIFU "/" UTF8_IGO, ".bak", POSIX), UTF8_KIFU "/" UTF8_IGO ".bak");
}
