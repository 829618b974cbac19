#pragma once

// Japanese texts that the conversion code writes, as Shift-JIS byte escapes; the readable text
// stands in the comment above each. Escapes swallow hex digits, hence the split literals.

namespace texts {

// "ファイル "
inline constexpr char FILE_PREFIX[] = "\x83\x74\x83\x40\x83\x43\x83\x8B ";
// " は開けません"
inline constexpr char CANNOT_OPEN[] = " \x82\xCD\x8A\x4A\x82\xAF\x82\xDC\x82\xB9\x82\xF1";
// " を作成できません"
inline constexpr char CANNOT_CREATE[] =
    " \x82\xF0\x8D\xEC\x90\xAC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";

// " を "
inline constexpr char TO_NAME[] = " \x82\xF0 ";
// " に移せません"
inline constexpr char CANNOT_MOVE[] = " \x82\xC9\x88\xDA\x82\xB9\x82\xDC\x82\xB9\x82\xF1";

}  // namespace texts
