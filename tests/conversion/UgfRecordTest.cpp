#include "conversion/UgfRecord.h"
#include "tests/support/Sjis.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>

#define SJIS_KIFU_HENKAN "\x8A\xFB\x95\x88\x83\x74\x83\x40\x83\x43\x83\x8B\x95\xCF\x8A\xB7"

TEST(UgfRecord, FindsFirstWholeLineMarkersIgnoringCase) {
    struct Row {
        const char* name;
        TLineList lines;
        int header, data, comment;
    };
    const Row rows[] = {
        {"any letter case", {"[header]", "a=b", "[DATA]", "PD,B1,1,0", "[comment]"}, 0, 2, 4},
        {"first occurrence", {"[Header]", "[Data]", "[Data]", "[Comment]", "[Header]"}, 0, 1, 3},
        {"blanks around", {" [Header]", "[Data] ", "x", "[Comment]"}, -1, -1, 3},
        {"trail byte is no bracket", {"[Header" SJIS_HYPHEN, "[Data" SJIS_ZO}, -1, -1, -1},
        {"no lines", {}, -1, -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TUgfSections sections = FindUgfSections(JoinLines(row.lines));
        EXPECT_EQ(sections.header, row.header);
        EXPECT_EQ(sections.data, row.data);
        EXPECT_EQ(sections.comment, row.comment);
    }
}

TEST(UgfRecord, HeaderTakesLastValueUpToSecondEquals) {
    TConversionState state;
    TUgfHeader header;
    for (const char* line : {"Title=a=b", "Size=9", "Size=19", "size=13", "Size =13", "Crypt=x",
                             "Crypt", "", "User=u", "Place=" SJIS_HYO "," SJIS_A}) {
        header.ReadLine(line, state);
    }
    EXPECT_EQ(header.Value(keys::TITLE), "a");
    EXPECT_EQ(header.Value(keys::SIZE), "19");
    EXPECT_EQ(header.Value(keys::CRYPT), "");  // named without "=": empty again
    EXPECT_EQ(header.Value(keys::PLACE), SJIS_HYO "," SJIS_A);
    EXPECT_EQ(header.Value(keys::OTHER), "");
    EXPECT_EQ(header.Value(keys::US), "");
    EXPECT_EQ(state.KeyCode, keys::PLACE);
}

TEST(UgfRecord, HandicapCountIsPlainDecimalUpToInt32) {
    struct Row {
        const char* value;
        std::optional<std::int32_t> count;
        const char* komi;
    };
    const Row rows[] = {
        {"", 0, "0"},
        {"2,0.5", 2, "0.5"},
        {"2", 2, "0"},
        {"2,", 2, ""},
        {"007,6.5,x", 7, "6.5"},
        {"2147483647", 2147483647, "0"},
        {"2147483648", {}, ""},
        {"99999999999999999999", {}, ""},
        {"-1", {}, ""},
        {"+1", {}, ""},
        {" 1", {}, ""},
        {"1 ", {}, ""},
        {"x", {}, ""},
        {",6.5", {}, ""},
        {"\x82\x50", {}, ""},
    };
    TStringSplit split;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const std::optional<TUgfHandicap> handicap = ReadUgfHandicap(row.value, split);
        ASSERT_EQ(handicap.has_value(), row.count.has_value());
        if (handicap) {
            EXPECT_EQ(handicap->count, *row.count);
            EXPECT_EQ(handicap->komi, row.komi);
        }
    }
}

TEST(UgfRecord, PlayersAndResultsFromTheirFields) {
    struct Row {
        const char* value;
        const char* name;
        const char* rank;
        const char* result;  // of the same value read as "Winner"
    };
    const Row rows[] = {
        {"Taro,3d", "Taro", "3d", "Taro+3d"},
        {"Taro,3d,", "Taro", "3d", "Taro+3d"},
        {"Taro,,x", "Taro", ",x", "Taro+"},
        {"Taro,3d,,ama", "Taro", "3d,ama", "Taro+3d"},
        {"Taro", "Taro", "", "Taro"},
        {"", "", "", ""},
        {"B,C", "B", "C", "W+R"},
        {"W,C", "W", "C", "B+R"},
        {"X,C,9", "X", "C,9", "B+R"},
        {"B,c", "B", "c", "B+c"},
        {"B,3.5", "B", "3.5", "B+3.5"},
        {SJIS_HYO "," SJIS_A, SJIS_HYO, SJIS_A, SJIS_HYO "+" SJIS_A},
    };
    TStringSplit split;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const TUgfPlayer player = ReadUgfPlayer(row.value, split);
        EXPECT_EQ(player.name, row.name);
        EXPECT_EQ(player.rank, row.rank);
        EXPECT_EQ(ReadUgfResult(row.value, split), row.result);
    }
}

