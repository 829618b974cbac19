#pragma once

#include "conversion/GameCheck.h"

#include <string>

// How a check of a conversion is put in words, in one place for the terminal (English) and the
// viewer (Japanese): the reasons the design changes a game, and where two games first differ. The
// texts are Shift-JIS, the record's own text (a size, a point off the board) among them as it
// stands.

enum class TWording { English, Japanese };

// Each reason of changes (bits of design::) in words, in a fixed order, joined ("; " in English,
// "、" in Japanese); the variations and games left out with their count from notes.
std::string DesignChangesText(unsigned changes, const TGameNotes& notes, TWording wording);

// A point of game in words: its coordinate ("Q16"), the pass ("pass", "パス"), or its text off the
// board ("'zz' (off the board)", "盤外 (zz)").
std::string PointText(const TGame& game, const TGamePoint& point, TWording wording);

// Where two games first differ, as difference says: the size, a setup stone or a move of source
// and of output ("move 57: source Q16, output Q4"; "57手 変換前 Q16、変換後 Q4"); empty for none.
std::string DifferenceText(const TGame& source, const TGame& output,
                           const TGameDifference& difference, TWording wording);
