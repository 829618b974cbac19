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
        const TUgfSections sections = FindUgfSections(row.lines);
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
