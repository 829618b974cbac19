#pragma once

#include <string_view>

// True when name matches mask: "*" stands for any run of characters, "?" for exactly one, and any
// other byte for itself with ASCII letter case ignored ("*.sgf" matches Game1.SGF). A character
// is one UTF-8 sequence, or one byte where none starts. Time grows with the length of name times
// the number of "*", never exponentially.
bool MatchesMask(std::string_view name, std::string_view mask);
