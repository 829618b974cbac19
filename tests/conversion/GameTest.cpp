#include "conversion/Game.h"
#include "conversion/GameCheck.h"
#include "conversion/Texts.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string PointText(const TGame& game, const TGamePoint& point) {
    switch (point.kind) {
        case TPointKind::Pass:
            return point.blank ? "pass()" : "pass";
        case TPointKind::On:
            return CoordinateOf(point, game.boardSize);
        case TPointKind::Off:
            break;
    }
    return "off(" + std::string(game.Text(point)) + ")";
}

// "B Q16 W pass ..." for the moves; "B D4 W- Q16 E K10" for the setup (E an empty point).
std::string MovesText(const TGame& game) {
    std::string text;
    for (const TGameMove& move : game.moves) {
        text += text.empty() ? "" : " ";
        text += move.colour == TColour::Black ? "B " : "W ";
        text += PointText(game, move.point);
    }
    return text;
}

std::string SetupText(const TGame& game) {
    std::string text;
    for (const TSetupStone& stone : game.setup) {
        text += text.empty() ? "" : " ";
        text += stone.kind == TSetupKind::Black   ? "B "
                : stone.kind == TSetupKind::White ? "W "
                                                  : "E ";
        text += PointText(game, stone.point);
    }
    return text;
}

std::string Ugf(const std::string& header, const std::string& data) {
    return "[Header]\r\nLang=SJIS\r\n" + header + "[Data]\r\n" + data;
}

TGameCheck Check(const std::string& bytes, TRecordKind kind, int dialect = 0, int ugfConv = 0) {
    TConversionSettings settings;
    settings.USGFApli = dialect;
    settings.UGFConv = ugfConv;
    return CheckRecordGame(bytes, kind, settings);
}

}  // namespace

TEST(Game, ReadsAUgfRecordAsTheConversionToSgfDoes) {
    // The newer form, rows counted from the bottom: handicap lines are the first Hdcp lines, a
    // line of another colour code gives nothing, "YA" is a pass, an empty point a pass written
    // blank, and the data end at the next section line.
    const std::string newer =
        Ugf("Crypt=0,PLAIN_UGF_FILE,READ_WRITE\r\nSize=19\r\nHdcp=2,0.5\r\nCoordinateType=IGS\r\n",
            "DD,B1,0,0\r\nPP,B1,5,0\r\nQC,W1,1,0\r\nCC,B3,2,0\r\nYA,B1,3,0\r\n,W1,4,0\r\n"
            "ZZ,B2,5,0\r\nqd,W2,6,0\r\n[ReviewNode]\r\nAA,B1,7,0\r\n");
    const TGameRecord record = ReadUgfGame(newer);
    ASSERT_TRUE(record.ok) << record.reason;
    EXPECT_EQ(SetupText(record.game), "B D4");  // the second handicap line is no stone
    EXPECT_EQ(MovesText(record.game), "W R3 B pass W pass() B off(zz) W R4");
    // On a board of 25 rows counted from the bottom, 'YY' is the point that mirroring makes 'YA'.
    const TGameRecord large =
        ReadUgfGame(Ugf("Crypt=0,PLAIN_UGF_FILE,x\r\nSize=25\r\nCoordinateType=IGS\r\n",
                        "YY,B1,1,0\r\nYA,W1,2,0\r\n"));
    EXPECT_EQ(MovesText(large.game), "B Z25 W pass");
    // The records the conversion rejects, with its reasons.
    const TGameRecord rejected = ReadUgfGame(Ugf("Crypt=0,PLAIN_UGF_FILE\r\nHdcp=-1\r\n", ""));
    EXPECT_FALSE(rejected.ok);
    EXPECT_EQ(rejected.reason, std::string(texts::BAD_HANDICAP_COUNT) + "-1");
    EXPECT_EQ(ReadUgfGame("\r\n[Header]\r\n").reason, texts::NO_HEADER_LINE);
}

TEST(Game, ReadsAnSgfRecordAsTheConversionToUgfDoes) {
    // The root's AB (a compressed list too), AW and AE with their further values; a move in the
    // root; the main line, into the first variation; "tt" a pass on 19 x 19, "" a blank pass;
    // setup after the root noted; the variation left out counted.
    const TGameRecord record = ReadSgfGame(
        "(;SZ[19]AB[aa][bb:cc]AW[dd] [ee]AE[ff]B[gg]PL[W]\r\n"
        ";W[tt];B[]C[a;b](;W[pd]AB[qq])(;W[Aa];B[dp]))\r\n");
    ASSERT_TRUE(record.ok) << record.reason;
    const TGame& game = record.game;
    EXPECT_EQ(SetupText(game), "B A19 B B18 B B17 B C18 B C17 W D16 W E15 E F14");
    EXPECT_EQ(game.notes.rootMoves, 1u);
    EXPECT_EQ(game.notes.variations, 1u);
    EXPECT_TRUE(game.notes.laterSetup);
    EXPECT_EQ(MovesText(game), "W pass B pass() W Q16");
    // On a board larger than 19, "tt" is a point.
    EXPECT_EQ(MovesText(ReadSgfGame("(;SZ[25];B[tt];W[])").game), "B U6 W pass()");
    EXPECT_EQ(ReadSgfGame("(;SZ[52:19];B[Wd])").game.boardSize, 0);
    EXPECT_EQ(ReadSgfGame("(;B[dd])").game.size, "19");  // no SZ: the standard's 19 x 19
    EXPECT_EQ(ReadSgfGame("no record").reason, texts::SGF_NOT_A_RECORD);
}

