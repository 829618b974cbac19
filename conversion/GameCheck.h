#pragma once

#include "conversion/ConversionRun.h"
#include "conversion/ConversionSettings.h"
#include "conversion/Game.h"

#include <string>
#include <string_view>

// Whether converting a record keeps its game: the record converted in memory, its output read back
// as the other format, and the two games compared. Some records cannot keep their game by design
// (the formats and the converters' fixed rules leave no room for it); those changes are predicted
// from the record's own game, so a change that the design does not explain still shows.

// What the design of the conversion changes in a game, one bit each.
namespace design {
// SGF to UGF.
inline constexpr unsigned VARIATIONS_LEFT_OUT = 1u << 0;  // only the main line is converted
inline constexpr unsigned ROOT_MOVES = 1u << 1;           // moves in the root node are not taken
inline constexpr unsigned OTHER_SETUP = 1u << 2;  // AW, AE and setup after the root are dropped
// AB stones read back as black moves: the UGF written has no "Hdcp" line.
inline constexpr unsigned HANDICAP_AS_MOVES = 1u << 3;
// Points in capitals (past "z") read back in small letters.
inline constexpr unsigned CAPITAL_POINTS = 1u << 4;
// Both directions: "tt" is the pass in one format and a point in the other (on boards larger than
// 19, where "tt" is a point; a UGF "TT", which SGF reads as the pass).
inline constexpr unsigned PASS_FORM = 1u << 5;
// UGF to SGF: the SGF of ＡＩ囲碁 gives the handicap stones no property name.
inline constexpr unsigned BARE_STONES = 1u << 6;
// SGF to UGF: only the first game of a file is converted.
inline constexpr unsigned GAMES_LEFT_OUT = 1u << 7;
}  // namespace design

// The outcome of one record's check.
enum class TCheckVerdict {
    NotConverted,  // the conversion writes nothing for the record (see TGameCheck::reason)
    Same,          // the output holds the same game
    ByDesign,      // the output holds the game as the design changes it (see TGameCheck::changes)
    Differs,       // the output holds another game than the design explains
};

struct TGameCheck {
    TCheckVerdict verdict = TCheckVerdict::NotConverted;
    // Why the record was not converted, or why its output could not be read back (Shift-JIS).
    std::string reason;
    // The record's game, and its output's game read back as the other format.
    TGameRecord source;
    TGameRecord output;
    // The first difference of the output's game from the record's.
    TGameDifference difference;
    // What the design changes of this record's game (bits of design::).
    unsigned changes = 0;
};

// Checks the record of kind (Ugf or Sgf) in bytes: converted in memory with settings, the output
// read back, the games compared. Writes nothing.
TGameCheck CheckRecordGame(std::string_view bytes, TRecordKind kind,
                           const TConversionSettings& settings);

// The game that reading back the output of converting source (a record of kind) should give, as
// the design changes it; changes gets the bits (design::) of what changed. dialect: the SGF
// written (USGFApli).
TGame ExpectedOutputGame(const TGame& source, TRecordKind kind, int dialect, unsigned& changes);
