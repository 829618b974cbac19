#include "conversion/FileError.h"
#include "shell/ProgramFiles.h"
#include "shell/ShellTexts.h"
#include "tests/support/FakeServices.h"

#include <gtest/gtest.h>

namespace {

struct TFixture {
    TFakeServices fake;
    TProgramFiles files{"/opt/morvane/", fake.files};
    const std::string list = "/opt/morvane/flvback.dat";
    const std::string ini = "/opt/morvane/tessaro.ini";
};

}  // namespace

TEST(ProgramFiles, RestoresTheRowsWhoseFilesAreThereOrWhoseFolderIsAway) {
    TFixture f;
    f.fake.files.files = {{"/k/a.ugf", ""}, {"/k/b.sgf", ""}, {"/game.ugf", ""}};
    f.fake.files.directories = {"/", "/k", "/k/dir.ugf"};
    // Blank lines, a deleted file, a folder, a doubled path, lone line ends, a file on a drive
    // that is not there, the two halves of a name with a line break (a list of an older program
    // may hold them; the second names no folder, though c.ugf is in the current one) and no line
    // end after the last line.
    f.fake.files.files[f.list] =
        "/k/a.ugf\r\n\r\n/k/gone.ugf\r\n/k/dir.ugf\n/k/b.sgf\r/k/a.ugf\r\n"
        "/media/usb/kifu/away.sgf\r\n/k/c\nc.ugf\r\n/game.ugf";
    f.fake.files.files["c.ugf"] = "";
    EXPECT_EQ(f.files.LoadList(), (std::vector<TCandidateRow>{{"a.ugf", "/k"},
                                                              {"b.sgf", "/k"},
                                                              {"a.ugf", "/k"},
                                                              {"away.sgf", "/media/usb/kifu"},
                                                              {"game.ugf", "/"}}));
}

TEST(ProgramFiles, ListsNothingWithoutTheFileAndFailsOnAnUnreadableOne) {
    TFixture f;
    EXPECT_TRUE(f.files.LoadList().empty());
    f.fake.files.files[f.list] = "/k/a.ugf\r\n";
    f.fake.files.unreadable.insert(f.list);
    try {
        (void)f.files.LoadList();
        FAIL() << "no error";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.kind, TFileErrorKind::Open);
        EXPECT_EQ(error.path, f.list);
    }
}

TEST(ProgramFiles, StoresFullPathsAndGivesThemBackTheSame) {
    TFixture f;
    // Bytes that are no UTF-8 (a Shift-JIS name with 表) and a file in the root.
    const std::vector<TCandidateRow> rows = {
        {"\x95\x5C.ugf", "/k/\x8A\xFB\x95\x88"}, {"game.ugf", ""}, {"b.sgf", "/k/"}};
    f.fake.files.files["/k/\x8A\xFB\x95\x88/\x95\x5C.ugf"] = "";
    f.fake.files.files["/game.ugf"] = "";
    f.fake.files.files["/k/b.sgf"] = "";
    f.files.SaveList(rows);
    EXPECT_EQ(f.fake.files.files[f.list],
              "/k/\x8A\xFB\x95\x88/\x95\x5C.ugf\r\n/game.ugf\r\n/k/b.sgf\r\n");
    EXPECT_EQ(f.files.LoadList(),
              (std::vector<TCandidateRow>{
                  {"\x95\x5C.ugf", "/k/\x8A\xFB\x95\x88"}, {"game.ugf", "/"}, {"b.sgf", "/k"}}));
}

TEST(ProgramFiles, AnEmptyListDeletesTheFile) {
    TFixture f;
    f.fake.files.files[f.list] = "/k/a.ugf\r\n";
    f.files.SaveList({});
    EXPECT_EQ(f.fake.files.files.count(f.list), 0u);
    f.files.SaveList({});
    EXPECT_EQ(f.fake.log, (TLog{"Delete " + f.list}));
}

TEST(ProgramFiles, AFailedWriteLeavesTheOldFilesWhole) {
    TFixture f;
    f.fake.files.files[f.list] = "/k/old.ugf\r\n";
    f.fake.files.files[f.ini] = "[FORM]\r\nTOP=5\r\n";
    f.fake.files.unwritable = {f.list, f.ini};
    try {
        f.files.SaveList({{"a.ugf", "/k"}});
        FAIL() << "no error";
    } catch (const TFileError& error) {
        EXPECT_EQ(error.kind, TFileErrorKind::Create);
        EXPECT_EQ(error.path, f.list);
    }
    try {
        f.files.SaveSettings({});
        FAIL() << "no error";
    } catch (const TUserError& error) {
        EXPECT_EQ(error.text, TUserText().Name(f.ini).Text(texts::CANNOT_WRITE));
    }
    EXPECT_EQ(f.fake.files.files[f.list], "/k/old.ugf\r\n");
    EXPECT_EQ(f.fake.files.files[f.ini], "[FORM]\r\nTOP=5\r\n");

    // Written, but not renamed over the old file: the temporary file goes again.
    TFixture g;
    g.fake.files.files[g.ini] = "[FORM]\r\nTOP=5\r\n";
    g.fake.files.unmovable.insert(g.ini + ".tmp");
    EXPECT_THROW(g.files.SaveSettings({}), TUserError);
    EXPECT_EQ(g.fake.files.files,
              (std::map<std::string, std::string>{{g.ini, "[FORM]\r\nTOP=5\r\n"}}));
}

