#include "conversion/LineList.h"

#include <gtest/gtest.h>

#if defined(__unix__)
#include <sys/stat.h>
#endif

#include "conversion/FileError.h"
#include "conversion/Texts.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>

using namespace std::string_literals;

TEST(LineList, SplitsAtEveryKindOfLineEnd) {
    struct Row {
        const char* name;
        std::string text;
        TLineList lines;
    };
    const Row rows[] = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"no end after the last line", "a\r\nb", {"a", "b"}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"blank lines kept", "\r\n\r\na", {"", "", "a"}},
        {"empty text", "", {}},
        {"NUL ends the text", "a\r\nb\0c\r\nd"s, {"a", "b"}},
        {"blanks kept", " a \t\r\n", {" a \t"}},
        {"Shift-JIS kept", SJIS_ZO "]\r\n", {SJIS_ZO "]"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(SplitLines(row.text), row.lines);
    }
    EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(LineList, IndexOfLineIgnoresLetterCaseOnly) {
    const TLineList lines{"[Header]", " [Data]", "[Data]", "[data]"};
    EXPECT_EQ(IndexOfLine(lines, "[data]"), 2);
    EXPECT_EQ(IndexOfLine(lines, "[HEADER]"), 0);
    EXPECT_EQ(IndexOfLine(lines, "[Comment]"), -1);
}

TEST(LineList, SavesAndLoadsThroughTheDisk) {
    TTempDir dir;
    SaveLines(dir.Path("a.txt"), {"x", SJIS_HYO, ""});
    EXPECT_EQ(dir.Read("a.txt"), "x\r\n" SJIS_HYO "\r\n\r\n");
    EXPECT_EQ(LoadLines(dir.Path("a.txt")), (TLineList{"x", SJIS_HYO, ""}));
    SaveLines(dir.Path("a.txt"), {"y"});
    EXPECT_EQ(dir.Read("a.txt"), "y\r\n");
    EXPECT_EQ(dir.List(), "a.txt");  // no temporary file left behind

    // A name as long as the file system allows still gets its temporary file.
    const std::string longest(251, 'g');
    SaveLines(dir.Path(longest + ".sgf"), {"x"});
    EXPECT_EQ(dir.Read(longest + ".sgf"), "x\r\n");
}

TEST(LineList, FileErrorsCarryTheExactTexts) {
    TTempDir dir;
    const std::string missing = dir.Path("missing.ugf");
    try {
        LoadLines(missing);
        FAIL() << "no error";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.kind, TFileErrorKind::Open);
        // ファイル <path> は開けません
        EXPECT_EQ(std::string(error.what()),
                  "\x83\x74\x83\x40\x83\x43\x83\x8B " + missing +
                      " \x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1");
    }
    EXPECT_THROW(LoadLines(dir.root), TFileError);  // a folder is not a file

    std::filesystem::create_directory(dir.Path("out.sgf"));
    try {
        SaveLines(dir.Path("out.sgf"), {"x"});
        FAIL() << "no error";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.kind, TFileErrorKind::Create);
        // ファイル <path> を作成できません
        EXPECT_EQ(std::string(error.what()),
                  "\x83\x74\x83\x40\x83\x43\x83\x8B " + dir.Path("out.sgf") +
                      " \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1");
    }
    EXPECT_EQ(dir.List(), "out.sgf/");  // the failed save left nothing behind
    EXPECT_THROW(SaveLines(dir.Path("no/such/folder.sgf"), {"x"}), TFileError);
}

#if defined(__unix__)
TEST(LineList, DoesNotWaitOnAPipeNamedLikeARecord) {
    // Reading a pipe would wait for a writer that never comes: it is refused like a folder.
    TTempDir dir;
    ASSERT_EQ(mkfifo(dir.Path("pipe.ugf").c_str(), 0600), 0);
    EXPECT_THROW(LoadLines(dir.Path("pipe.ugf")), TFileError);
}
#endif
