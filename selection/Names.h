#pragma once

#include <QString>

#include <string>
#include <string_view>

// Where a file name as the file system spells it (bytes) becomes text in a window and back. On
// Linux that is the file system's own encoding (UTF-8 as a rule); on Windows it is code page 932,
// as every name of the program is there, through the system's table of that code page whatever
// the system's own code page is.

// A name or path as text; a byte that is no character shows as U+FFFD.
QString FromName(std::string_view bytes);
// A name or path typed or chosen in a window, as the file system spells it. On Windows a
// character that code page 932 lacks becomes "?", so the name names no file.
std::string ToName(const QString& name);
