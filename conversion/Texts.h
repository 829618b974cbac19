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

// SGF to UGF

// "棋譜ファイル変換"
inline constexpr char UGF_DEFAULT_TITLE[] =
    "\x8A\xFB\x95\x88\x83\x74\x83\x40\x83\x43\x83\x8B\x95\xCF\x8A\xB7";
// "SGF の棋譜として読めません"
inline constexpr char SGF_NOT_A_RECORD[] =
    "SGF \x82\xCC\x8A\xFB\x95\x88\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDF\x82\xDC\x82\xB9"
    "\x82\xF1";
// "設定で SGF から UGF への変換が選ばれていません"
inline constexpr char SGF_TO_UGF_NOT_CHOSEN[] =
    "\x90\xDD\x92\xE8\x82\xC5 SGF \x82\xA9\x82\xE7 UGF \x82\xD6\x82\xCC\x95\xCF\x8A\xB7"
    "\x82\xAA\x91\x49\x82\xCE\x82\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1";

}  // namespace texts
