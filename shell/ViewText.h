#pragma once

#include <string>
#include <string_view>

// The text the viewer shows of a file's bytes: everything before the first NUL, with every CR LF,
// lone CR and lone LF made one LF. Trail bytes of code page 932 are never CR or LF, so the bytes
// can be taken as they are.
std::string ViewText(std::string_view bytes);