TEST(ProgramFiles, ReadsTheSixValuesWithTheirDefaults) {
    TFixture f;
    EXPECT_EQ(f.files.LoadSettings(), TStoredSettings{});
    f.fake.files.files[f.ini] =
        "[FORM]\r\nTOP=0x40\r\nLEFT=abc\r\n[SETTING]\r\nSGFCONV=1\r\nUSGFAPLI=7\r\n"
        "SSGFAPLI=-1\r\n";
    EXPECT_EQ(f.files.LoadSettings(), (TStoredSettings{64, 100, {1, 0, -1, 7}}));
    f.fake.files.unreadable.insert(f.ini);
    EXPECT_EQ(f.files.LoadSettings(), TStoredSettings{});
}

TEST(ProgramFiles, WritesTheSixValuesInOrderAndKeepsTheRest) {
    TFixture f;
    f.files.SaveSettings({117, 281, {0, 1, 0, 3}});
    EXPECT_EQ(f.fake.files.files[f.ini],
              "[FORM]\r\nTOP=117\r\nLEFT=281\r\n[SETTING]\r\nSGFCONV=0\r\nUGFCONV=1\r\n"
              "SSGFAPLI=0\r\nUSGFAPLI=3\r\n");
    f.fake.files.files[f.ini] = "; mine\r\n[Setting]\r\nusgfapli=1\r\nTheme=dark\r\n";
    f.files.SaveSettings({1, 2, {0, 0, 0, -1}});
    EXPECT_EQ(f.fake.files.files[f.ini],
              "; mine\r\n[Setting]\r\nusgfapli=-1\r\nTheme=dark\r\nSGFCONV=0\r\nUGFCONV=0\r\n"
              "SSGFAPLI=0\r\n[FORM]\r\nTOP=1\r\nLEFT=2\r\n");
    // A settings file that is there but cannot be read is not replaced by one of six values.
    f.fake.files.unreadable.insert(f.ini);
    EXPECT_THROW(f.files.SaveSettings({}), TUserError);
    EXPECT_EQ(f.fake.files.files[f.ini].substr(0, 8), "; mine\r\n");
}

TEST(ProgramFiles, KeepsAHiddenBoardInASectionOfItsOwnAndNothingUntilThen) {
    TFixture f;
    f.files.SaveSettings({});
    EXPECT_EQ(f.fake.files.files[f.ini].find("MORVANE"), std::string::npos);
    TStoredSettings hidden;
    hidden.viewBoard = 0;
    f.files.SaveSettings(hidden);
    EXPECT_NE(f.fake.files.files[f.ini].find("\r\n[MORVANE]\r\nVIEWBOARD=0\r\n"),
              std::string::npos);
    EXPECT_EQ(f.files.LoadSettings(), hidden);
    // Once there, the key follows the user back to the default.
    f.files.SaveSettings({});
    EXPECT_NE(f.fake.files.files[f.ini].find("VIEWBOARD=1"), std::string::npos);
    EXPECT_EQ(f.files.LoadSettings().viewBoard, 1);
}

TEST(ProgramFiles, TheFolderIsBesideTheProgramUnlessItIsInstalled) {
    EXPECT_EQ(ProgramFolder("/home/u/build/shell", false, "", "/home/u"), "/home/u/build/shell/");
    EXPECT_EQ(ProgramFolder("/usr/bin", true, "", "/home/u"), "/home/u/.config/morvane/");
    EXPECT_EQ(ProgramFolder("/usr/bin", true, "/x/conf", "/home/u"), "/x/conf/morvane/");
    EXPECT_EQ(ProgramFolder("/usr/bin", true, "relative", "/home/u"), "/home/u/.config/morvane/");
    // Without a home there is no configuration folder, rather than one at the root.
    EXPECT_EQ(ProgramFolder("/usr/bin", true, "", ""), "");
    EXPECT_EQ(ProgramFolder("/usr/bin", true, "relative", "relative"), "");
}
