#pragma once

// Program texts of the shell that reach the user inside an error (TUserError), so they are
// Shift-JIS like every program text of the conversion library; the readable text stands in the
// comment above each. Texts that only windows show are UTF-8 literals where the window sets them.

namespace texts {

// "%s に書き込めません", after the path of the settings file
inline constexpr char CANNOT_WRITE[] =
    " \x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1";
// "プロパティ %s の範囲を超えています", around the class name of a bar
inline constexpr char PROPERTY_PREFIX[] = "\x83\x76\x83\x8D\x83\x70\x83\x65\x83\x42 ";
inline constexpr char OUT_OF_RANGE[] =
    " \x82\xCC\x94\xCD\x88\xCD\x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7";
// "文字列の大きさが メモ の制限を越えました"
inline constexpr char TEXT_TOO_LARGE[] =
    "\x95\xB6\x8E\x9A\x97\xF1\x82\xCC\x91\xE5\x82\xAB\x82\xB3\x82\xAA \x83\x81\x83\x82 "
    "\x82\xCC\x90\xA7\x8C\xC0\x82\xF0\x89\x7A\x82\xA6\x82\xDC\x82\xB5\x82\xBD";

}  // namespace texts