TEST(Game, NamesPointsAsGoPlayersDo) {
    const auto at = [](int column, int row) {
        return TGamePoint{TPointKind::On, static_cast<std::uint8_t>(column),
                          static_cast<std::uint8_t>(row), false, 0};
    };
    EXPECT_EQ(CoordinateOf(at(0, 0), 19), "A19");
    EXPECT_EQ(CoordinateOf(at(8, 18), 19), "J1");  // no column "I"
    EXPECT_EQ(CoordinateOf(at(18, 15), 19), "T4");
    EXPECT_EQ(CoordinateOf(at(24, 24), 25), "Z1");
    EXPECT_EQ(CoordinateOf(at(4, 4), 9), "E5");
    const std::pair<const char*, int> sizes[] = {{"19", 19}, {" 9 ", 9}, {"2", 2},     {"25", 25},
                                                 {"1", 0},   {"26", 0},  {"19:19", 0}, {"", 0}};
    for (const auto& [text, size] : sizes) {
        EXPECT_EQ(BoardSizeOf(text), size) << text;
    }
}

TEST(GameCheck, TellsASameGameFromWhatTheDesignChangesAndFromAnotherGame) {
    const std::string plain = Ugf("Crypt=0,PLAIN_UGF_FILE\r\nSize=19\r\n",
                                  "PD,B1,1,0\r\nYA,W1,2,0\r\n,B1,3,0\r\nTT,W1,4,0\r\n");
    const std::string handicap = Ugf("Crypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nHdcp=2,0\r\n",
                                     "PD,B1,0,0\r\nDP,B1,0,0\r\nQQ,W1,1,0\r\n");
    struct TCase {
        const char* name;
        std::string bytes;
        TRecordKind kind;
        int dialect;
        TCheckVerdict verdict;
        unsigned changes;
        TGameDifference::TWhat first;
    };
    using enum TCheckVerdict;
    using W = TGameDifference::TWhat;
    const TCase cases[] = {
        {"UGF, app 0", plain, TRecordKind::Ugf, 0, ByDesign, design::PASS_FORM, W::Move},
        {"UGF with handicap, app 1", handicap, TRecordKind::Ugf, 1, Same, 0, W::None},
        {"UGF with handicap, app 3", handicap, TRecordKind::Ugf, 3, Same, 0, W::None},
        {"UGF with handicap, app 2", handicap, TRecordKind::Ugf, 2, ByDesign, design::BARE_STONES,
         W::Setup},
        {"SGF", "(;SZ[19];B[pd];W[tt];B[])", TRecordKind::Sgf, 0, Same, 0, W::None},
        {"SGF with handicap", "(;SZ[9]AB[cc][gg];W[ee])", TRecordKind::Sgf, 0, ByDesign,
         design::HANDICAP_AS_MOVES, W::Setup},
        {"SGF with variations", "(;SZ[9];B[cc](;W[ee])(;W[gg]))", TRecordKind::Sgf, 0, ByDesign,
         design::VARIATIONS_LEFT_OUT, W::None},
        {"SGF of two games", "(;SZ[9];B[cc])(;SZ[9];B[ee])", TRecordKind::Sgf, 0, ByDesign,
         design::GAMES_LEFT_OUT, W::None},
        {"SGF with white setup and a root move", "(;SZ[9]AW[cc]B[dd];W[ee])", TRecordKind::Sgf, 0,
         ByDesign, design::OTHER_SETUP | design::ROOT_MOVES, W::Setup},
        {"SGF of 25 x 25 with 'tt'", "(;SZ[25];B[tt])", TRecordKind::Sgf, 0, ByDesign,
         design::PASS_FORM, W::Move},
        {"SGF with a point in capitals", "(;SZ[19];B[Pd])", TRecordKind::Sgf, 0, ByDesign,
         design::CAPITAL_POINTS, W::Move},
        // Read back, the ";" in the name is text of its value: the root keeps its stones.
        {"UGF whose name holds ';'",
         Ugf("Crypt=0,PLAIN_UGF_FILE\r\nSize=19\r\nHdcp=1,0\r\nBMemb1=a;b\r\n",
             "PD,B1,0,0\r\nQQ,W1,1,0\r\n"),
         TRecordKind::Ugf, 0, Same, 0, W::None},
        {"not an SGF record", "no record", TRecordKind::Sgf, 0, NotConverted, 0, W::None},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TGameCheck check = Check(c.bytes, c.kind, c.dialect);
        EXPECT_EQ(check.verdict, c.verdict) << check.reason;
        EXPECT_EQ(check.changes, c.changes);
        EXPECT_EQ(check.difference.what, c.first);
        EXPECT_TRUE(check.source.ok || c.verdict == NotConverted);
    }
    // Settings that ask for no output: nothing converted, with the conversion's reason, and the
    // record's own game still read.
    const TGameCheck off = Check(plain, TRecordKind::Ugf, 0, 1);
    EXPECT_EQ(off.verdict, NotConverted);
    EXPECT_EQ(off.reason, texts::UGF_CONVERSION_OFF);
    EXPECT_EQ(off.source.game.moves.size(), 4u);
}
