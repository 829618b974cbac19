#pragma once

#include <cstddef>
#include <string>

// Generated game records for the benchmarks: deterministic for a given seed, Shift-JIS text with
// trail bytes that look like "]" and "\", CR LF line ends.

// A UGF record with the given number of moves: a header with Japanese names, the moves, and a
// short comment section.
std::string MakeUgfRecord(std::size_t moves, unsigned seed);

// An SGF record of about 250 moves on a few lines, with Japanese names and some comments, in
// Shift-JIS or, with utf8, in UTF-8 without a CA property.
std::string MakeTypicalSgf(unsigned seed, bool utf8 = false);

// An SGF record written on one line of at least the given size: many nodes, comments holding
// ";", "(", escaped "]" and Shift-JIS text, and variations.
std::string MakeSingleLineSgf(std::size_t bytes, unsigned seed);

// An SGF record of short lines of at least the given size, with a root value and a move value
// running over half of the lines each; every other line ends in a lead byte whose trail byte, "]",
// opens the next line, so the splitter carries each value from line to line all the way.
std::string MakeSpreadSgf(std::size_t bytes);

// A UGF record of at least the given size (100,000 moves and more for a few megabytes).
std::string MakeLargeUgf(std::size_t bytes, unsigned seed);

#include <vector>

// The inputs every benchmark shares, by name, each a list of records made on first use:
// "SgfLine1MB", "SgfLine4MB", "SgfLine16MB" (one single-line SGF record each), "SgfSpread1MB",
// "SgfSpread4MB", "SgfSpread16MB" (one record of values spread over lines each), "Ugf1MB",
// "Ugf4MB", "Ugf16MB" (one UGF record each), "Ugf100kMoves", "TypicalUgf", "TypicalSgf" and
// "TypicalSgfUtf8" (1,000 records of about 250 moves, the last in UTF-8).
const std::vector<std::string>& Input(const std::string& name);

// Every input name, in the order above.
const std::vector<std::string>& InputNames();

// Total bytes of an input.
std::size_t InputBytes(const std::vector<std::string>& records);
