#include "cli/Console.h"
#include "cli/Kifuconv.h"
#include "conversion/Paths.h"
#include "conversion/Texts.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const std::string MINIMAL_UGF =
    "[Header]\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nWinner=B,C\r\n"
    "BMemb1=Taro,3d\r\nWMemb1=Jiro\r\n[Data]\r\nPD,B1,1,0\r\nDD,W1,2,0\r\n";

const std::string MINIMAL_SGF =
    "(;\r\n"
    "SZ[19]PB[Taro(3d)]PW[Jiro(\x95\x73\x96\xBE)]BS[0]WS[0]KM[0]HA[0]RU[Japanese]"
    "AP[The strongest game of Go 2.0]VW[]\r\n"
    "RE[W+R]PL[B];\r\nB[pd];\r\nW[dd])\r\n";

// What the SGF above gives back: the program's own UGF layout.
const std::string ROUND_TRIP_UGF =
    "[Header]\r\nVer=UGF,100\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\n"
    "Title=\x8A\xFB\x95\x88\x83\x74\x83\x40\x83\x43\x83\x8B\x95\xCF\x8A\xB7,,\r\n"
    "Place=\r\nDate=\r\nRule=JPN\r\nSize=19\r\nWinner=B,C\r\nMoves=3\r\nBMemb1=Taro,3d,\r\n"
    "WMemb1=Jiro,\x95\x73\x96\xBE,\r\nUser=\r\nCopyright=\r\nComment=\r\n[Data]\r\n"
    "PD,B1,1,0\r\nDD,W1,2,0\r\n";

struct TRun {
    int status;
    std::string out;
    std::string err;
};

TRun Kifuconv(std::vector<std::string> arguments, bool terminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunKifuconv(arguments, out, err, terminal);
    return {status, out.str(), err.str()};
}

}  // namespace

