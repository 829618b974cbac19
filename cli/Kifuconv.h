#pragma once

#include <ostream>
#include <string>
#include <vector>

// kifuconv with the arguments after the program name: converts each FILE as one row of the
// window's run, reporting one line per file on out and, when err is a terminal, a progress line
// on err. Answers the exit status: 0 all converted, 1 some failed or skipped, 2 usage error.
int RunKifuconv(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                bool errIsTerminal);