TEST(UgfRecord, DataLinesGiveStonesAndMovesByTheirFields) {
    struct Row {
        const char* line;
        std::optional<std::string> stone;  // read as a handicap line
        const char* move;                  // read as a move line: colour and point, or ""
    };
    const Row rows[] = {
        {"PD,B1,0,0", "PD", "B PD"},
        {"DP,W2,0", "DP", "W DP"},
        {"pd,B2,1,0", {}, "B pd"},
        {"PD,B1,5,0", {}, "B PD"},
        {"YA,W1,7,0", {}, "W YA"},
        {",B1,0,0", "", "B "},
        {"PD,B3,0,0", "PD", ""},
        {"PD,b1,1,0", {}, ""},
        {"PD,B1", {}, "B PD"},
        {"PD", {}, ""},
        {"", {}, ""},
        {"PD,B1,0 ,0", {}, "B PD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(ReadUgfHandicapLine(row.line), row.stone);
        const std::optional<TUgfMove> move = ReadUgfMoveLine(row.line);
        EXPECT_EQ(move ? std::string(1, move->colour) + " " + std::string(move->point) : "",
                  row.move);
    }
}

TEST(UgfRecord, DataLinesEndBeforeCommentAndNeverPastTheLastLine) {
    struct Row {
        const char* name;
        TUgfSections sections;
        std::size_t lineCount;
        std::int32_t handicap;
        std::size_t handicapBegin, moveBegin, end;
    };
    const Row rows[] = {
        {"handicap then moves", {0, 5, -1}, 10, 2, 6, 8, 10},
        {"fewer lines than stones", {0, 5, -1}, 8, 5, 6, 8, 8},
        {"largest count", {0, 5, 9}, 12, 2147483647, 6, 9, 9},
        {"comment section unread", {0, 5, 7}, 12, 0, 6, 6, 7},
        {"comment before data", {0, 5, 3}, 12, 1, 6, 6, 6},
        {"no data line", {0, -1, -1}, 12, 1, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TUgfDataLines lines = LocateUgfDataLines(row.sections, row.lineCount, row.handicap);
        EXPECT_EQ(lines.handicapBegin, row.handicapBegin);
        EXPECT_EQ(lines.moveBegin, row.moveBegin);
        EXPECT_EQ(lines.end, row.end);
    }
}

TEST(UgfRecord, WritesTheProgramsOwnLayout) {
    TUgfWrittenHeader written;
    written.title = SJIS_KIFU_HENKAN ",,";
    written.rule = "JPN";
    written.size = "19";
    written.winner = "W,C";
    written.bMemb1 = "Taro,3d,";
    written.wMemb1 = "Jiro,";
    const TLineList lines =
        WriteUgfRecord(written, {WriteUgfDataLine("PD", "B1", 0)},
                       {WriteUgfDataLine("PD", "B1", 1), WriteUgfDataLine("YA", "W1", 2)});
    const TLineList expected = {"[Header]",
                                "Ver=UGF,100",
                                "Lang=SJIS",
                                "Crypt=0,PLAIN_UGF_FILE",
                                "Title=" SJIS_KIFU_HENKAN ",,",
                                "Place=",
                                "Date=",
                                "Rule=JPN",
                                "Size=19",
                                "Winner=W,C",
                                "Moves=3",
                                "BMemb1=Taro,3d,",
                                "WMemb1=Jiro,",
                                "User=",
                                "Copyright=",
                                "Comment=",
                                "[Data]",
                                "PD,B1,0,0",
                                "PD,B1,1,0",
                                "YA,W1,2,0"};
    EXPECT_EQ(lines, expected);
}

TEST(UgfRecord, CryptNamesThePlainFormOrNone) {
    struct Row {
        const char* value;
        std::optional<TUgfForm> form;
    };
    const Row rows[] = {
        {"0,PLAIN_UGF_FILE", TUgfForm::Older},
        {"0,PLAIN_UGF_FILE,READ_WRITE", TUgfForm::Newer},
        {"0,PLAIN_UGF_FILE,READ_ONLY", TUgfForm::Newer},  // the writer's wish, still plain text
        {"0,PLAIN_UGF_FILE,", TUgfForm::Newer},
        {"0,PLAIN_UGF_FILE,,x", TUgfForm::Newer},
        {"0,PLAIN_UGF_FILEX", {}},
        {"0,PLAIN_UGF_FILE ", {}},
        {"0,PLAIN_UGF_FILE ,READ_WRITE", {}},
        {"1,PLAIN_UGF_FILE,READ_WRITE", {}},
        {"0,plain_ugf_file,READ_WRITE", {}},
        {"0,CRYPT_UGF_FILE,READ_WRITE", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(ReadUgfCrypt(row.value), row.form);
    }
}

TEST(UgfRecord, SectionLinesEndTheNewerFormsData) {
    struct Row {
        const char* name;
        TLineList lines;
        int after;
        int found;
    };
    const Row rows[] = {
        {"review node", {"[Data]", "PD,B1,1,0", "[ReviewNode]", "NODE,1,0,0,0"}, 0, 2},
        {"comment, any name", {"[Data]", "PD,B1,1,0", "[x]", "[Comment]"}, 0, 2},
        {"the empty name", {"[Data]", "[]"}, 0, 1},
        {"only after the line given", {"[Header]", "[Data]", "QP,B1,1,0"}, 1, -1},
        {"blank before", {"[Data]", " [ReviewNode]"}, 0, -1},
        {"blank after", {"[Data]", "[ReviewNode] "}, 0, -1},
        {"a lone bracket", {"[Data]", "["}, 0, -1},
        {"a trail byte is no bracket", {"[Data]", "[Review" SJIS_ZO}, 0, -1},
        {"a ] after a double-byte character", {"[Data]", "[" SJIS_ZO "]"}, 0, 1},
        {"no data line", {"[ReviewNode]"}, -1, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FindNextSectionLine(JoinLines(row.lines), row.after), row.found);
    }
}

TEST(UgfRecord, HeaderKeepsTheNewerFormsKeysApartFromTheKeyCodes) {
    TConversionState state;
    TUgfHeader header;
    for (const char* line : {"PlayerB=kaziwami,7d,,panda@.jp", "playerW=x", "PlayerW =y",
                             "CoordinateType=IGS", "BMemb1=", "PlayerB=ken,2k,,"}) {
        header.ReadLine(line, state);
    }
    EXPECT_EQ(header.Value(TUgfNewerKey::PlayerB), "ken,2k,,");
    EXPECT_EQ(header.Value(TUgfNewerKey::PlayerW), std::nullopt);  // keys compare with case
    EXPECT_EQ(header.Value(TUgfNewerKey::CoordinateType), "IGS");
    EXPECT_TRUE(header.Has(keys::BMEMB1));  // read, though empty
    EXPECT_FALSE(header.Has(keys::WMEMB1));
    EXPECT_EQ(state.KeyCode, keys::OTHER);  // the table does not know them

    TStringSplit split;
    const TUgfPlayer player = ReadUgfNewerPlayer("kaziwami,7d,,panda@.jp", split);
    EXPECT_EQ(player.name, "kaziwami");
    EXPECT_EQ(player.rank, "7d");
    EXPECT_EQ(ReadUgfNewerPlayer("apetresc", split).rank, "");
}

TEST(UgfRecord, IgsRowsCountFromTheBottomOfAUsableSize) {
    struct Row {
        const char* name;
        TLineList lines;
        int rows;
    };
    const Row rows[] = {
        {"letter case of the type ignored", {"CoordinateType=igs", "Size=13"}, 13},
        {"first field only", {"CoordinateType=IGS,x", "Size=9"}, 9},
        {"smallest board", {"CoordinateType=IGS", "Size=1"}, 1},
        {"largest board", {"CoordinateType=IGS", "Size=25"}, 25},
        {"leading zero", {"CoordinateType=IGS", "Size=019"}, 19},
        {"too large", {"CoordinateType=IGS", "Size=26"}, 0},
        {"zero", {"CoordinateType=IGS", "Size=0"}, 0},
        {"not a whole number", {"CoordinateType=IGS", "Size=19x19"}, 0},
        {"blank in the size", {"CoordinateType=IGS", "Size= 19"}, 0},
        {"no size", {"CoordinateType=IGS"}, 0},
        {"IGS not as the first field", {"CoordinateType=x,IGS", "Size=19"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TConversionState state;
        TUgfHeader header;
        for (const std::string& line : row.lines) {
            header.ReadLine(line, state);
        }
        EXPECT_EQ(IgsRowsOf(header), row.rows);
    }
}

TEST(UgfRecord, MirrorsThePointsOnTheBoardOnly) {
    struct Row {
        const char* point;
        int rows;
        const char* mirrored;
    };
    const Row rows[] = {
        {"QP", 19, "QD"},     {"qp", 19, "qd"}, {"Qp", 19, "Qd"}, {"AA", 19, "AS"},
        {"SS", 19, "SA"},     {"JJ", 19, "JJ"}, {"YA", 19, "YA"}, {"YA", 25, "YA"},
        {"ya", 25, "yy"},     {"AT", 19, "AT"}, {"TA", 19, "TA"}, {"CC", 3, "CA"},
        {"DA", 3, "DA"},      {"AA", 1, "AA"},  {"", 19, ""},     {"Q", 19, "Q"},
        {"QPA", 19, "QPA"},   {"Q1", 19, "Q1"}, {"@A", 19, "@A"}, {"[A", 19, "[A"},
        {SJIS_A, 19, SJIS_A},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.point) + " on " + std::to_string(row.rows));
        EXPECT_EQ(MirrorUgfPoint(row.point, row.rows), row.mirrored);
    }
}
