#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// SGF records in encodings other than Shift-JIS, turned into code page 932 before they are read,
// since a UGF record is Shift-JIS by definition. Shift-JIS records are never touched.

// How the bytes of an SGF record are read.
enum class TSgfCharset { ShiftJis, Utf8, Utf16, Other };

// The encoding of an SGF record: its charset and the name iconv knows it by ("Shift_JIS" and
// "UTF-8" for the first two, "UTF-16LE" or "UTF-16BE" for Utf16, the record's own name for
// Other).
struct TSgfEncoding {
    TSgfCharset charset = TSgfCharset::ShiftJis;
    std::string name = "Shift_JIS";
    // True for an East Asian encoding told from the bytes of a record that no CA names it in.
    bool toldFromBytes = false;
};

// The bytes between the brackets of the first "CA" property of record, outside every property
// value, or none. Values are skipped up to their first "]" not escaped by "\", looking at single
// bytes only (as in UTF-8 and the other ASCII-based encodings).
std::optional<std::string_view> FirstCaValue(std::string_view record);

// The encoding of an SGF record. One that begins with a UTF-16 byte-order mark is UTF-16 in that
// byte order, whatever it holds. Any other is read up to its first NUL byte: the value of its first
// "CA" property, without blanks around it and letter case ignored, names it: "UTF-8" or "UTF8" is
// UTF-8; a name of the Shift-JIS family ("Shift_JIS", "Shift-JIS", "SJIS", "MS_Kanji", "CP932",
// "MS932", "Windows-31J", "csShiftJIS", "Shift_JISX0213", ...) is Shift-JIS, unless the bytes
// are no code page 932 but valid UTF-8 with a byte above 0x7F (a mislabelled record), which makes
// them UTF-8; any other name that iconv knows and that reads ASCII as ASCII is that encoding. An
// unknown name counts as none. Without one: UTF-8 when the bytes are valid UTF-8 and hold a byte
// above 0x7F; else the East Asian encoding their bytes clearly show (EUC-JP, GB18030, Big5,
// EUC-KR or CP949, see TellEastAsianEncoding), told from the bytes; else Shift-JIS.
TSgfEncoding SgfEncodingOf(std::string_view record);

// An SGF record as code page 932 bytes.
struct TShiftJisRecord {
    // The record's text in code page 932.
    std::string bytes;
    // Characters that code page 932 has no form for, and bytes that are no character of the
    // record's encoding, each now one "?".
    std::size_t replaced = 0;
    // The encoding the record was read in.
    TSgfEncoding encoding;
    // False when this system cannot convert from the record's encoding to code page 932; bytes
    // are then the record as it is.
    bool ok = true;
};

// record, read in encoding, as code page 932 (Windows mapping): a Shift-JIS record byte for byte
// as it is; any other up to its first NUL character (a NUL byte, or two that make one UTF-16 unit),
// less a leading byte-order mark, through UTF-8, each character without a code page 932 form
// written as "?".
TShiftJisRecord TranscodeToShiftJis(std::string_view record, const TSgfEncoding& encoding);

// The whole of an SGF file's bytes as the conversion reads them: TranscodeToShiftJis in the
// encoding of SgfEncodingOf. For a window that shows a record by the same rule as the conversion.
TShiftJisRecord SgfRecordAsShiftJis(std::string_view record);

// The text of an SGF file's bytes in UTF-8, for a window to show the record's own characters: read
// in the encoding of SgfEncodingOf as TranscodeToShiftJis reads it, but never through code page
// 932, so characters it lacks stay as they are (each piece that is no character of the encoding is
// one "?"). Nothing for a Shift-JIS record (whose bytes are its text) or an encoding this system
// cannot read.
std::optional<std::string> SgfRecordAsUtf8(std::string_view record);

// True when text is code page 932 throughout: every byte a character, every character one that
// the code page defines.
bool IsCodePage932(std::string_view text);