TEST(Kifuconv, ConvertsBothWaysInArgumentOrder) {
    TTempDir dir;
    dir.Write("game.ugf", MINIMAL_UGF);
    dir.Write("other.sgf", MINIMAL_SGF);
    const TRun run = Kifuconv({dir.Path("game.ugf"), dir.Path("other.sgf")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "converted: " + dir.Path("game.ugf") + " -> " + dir.Path("game.sgf") +
                           "\nconverted: " + dir.Path("other.sgf") + " -> " +
                           dir.Path("other.ugf") + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(dir.Read("game.sgf"), MINIMAL_SGF);
    EXPECT_EQ(dir.Read("other.ugf"), ROUND_TRIP_UGF);
    EXPECT_EQ(dir.List(), "game.sgf game.ugf other.sgf other.ugf");
}

TEST(Kifuconv, ARunKeepsEveryRecordItFindsInAFile) {
    // One run never reads an output of its own as the user's record, and never replaces a backup
    // it made: otherwise the second file of each case would push a record out of every file.
    const std::string OWN_SGF = "(;SZ[19]C[mine];B[aa])\r\n";
    // The reasons as the terminal shows them (UTF-8 on Linux, code page 932 on Windows).
    const std::string WRITTEN = ForTerminal(texts::WRITTEN_BY_THIS_RUN);
    const std::string KEPT = ForTerminal(texts::KEEPS_BACKUP_OF_THIS_RUN);
    struct TCase {
        std::vector<std::string> given;  // "~" stands for a second spelling of the folder
        std::string failed;
        std::string reason;
        std::map<std::string, std::string> after;
    };
    const TCase cases[] = {
        {{"a.ugf", "a.sgf"},
         "a.sgf",
         WRITTEN,
         {{"a.ugf", MINIMAL_UGF}, {"a.bak", OWN_SGF}, {"a.sgf", MINIMAL_SGF}}},
        {{"a.sgf", "a.ugf"}, "a.ugf", WRITTEN, {{"a.sgf", OWN_SGF}, {"a.bak", MINIMAL_UGF}}},
        {{"a.ugf", "~a.sgf"}, "~a.sgf", WRITTEN, {{"a.ugf", MINIMAL_UGF}, {"a.bak", OWN_SGF}}},
        {{"a.ugf", "a.ugi"}, "a.ugi", KEPT, {{"a.ugf", MINIMAL_UGF}, {"a.bak", OWN_SGF}}},
    };
    for (const TCase& c : cases) {
        TTempDir dir;
        std::filesystem::create_directory(dir.Path("kifu"));
#if defined(_WIN32)
        // Windows finds names whatever their letter case.
        const std::string second = "KIFU/";
#else
        std::filesystem::create_directory_symlink(dir.Path("kifu"), dir.Path("link"));
        const std::string second = "link/";
#endif
        const auto path = [&](const std::string& name) {
            return name[0] == '~' ? dir.Path(second + name.substr(1)) : dir.Path("kifu/" + name);
        };
        dir.Write("kifu/a.ugf", MINIMAL_UGF);
        dir.Write("kifu/a.ugi", MINIMAL_UGF);
        dir.Write("kifu/a.sgf", OWN_SGF);
        std::vector<std::string> arguments;
        for (const std::string& name : c.given) {
            arguments.push_back(path(name));
        }
        const TRun run = Kifuconv(arguments);
        EXPECT_EQ(run.status, 1) << c.failed;
        EXPECT_EQ(run.out,
                  "converted: " + arguments[0] + " -> " +
                      ChangeFileExt(arguments[0], c.given[0] == "a.sgf" ? ".ugf" : ".sgf") +
                      "\nfailed: " + path(c.failed) + ": " + c.reason + "\n");
        for (const auto& [name, bytes] : c.after) {
            EXPECT_EQ(dir.Read("kifu/" + name), bytes) << c.failed << ": " << name;
        }
    }
}

TEST(Kifuconv, ReportsSkippedAndFailedFilesAndGoesOn) {
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    dir.Write("GAME.UGF.txt", MINIMAL_UGF);
    dir.Write("bad.ugf", "[Header]\r\nLang=sjis\r\n[Data]\r\n");
    dir.Write("c.txt", "x");
    const TRun run = Kifuconv({dir.Path("GAME.UGF.txt"), dir.Path("missing.sgf"),
                               dir.Path("bad.ugf"), dir.Path("c.txt"), dir.Path("a.ugf")});
    EXPECT_EQ(run.status, 1);
    std::istringstream lines(run.out);
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line)) {
        got.push_back(line);
    }
    ASSERT_EQ(got.size(), 5u) << run.out;
    EXPECT_EQ(got[0], "skipped: " + dir.Path("GAME.UGF.txt") + ": not a .ugf, .ugi or .sgf file");
    EXPECT_EQ(got[1], "failed: " + dir.Path("missing.sgf") + ": ファイル " +
                          dir.Path("missing.sgf") + " は開けません");
    EXPECT_EQ(got[2].rfind("failed: " + dir.Path("bad.ugf") + ": ", 0), 0u) << got[2];
    EXPECT_GT(got[2].size(), ("failed: " + dir.Path("bad.ugf") + ": ").size());
    EXPECT_EQ(got[3], "skipped: " + dir.Path("c.txt") + ": not a .ugf, .ugi or .sgf file");
    EXPECT_EQ(got[4], "converted: " + dir.Path("a.ugf") + " -> " + dir.Path("a.sgf"));
    EXPECT_EQ(dir.List(), "GAME.UGF.txt a.sgf a.ugf bad.ugf c.txt");
}

