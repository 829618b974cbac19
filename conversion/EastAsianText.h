#pragma once

#include <optional>
#include <string>
#include <string_view>

// Which East Asian encoding the bytes of an SGF record without CA are in, told from the bytes
// alone, by the same rule on every system (no iconv, no tables of the system): each of the
// encodings reads the bytes into characters, and each reading is priced by how likely a record in
// that language would hold those characters (the common characters of each language in order of
// use, kana and hangul, the family names that player names begin with, names of usual length,
// bytes that are no character at all, a "]" taken into a character where the record's structure
// goes on). Shift-JIS is the default: another reading wins only when it is clearly the cheaper.

// The iconv name of the encoding text is in when its bytes show clearly that it is no Shift-JIS
// but EUC-JP ("EUC-JP"), GB18030 or its subsets GBK and GB2312 ("GB18030"), Big5 ("Big5") or
// EUC-KR ("EUC-KR", or "CP949" when it holds syllables only Unified Hangul Code has); none when
// in doubt, which reads it as Shift-JIS.
std::optional<std::string> TellEastAsianEncoding(std::string_view text);
