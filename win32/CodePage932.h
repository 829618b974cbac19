#pragma once

// Code page 932 and UTF-16 on Windows, for the windows: names and record texts are code page 932
// whatever the system's own code page is, so they go through the system's table of code page 932
// (never the ANSI code page), and strictly: no character becomes a look-alike.

#include <string>
#include <string_view>

// bytes as UTF-16. A byte that starts no character, a lead byte without its trail byte, and a
// pair of bytes that the code page leaves undefined each give one U+FFFD.
std::wstring WideFromCodePage932(std::string_view bytes);

// wide in code page 932. A character the code page lacks, an unpaired surrogate included, becomes
// "?", which no Windows file name holds, so such a name names no file; never a look-alike (the yen
// sign never becomes "\").
std::string CodePage932FromWide(std::wstring_view wide);

// bytes as UTF-16, when they are code page 932 text that reads back the same: false when they are
// not, and then they name no file.
bool ToWideStrictly(std::string_view bytes, std::wstring& wide);

// wide in code page 932, when every character of it has a form there: false when one has not.
bool FromWideStrictly(std::wstring_view wide, std::string& bytes);