TEST(Kifuconv, ReadsExtensionsOfAnyCaseAndWritesTheOutputInLowerCase) {
    TTempDir dir;
    dir.Write("GAME.SGF", MINIMAL_SGF);
    dir.Write("GAME.ugf", "earlier");
    dir.Write("review.ugi", MINIMAL_UGF);
    dir.Write("Old.Ugf", MINIMAL_UGF);
    const TRun run = Kifuconv({dir.Path("GAME.SGF"), dir.Path("review.ugi"), dir.Path("Old.Ugf")});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "converted: " + dir.Path("GAME.SGF") + " -> " + dir.Path("GAME.ugf") +
                           "\nconverted: " + dir.Path("review.ugi") + " -> " +
                           dir.Path("review.sgf") + "\nconverted: " + dir.Path("Old.Ugf") + " -> " +
                           dir.Path("Old.sgf") + "\n");
    EXPECT_EQ(dir.Read("GAME.ugf"), ROUND_TRIP_UGF);
    EXPECT_EQ(dir.Read("GAME.bak"), "earlier");
    EXPECT_EQ(dir.Read("review.sgf"), MINIMAL_SGF);
    EXPECT_EQ(dir.List(), "GAME.SGF GAME.bak GAME.ugf Old.Ugf Old.sgf review.sgf review.ugi");
}

TEST(Kifuconv, SaysHowAnSgfRecordWasReadOnItsLine) {
    struct Row {
        const char* name;
        std::string sgf;
        std::string notes;  // after the output name
    };
    const Row rows[] = {
        {"Shift-JIS", "(;SZ[19]PB[\x95\x5C];B[pd])", ""},
        {"UTF-8", "(;CA[UTF-8]SZ[19]PB[本因坊];B[pd])", " (read as UTF-8)"},
        {"UTF-8 with characters that have no Shift-JIS form", "(;SZ[19]PB[이세돌];B[pd])",
         " (read as UTF-8, 3 characters with no Shift-JIS form written as ?)"},
        {"one such character", "(;SZ[19]PB[a😀];B[pd])",
         " (read as UTF-8, 1 character with no Shift-JIS form written as ?)"},
        // PB[柯潔]PW[古力]C[許皓瑄] in Big5 without CA: 瑄 has no Shift-JIS form.
        {"Big5 told from the bytes",
         "(;SZ[19]PB[\xAC_\xBC\xE4]PW[\xA5j\xA4O]C[\xB3\\\xB5q\xDE\xB1];B[pd])",
         " (read as Big5 (no CA), 1 character with no Shift-JIS form written as ?)"},
        {"variations", "(;SZ[19];B[pd](;W[dd])(;W[dp])(;W[pp]))", " (2 variations left out)"},
        {"all of it",
         "(\n  ;CA[UTF-8]SZ[19]PB[이]\n  ;B[pd]\n  (;W[dd])\n  (;W[dp])\n)\n(;B[aa])(;B[bb])",
         " (read as UTF-8, 1 character with no Shift-JIS form written as ?) (1 variation left "
         "out) (2 more games in the file left out)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TTempDir dir;
        dir.Write("a.sgf", row.sgf);
        const TRun run = Kifuconv({dir.Path("a.sgf")});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "converted: " + dir.Path("a.sgf") + " -> " + dir.Path("a.ugf") +
                               row.notes + "\n");
    }
    // The names read correctly in Shift-JIS.
    TTempDir dir;
    dir.Write("a.sgf", rows[1].sgf);
    ASSERT_EQ(Kifuconv({dir.Path("a.sgf")}).status, 0);
    EXPECT_NE(dir.Read("a.ugf").find("BMemb1=\x96\x7B\x88\xF6\x96\x56,\r\n"), std::string::npos);
    // So do those of the Big5 record: 柯潔 and 古力.
    dir.Write("b.sgf", rows[4].sgf);
    ASSERT_EQ(Kifuconv({dir.Path("b.sgf")}).status, 0);
    const std::string ugf = dir.Read("b.ugf");
    EXPECT_NE(ugf.find("BMemb1=\x9E\x68\x8C\x89,\r\n"), std::string::npos);
    EXPECT_NE(ugf.find("WMemb1=\x8C\xC3\x97\xCD,\r\n"), std::string::npos);
}

TEST(Kifuconv, SettingsThatWriteNothingFailEveryRecord) {
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--app", "4"}, {"--app=-1"}, {"--ugf-conv", "1"}}) {
        std::vector<std::string> arguments = options;
        arguments.push_back(dir.Path("a.ugf"));
        const TRun run = Kifuconv(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out.rfind("failed: ", 0), 0u) << run.out;
    }
    EXPECT_EQ(dir.List(), "a.ugf");
}

