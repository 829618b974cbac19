#pragma once

#include "conversion/UserText.h"

#include <string>
#include <string_view>

// Shift-JIS text as UTF-8 for the terminal; a byte that is no Shift-JIS character becomes "?".
std::string ShiftJisToUtf8(std::string_view text);

// text with every control byte (below 32, and 127) shown as "?", so that nothing read from a record
// or a file name can steer the terminal.
std::string Printable(std::string_view text);

// The text for the terminal: program text as UTF-8, names as given on the command line, and no
// control bytes.
std::string ForTerminal(const TUserText& text);
