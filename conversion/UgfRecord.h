#pragma once

#include "conversion/ConversionState.h"
#include "conversion/KeyTable.h"
#include "conversion/LineList.h"
#include "conversion/StringSplit.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UGF records: a "[Header]" section of key=value lines, a "[Data]" section of one line per stone
// and an optional "[Comment]" section that is never read. Reading takes lines whole and trims
// nothing; fields are cut with the shared TStringSplit, so its properties are left as last set.

// 0-based line positions of the section markers, -1 for a marker that is absent. A marker is a
// whole line equal to its text with ASCII letter case ignored; only its first occurrence counts.
struct TUgfSections {
    int header = -1;
    int data = -1;
    int comment = -1;
    // The number of lines of the record.
    std::size_t lineCount = 0;
};

// The section markers of a record's text (its lines as SplitLines cuts them), in one walk.
TUgfSections FindUgfSections(std::string_view text);

// The two plain forms of a UGF record. The newer form, written by current UGF software, marks
// itself by a "Crypt" value with further fields, and may hold more sections after "[Data]"
// ("[ReviewNode]", "[ReviewComment]").
enum class TUgfForm { Older, Newer };

// The form a "Crypt" value names: Older for exactly "0,PLAIN_UGF_FILE", Newer for a value that
// begins with "0,PLAIN_UGF_FILE," (the later fields say what the writer allows); none for every
// other value, which is no plain record.
std::optional<TUgfForm> ReadUgfCrypt(std::string_view value);

// True when line is a section line: the whole line begins with "[" and its last character is a
// single-byte "]" ('[ReviewNode]', '[Comment]'; not ' [Data]', nor a line whose last byte is the
// trail byte of a double-byte character).
bool IsUgfSectionLine(std::string_view line);

// 0-based position of the first section line of text (its lines as SplitLines cuts them) after
// line after, -1 when there is none. With after -1 (no "[Data]" line) there is none either.
int FindNextSectionLine(std::string_view text, int after);

// Data lines after "[Data]": the first handicap lines, then the move lines. 0-based line positions,
// half-open: handicap lines [handicapBegin, moveBegin), move lines [moveBegin, end).
struct TUgfDataLines {
    std::size_t handicapBegin = 0;
    std::size_t moveBegin = 0;
    std::size_t end = 0;
};

// Where the handicap and move lines of lines stand for a handicap count (0 or more). The data lines
// end before "[Comment]", or with the last line; handicap lines past that end are simply missing.
// With no "[Data]" line, or "[Comment]" before it, there are none.
TUgfDataLines LocateUgfDataLines(const TUgfSections& sections, std::size_t lineCount,
                                 std::int32_t handicap);

// The fields of text cut at every "," with split (pattern ",", patterncut true): 'a,,b' has three,
// 'a,' two, an empty text none. The result is split.items, valid until split is used again.
const std::vector<std::string>& SplitFields(std::string_view text, TStringSplit& split);

// Leaves split as cutting line at separator (patterncut true) leaves it, for a line of at most
// LEFTOVER_PIECES pieces; a line of more pieces leaves split as it was, since one heap string a
// piece would take many times the record's memory only to leave a component set.
inline constexpr std::size_t LEFTOVER_PIECES = 4096;
void LeaveSplitAsLineLeftIt(std::string_view line, char separator, TStringSplit& split);

// Field n of fields, counted from 1; the empty text when there are fewer than n.
std::string_view FieldOf(const std::vector<std::string>& fields, std::size_t n);

// Header keys of the newer form that the key code table leaves out.
enum class TUgfNewerKey { PlayerB, PlayerW, CoordinateType };

// The header values of one record by key code ("Ver" 1 to "Comment" 19), and the values of the
// newer form's keys "PlayerB", "PlayerW" and "CoordinateType"; a key never read has the empty
// value.
class TUgfHeader {
public:
    // Reads one header line: the key is the text before the first "=" (the whole line without
    // one), the value the text from there to the next "=" or the end of the line (empty without
    // a "="), cut as state.StringSplit cuts at "=" but on views, so the component is not touched
    // (see LeaveSplitAsLineLeftIt); classifies the key with state.ClassifyKey; a key of codes 1
    // to 19, or a newer-form key (compared byte for byte, like the others), replaces its earlier
    // value; any other key is ignored. Looks no further into the line than its second "=".
    void ReadLine(std::string_view line, TConversionState& state);
    // The value of the key with code, empty for a key not read or a code outside 1 to 19.
    const std::string& Value(std::uint8_t code) const;
    // True when a line of the key with code (1 to 19) was read, whatever its value.
    bool Has(std::uint8_t code) const;
    // The value of a newer-form key, none when no line of it was read.
    const std::optional<std::string>& Value(TUgfNewerKey key) const;

private:
    std::array<std::string, keys::COMMENT + 1> m_values;
    std::array<bool, keys::COMMENT + 1> m_read{};
    std::array<std::optional<std::string>, 3> m_newer;
};

