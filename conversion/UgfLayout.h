#pragma once

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/UgfRecord.h"

#include <optional>
#include <string>
#include <string_view>

// What the conversion to SGF reads of a UGF record besides its text values: the header and its
// checks, where the stone lines stand, and the point of each stone line as it goes into the SGF.
// The conversion and the reading of a record's game (UgfGame) both go through here, so a board
// shows the stones that the SGF gets.

// Why a record is no plain UGF record the conversion reads.
enum class TUgfFault {
    None,
    NoHeaderLine,  // line 0 is not "[Header]"
    NotPlain,      // the "Crypt" value names no plain record (also: no "[Data]" line)
    NotSjis,       // the "Lang" value is not exactly "SJIS"
    BadHandicap,   // the "Hdcp" count is no plain decimal
};

// The layout of one record, read up to its first fault.
struct TUgfLayout {
    TUgfFault fault = TUgfFault::None;
    TUgfHeader header;
    // The form the "Crypt" value names; none when it names no plain record.
    std::optional<TUgfForm> form;
    // The sections the data lines end by: with the newer form the first section line after
    // "[Data]" ("[ReviewNode]", "[Comment]") stands for "[Comment]".
    TUgfSections dataSections;
    TUgfHandicap handicap;
    TUgfDataLines data;
    // The rows of a board whose rows count from the bottom (see IgsRowsOf), else 0.
    int igsRows = 0;
    // The record's lines from the first stone line of data on (its line handicapBegin), when there
    // is one. The text stays the caller's.
    TLineCursor lines;
};

// Reads the layout of text, whose section markers are sections: checks line 0, then reads the
// header lines with state (StepProgress after the check and after every line; keys classified
// with state.ClassifyKey; state.StringSplit left as cutting the last one at "=" leaves it), then
// checks "Crypt", "Lang" and "Hdcp", in that order, stopping at the first fault. The lines are
// views into text, which must outlive the layout's cursor.
TUgfLayout ReadUgfLayout(std::string_view text, const TUgfSections& sections,
                         TConversionState& state);

// The conversion's reason (Shift-JIS) for a layout's fault; empty for none.
std::string UgfFaultReason(const TUgfLayout& layout);

// The point of the handicap stone on line as it goes into the SGF, before lower-casing: field 1,
// with its row mirrored when igsRows is not 0 (a view into line, or into mirrored); none when the
// line holds no stone (see ReadUgfHandicapLine).
std::optional<std::string_view> UgfHandicapPoint(std::string_view line, int igsRows,
                                                 std::string& mirrored);

// A move of a data line as it goes into the SGF.
struct TUgfStone {
    char colour = 'B';
    // Field 1, its row mirrored when igsRows is not 0; a view into the line or into mirrored.
    std::string_view point;
    // Field 1 is the text "YA" as the record writes it, before mirroring: 'YY' on a board of 25
    // rows counted from the bottom is the point that mirroring turns into "YA", not a pass.
    bool pass = false;
};

// The move on line (see ReadUgfMoveLine), or none.
std::optional<TUgfStone> UgfMoveStone(std::string_view line, int igsRows, std::string& mirrored);
