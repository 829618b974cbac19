#pragma once

#include <string>
#include <string_view>

// The text the viewer shows of a file's bytes: everything before the first NUL, with every CR LF,
// lone CR and lone LF made one LF. Trail bytes of code page 932 are never CR or LF, so the bytes
// can be taken as they are.
std::string ViewText(std::string_view bytes);

// What the viewer shows of a file, and how its bytes are to be decoded.
struct TViewedText {
    // The text, line ends made LF.
    std::string bytes;
    // True when bytes are UTF-8; false when they are code page 932.
    bool utf8 = false;
};

// The text of a record file's bytes as the viewer shows it (ViewText's line ends): an SGF record
// (sgf) in an encoding other than Shift-JIS decoded by the conversion's encoding rule straight to
// Unicode, so the record's own characters show even where code page 932 has none; a Shift-JIS
// record and any other file as code page 932.
TViewedText ViewedText(std::string_view bytes, bool sgf);
