#pragma once

#include "conversion/ConversionRun.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The game a record holds as the converters read it: the board size, the setup stones and the
// moves. A UGF record is read as the conversion to SGF reads it (the handicap stones, the moves
// with IGS rows mirrored, "YA" a pass), through the converter's own reading code; an SGF record by
// a game tree reader of its own (SgfTree), its main line as the conversion to UGF takes it (the
// root's AB, AW and AE, the moves of the main line), so that a fault of the converter's streaming
// reading shows as a difference rather than hiding.

// The largest board: 25 lines, whose columns the letters "A" to "Z" without "I" name. The one place
// that says so, for the readers, the board and the windows alike.
inline constexpr int LARGEST_BOARD = 25;

// The letter Go players read for a column (from 0, from the left, below LARGEST_BOARD): "A" to "Z"
// without "I", which reads too much like "J" and "1".
constexpr char ColumnLetter(int column) { return "ABCDEFGHJKLMNOPQRSTUVWXYZ"[column]; }

enum class TColour : std::uint8_t { Black, White };

enum class TPointKind : std::uint8_t {
    Pass,
    On,   // a point of the board
    Off,  // a text that names no point of the board
};

// One point of a record, read as the record's format means it.
struct TGamePoint {
    TPointKind kind = TPointKind::Pass;
    // On: from the left and from the top, from 0.
    std::uint8_t column = 0;
    std::uint8_t row = 0;
    // Pass: written with no text at all (SGF 'B[]', a UGF line with an empty point field), rather
    // than as the format's pass ("tt", "YA").
    bool blank = false;
    // Off: the text as written (see TGame::Text); On: the compressed point list ('dd:ff') it came
    // from, if any. 1-based into TGame::texts, 0 for none.
    std::uint32_t text = 0;
};

struct TGameMove {
    TColour colour = TColour::Black;
    TGamePoint point;
};

enum class TSetupKind : std::uint8_t { Black, White, Empty };

// A setup stone (SGF AB, AW, AE; a UGF handicap stone is black). Setup stones are never passes:
// their texts are points or off the board.
struct TSetupStone {
    TSetupKind kind = TSetupKind::Black;
    TGamePoint point;
};

// What an SGF record holds beyond the game the conversion takes.
struct TGameNotes {
    // Variations off the main line, and games after the first, which the conversion leaves out.
    std::size_t variations = 0;
    std::size_t games = 0;
    // Moves in the root node, which the conversion does not take.
    std::size_t rootMoves = 0;
    // Setup properties (AB, AW, AE) after the root node, which the conversion does not take.
    bool laterSetup = false;
};

// One game, as a record holds it.
struct TGame {
    // The size as the record gives it (an SGF record without SZ is 19 x 19).
    std::string size;
    // The board's size when the size is a whole number from 2 to LARGEST_BOARD; 0 otherwise (no
    // board).
    int boardSize = 0;
    std::vector<TSetupStone> setup;
    std::vector<TGameMove> moves;
    TGameNotes notes;
    // Texts of points off the board and of point lists.
    std::vector<std::string> texts;

    // The text of point (empty when it has none).
    std::string_view Text(const TGamePoint& point) const;
    // A point off the board with text.
    TGamePoint OffPoint(std::string_view text);
};

// The nodes of an SGF record's game tree with the moves each holds, for stepping through its
// variations. The points' texts are those of the record's TGame.
struct TGameTree {
    static constexpr std::uint32_t NONE = 0xFFFFFFFF;
    struct TNode {
        std::uint32_t parent = NONE;
        std::uint32_t firstChild = NONE;
        std::uint32_t nextSibling = NONE;
        // The node's moves: moves[firstMove] on.
        std::uint32_t firstMove = 0;
        std::uint32_t moveCount = 0;
    };
    // nodes[0] is the root, whose moves the conversion does not take (none are kept here).
    std::vector<TNode> nodes;
    std::vector<TGameMove> moves;
};

// The game of one record, or why the record cannot be read.
struct TGameRecord {
    bool ok = false;
    // Why not ok: the converter's reason for the same record (Shift-JIS).
    std::string reason;
    // The game: for an SGF record, its main line.
    TGame game;
    // An SGF record's game tree (empty for a UGF record).
    TGameTree tree;
};

// The game of a UGF record's bytes (lines as SplitLines cuts them). Not ok, with the conversion's
// reason, when the conversion to SGF would reject the record (see ReadUgfLayout).
TGameRecord ReadUgfGame(std::string_view bytes);

// The game of an SGF record's bytes, read in its encoding as the conversion reads it (see
// SgfRecordAsShiftJis) and then as a game tree (ReadSgfTree): the main line in game, every node's
// moves in tree. Not ok, with the conversion's reason, when the encoding cannot be read or the text
// holds no game tree.
TGameRecord ReadSgfGame(std::string_view bytes);

// The same game as the converter's own streaming reading takes it (SplitSgfRecord), without the
// tree: what the conversion writes, for holding the two readings to each other.
TGameRecord ReadSgfGameAsSplit(std::string_view bytes);

// ReadUgfGame or ReadSgfGame for a record of kind (Ugf or Sgf).
TGameRecord ReadRecordGame(std::string_view bytes, TRecordKind kind);

// The board size of a size text: ASCII digits alone (blanks around them ignored) of a value from 2
// to LARGEST_BOARD; 0 for anything else ('19:19', '1', '26', '').
int BoardSizeOf(std::string_view size);

// A point of an SGF record on a board of boardSize (0: no board, every point off it). For a move,
// an empty text is a pass, and so is "tt" unless the board is larger than 19 (where it is a point).
// Two letters name column and row from the top: "a" to "z" 0 to 25, "A" to "Z" 26 to 51. Anything
// else is off the board.
TGamePoint SgfPoint(std::string_view text, int boardSize, bool move, TGame& game);

// A point of a UGF record as the conversion to SGF writes it (field 1, lower-cased): a pass when
// pass (the record's "YA"), or, for a move, when the text is empty (the conversion writes 'B[]',
// SGF's pass); two letters "a" to "z" name column and row from the top; anything else is off the
// board.
TGamePoint UgfPoint(std::string_view text, bool pass, int boardSize, bool move, TGame& game);

// The name a Go player reads for a point on a board of boardSize: the column letter from "A"
// without "I", and the row counted from the bottom ('Q16' for 'pd' on 19 x 19).
std::string CoordinateOf(const TGamePoint& point, int boardSize);

// True when the two points are the same: both passes, the same point of the board, or off the
// board with the same text.
bool SamePoint(const TGame& a, const TGamePoint& p, const TGame& b, const TGamePoint& q);

// Where two games first differ.
struct TGameDifference {
    enum class TWhat { None, Size, Setup, Move };
    TWhat what = TWhat::None;
    // Setup and Move: the 0-based index of the first stone or move that differs; one game may end
    // there.
    std::size_t index = 0;
};

// The first difference of a from b: the size (its text without the blanks around it), then the
// setup stones in order, then the moves in order.
TGameDifference FirstDifference(const TGame& a, const TGame& b);