TEST(Kifuconv, KeepsTheOldOutputWhenItCannotBecomeTheBackup) {
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    dir.Write("a.sgf", "old");
    std::filesystem::create_directory(dir.Path("a.bak"));
    const TRun run = Kifuconv({dir.Path("a.ugf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "failed: " + dir.Path("a.ugf") +
                           ": 既存の出力ファイルを .bak ファイルに移せません\n");
    EXPECT_EQ(dir.Read("a.sgf"), "old");
    EXPECT_EQ(dir.List(), "a.bak/ a.sgf a.ugf");
}

TEST(Kifuconv, UsageErrorsConvertNothing) {
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{dir.Path("a.ugf"), "--app", "x"},
          {"--bogus", dir.Path("a.ugf")},
          {"--app", "1"}}) {
        const TRun run = Kifuconv(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("kifuconv --help"), std::string::npos);
    }
    EXPECT_EQ(dir.List(), "a.ugf");
}

TEST(Kifuconv, HelpNamesTheFourApplications) {
    const TRun run = Kifuconv({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* name : {"お父さんの囲碁３", "Ｔｈｅ囲碁", "ＡＩ囲碁", "ファミリー囲碁２"}) {
        EXPECT_NE(run.out.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(Kifuconv({"--version", "a.ugf"}).status, 0);
}

TEST(Kifuconv, ShowsProgressOnlyOnATerminalForSeveralFiles) {
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    dir.Write("b.ugf", MINIMAL_UGF);
    const TRun shown = Kifuconv({dir.Path("a.ugf"), dir.Path("b.ugf")}, true);
    EXPECT_NE(shown.err.find("[2/2] " + dir.Path("b.ugf")), std::string::npos);
    EXPECT_EQ(Kifuconv({dir.Path("a.ugf"), dir.Path("b.ugf"), "-q"}, true).err, "");
    EXPECT_EQ(Kifuconv({dir.Path("a.ugf")}, true).err, "");
    EXPECT_EQ(Kifuconv({dir.Path("a.ugf"), dir.Path("b.ugf")}, false).err, "");
}

TEST(Kifuconv, ShowsNoControlBytesFromARecord) {
    TTempDir dir;
    dir.Write("e.ugf", "[Header]\r\nCrypt=\x1b]0;title\x07\x1b[2J\r\n[Data]\r\n");
    const TRun run = Kifuconv({dir.Path("e.ugf")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x07'), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("?]0;title??[2J"), std::string::npos) << run.out;
}

TEST(Kifuconv, FailsWhenItsReportCannotBeWritten) {
    // An output that takes nothing, like a full disk.
    struct TFull : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    TTempDir dir;
    dir.Write("a.ugf", MINIMAL_UGF);
    EXPECT_EQ(RunKifuconv({dir.Path("a.ugf")}, out, err, false), 1);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
    std::ostream help(&full);
    EXPECT_EQ(RunKifuconv({"--help"}, help, err, false), 1);
}

TEST(Kifuconv, ConvertsJapaneseNamesInAJapaneseFolder) {
    TTempDir dir;
    std::filesystem::create_directory(dir.Path("棋譜"));
    dir.Write("棋譜/囲碁.ugf", MINIMAL_UGF);
    dir.Write("棋譜/本因坊.sgf", MINIMAL_SGF);
    const TRun run = Kifuconv({dir.Path("棋譜/囲碁.ugf"), dir.Path("棋譜/本因坊.sgf")});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "converted: " + dir.Path("棋譜/囲碁.ugf") + " -> " +
                           dir.Path("棋譜/囲碁.sgf") +
                           "\nconverted: " + dir.Path("棋譜/本因坊.sgf") + " -> " +
                           dir.Path("棋譜/本因坊.ugf") + "\n");
    EXPECT_EQ(dir.Read("棋譜/囲碁.sgf"), MINIMAL_SGF);
    // Nothing, not even a temporary file, lands beside the folder.
    EXPECT_EQ(dir.List(), "棋譜/");
}