// Handicap count and komi of a "Hdcp" value.
struct TUgfHandicap {
    std::int32_t count = 0;
    std::string komi = "0";
};

// Reads a "Hdcp" value: an empty value gives count 0 and komi "0"; otherwise field 1 is the count
// and field 2 the komi ("0" when there is no field 2, kept empty when it is empty). None when
// field 1 is not ASCII digits alone of a value up to 2,147,483,647 ('-1', '+1', ' 1', '').
std::optional<TUgfHandicap> ReadUgfHandicap(std::string_view value, TStringSplit& split);

// A player of a "BMemb1" or "WMemb1" value.
struct TUgfPlayer {
    std::string name;
    std::string rank;
};

// Reads a player value: the name is field 1; the rank is field 2 followed by every later field
// that is not empty, each after a "," ('Taro,3d,' gives '3d', 'Taro,,x' gives ',x'). Missing fields
// are empty.
TUgfPlayer ReadUgfPlayer(std::string_view value, TStringSplit& split);

// Reads a "PlayerB" or "PlayerW" value of the newer form: the name is field 1 and the rank field 2;
// the later fields (the newer form keeps an address there) are no part of the rank
// ('kaziwami,7d,,panda@.jp' gives 'kaziwami' and '7d').
TUgfPlayer ReadUgfNewerPlayer(std::string_view value, TStringSplit& split);

// The board size by which points count their rows from the bottom, as the newer form's
// "CoordinateType" value "IGS" (its first field, letter case ignored) has them: the "Size" value as
// a whole number from 1 to 25 (ASCII digits alone). 0, for points read as written, without
// "CoordinateType", with another type, or without such a size.
int IgsRowsOf(const TUgfHeader& header);

// point with its row counted from the other edge of a board of rows rows, when it is on the board:
// two ASCII letters, each from "A" to the rows-th letter in either case, the second replaced by the
// letter of row rows + 1 - r in its own case ('QP' on 19 gives 'QD', 'qp' gives 'qd'). The pass
// "YA" and every point off the board stay as they are.
std::string MirrorUgfPoint(std::string_view point, int rows);

// The SGF result text of a "Winner" value: with field 2 "C" (resignation) "W+R" when field 1 is
// "B" and "B+R" otherwise (the letter names the side that resigned); with another field 2,
// field 1 + "+" + field 2; with fewer than two fields, field 1, or empty ('Draw' gives 'Draw').
std::string ReadUgfResult(std::string_view value, TStringSplit& split);

// Reads a handicap line: the point (field 1) of a black stone when field 3 is exactly "0" (the
// colour code is not looked at); none otherwise, also for a line of fewer than three fields. The
// fields are cut as SplitFields cuts them, as views into line; no component is touched.
std::optional<std::string_view> ReadUgfHandicapLine(std::string_view line);

// A move of a data line: its colour 'B' or 'W' and its point as written (field 1, "YA" a pass),
// a view into the line.
struct TUgfMove {
    char colour = 'B';
    std::string_view point;
};

// Reads a move line: black for colour code (field 2) "B1" or "B2", white for "W1" or "W2", at
// field 1; none for any other colour code, also for a line of fewer than two fields. Cut like
// ReadUgfHandicapLine.
std::optional<TUgfMove> ReadUgfMoveLine(std::string_view line);

// The header values of a UGF record as the program writes it, each the text after "=" of its line.
struct TUgfWrittenHeader {
    std::string title;
    std::string place;
    std::string rule;
    std::string size;
    std::string winner;
    std::string bMemb1;
    std::string wMemb1;
    std::string user;
    std::string copyright;
};

// A UGF record in the program's own layout: "[Header]", "Ver=UGF,100", "Lang=SJIS",
// "Crypt=0,PLAIN_UGF_FILE", "Title=", "Place=", "Date=" (always empty), "Rule=", "Size=",
// "Winner=", "Moves=" (one more than the number of move lines), "BMemb1=", "WMemb1=", "User=",
// "Copyright=", "Comment=" (always empty), "[Data]", then the handicap lines and the move lines.
// Values are copied byte for byte; no "Hdcp" line and no "[Comment]" section are written.
TLineList WriteUgfRecord(const TUgfWrittenHeader& header, TLineList handicapLines,
                         TLineList moveLines);

// The header lines of WriteUgfRecord for moveCount move lines, each followed by CR LF, "[Data]"
// the last of them.
std::string WriteUgfHeaderText(const TUgfWrittenHeader& header, std::size_t moveCount);

// One data line as written: point, ",", colour, ",", number in decimal, ",0" ('PD,B1,0,0' for a
// handicap stone, 'DD,W1,2,0' for the second move, 'YA,B1,3,0' for a pass).
std::string WriteUgfDataLine(std::string_view point, std::string_view colour, long long number);
// The same line appended to out, the point upper-cased as AnsiUpper does when upper is true.
void AppendUgfDataLine(std::string& out, std::string_view point, bool upper,
                       std::string_view colour, long long number);
