#pragma once

#include "cli/Options.h"
#include "conversion/Game.h"
#include "conversion/GameCheck.h"

#include <ostream>
#include <string>

// kifuconv --check: converts each FILE in memory, reads the output back as the other format and
// compares the two games (size, setup stones, moves, final position), one line per file on out;
// writes no file. Answers the exit status: 0 when every record keeps its game (or loses part of it
// only as the conversion's design does), 1 when one differs, was not converted or was skipped.
int RunCheck(const TOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal);

// The report text of one record's check, after "FILE: ": "same game (N moves)", the first
// difference ("move 57: source Q16, output Q4"), the changes the design makes, or why the record
// was not converted.
std::string CheckText(const TGameCheck& check);
