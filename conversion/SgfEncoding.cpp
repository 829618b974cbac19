#include "conversion/SgfEncoding.h"

#include "conversion/EastAsianText.h"
#include "conversion/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

// Every call of iconv in the program is in this file, through the plain POSIX interface
// (iconv_open, iconv, iconv_close), to "CP932" and "UTF-8" from those, "UTF-16LE", "UTF-16BE" and
// the names that records give, so that the GNU C library and the iconv that a Windows build links
// behave alike.

namespace {

constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";
// Neither can begin a Shift-JIS or a UTF-8 text: 0xFE and 0xFF are no character of either.
constexpr std::string_view UTF16LE_BYTE_ORDER_MARK = "\xFF\xFE";
constexpr std::string_view UTF16BE_BYTE_ORDER_MARK = "\xFE\xFF";
constexpr std::size_t CHUNK = 1 << 16;
constexpr std::size_t WINDOW = 1 << 12;
constexpr std::size_t SMALLEST_WINDOW = 16;

// One open conversion descriptor, closed when it goes.
class TIconv {
public:
    TIconv(const char* to, const char* from) : m_descriptor(iconv_open(to, from)) {}
    ~TIconv() {
        if (Ok()) {
            iconv_close(m_descriptor);
        }
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Ok() const { return m_descriptor != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can, appending to out; moves in past what was converted.
    // Answers 0, or the errno that stopped it (EILSEQ at a byte it cannot take, EINVAL at a
    // character cut off by the end).
    int Convert(std::string_view& in, std::string& out) {
        char buffer[CHUNK];
        // The input goes in windows: the GNU C library converts in steps, and when a later step
        // stops at a character it cannot take, it converts the call's input again up to there.
        // The window follows how far apart such characters are (twice the distance to the last
        // one, up to WINDOW), so a record with one every few bytes still converts in linear time,
        // and one without any in few calls.
        while (!in.empty()) {
            char* source = const_cast<char*>(in.data());
            const std::size_t given = std::min(in.size(), m_window);
            std::size_t sourceLeft = given;
            char* target = buffer;
            std::size_t targetLeft = sizeof buffer;
            const std::size_t result =
                iconv(m_descriptor, &source, &sourceLeft, &target, &targetLeft);
            const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            const std::size_t converted = given - sourceLeft;
            in.remove_prefix(converted);
            if (error == EINVAL && given < in.size() + converted) {
                // A character cut off by the window's end, not by the record's: the next window
                // starts with it, and one that is all of a character is made larger.
                m_window = converted == 0 ? m_window * 2 : WINDOW;
                continue;
            }
            if (error != 0 && error != E2BIG) {
                m_window = std::clamp(converted * 2, SMALLEST_WINDOW, WINDOW);
                return error;
            }
            m_window = std::min(m_window * 2, WINDOW);
        }
        return 0;
    }

    // Converts all of in, a few bytes, into out (room bytes), in one call, without the windows of
    // Convert; length is how many bytes it wrote. False when it cannot take all of in, or out is
    // too small.
    bool ConvertAll(std::string_view in, char* out, std::size_t room, std::size_t& length) {
        char* source = const_cast<char*>(in.data());
        std::size_t sourceLeft = in.size();
        char* target = out;
        std::size_t targetLeft = room;
        const std::size_t result = iconv(m_descriptor, &source, &sourceLeft, &target, &targetLeft);
        length = room - targetLeft;
        return result != static_cast<std::size_t>(-1) && sourceLeft == 0;
    }

    // Forgets any shift state, after a byte was skipped.
    void Reset() { iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_descriptor;
    std::size_t m_window = WINDOW;
};

// How many of the 8 bytes at at come before the first above 0x7F: 8 when none is.
std::size_t AsciiPrefixOf8(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    const std::uint64_t high = word & 0x8080808080808080ULL;
    const int zeros =
        std::endian::native == std::endian::big ? std::countl_zero(high) : std::countr_zero(high);
    return static_cast<std::size_t>(zeros) / 8;
}

// What the first byte of a piece of UTF-8 text tells: the continuation bytes of the character it
// starts, the range of the second byte (which rules out overlong forms, surrogates and values
// above U+10FFFF), and the bits of the first byte that the code point takes. A byte that starts
// no character (a continuation byte, 0xC0, 0xC1, 0xF5 to 0xFF) is a piece alone.
struct TUtf8Lead {
    std::uint8_t continuations = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    std::uint8_t payload = 0;
    bool starts = false;
};

constexpr std::array<TUtf8Lead, 256> UTF8_LEADS = [] {
    std::array<TUtf8Lead, 256> leads{};
    const auto lead = [](unsigned continuations, unsigned low, unsigned high, unsigned payload) {
        return TUtf8Lead{static_cast<std::uint8_t>(continuations), static_cast<std::uint8_t>(low),
                         static_cast<std::uint8_t>(high), static_cast<std::uint8_t>(payload), true};
    };
    for (unsigned b = 0; b < 0x80; ++b) {
        leads[b] = lead(0, 0x80, 0xBF, 0x7F);
    }
    for (unsigned b = 0xC2; b <= 0xDF; ++b) {
        leads[b] = lead(1, 0x80, 0xBF, 0x1F);
    }
    for (unsigned b = 0xE0; b <= 0xEF; ++b) {
        leads[b] = lead(2, b == 0xE0 ? 0xA0 : 0x80, b == 0xED ? 0x9F : 0xBF, 0x0F);
    }
    for (unsigned b = 0xF0; b <= 0xF4; ++b) {
        leads[b] = lead(3, b == 0xF0 ? 0x90 : 0x80, b == 0xF4 ? 0x8F : 0xBF, 0x07);
    }
    return leads;
}();

// One piece of UTF-8 text: all of a well-formed character (complete, its code point in point),
// or the longest start of one that a byte then breaks off, or a byte that starts none.
struct TUtf8Piece {
    std::size_t length = 1;
    bool complete = false;
    char32_t point = 0;
};

// The piece that begins with the byte b before c1, c2 and c3 (0 past the end of the text, which
// continues no character). Without a branch on the bytes: broken text follows no pattern that a
// branch predictor could learn.
inline TUtf8Piece Utf8PieceOf(unsigned b, unsigned c1, unsigned c2, unsigned c3) {
    const TUtf8Lead lead = UTF8_LEADS[b];
    const unsigned n = lead.continuations;
    const unsigned second = static_cast<unsigned>(n >= 1) &
                            static_cast<unsigned>(c1 - lead.low <= 0u + lead.high - lead.low);
    const unsigned third =
        second & static_cast<unsigned>(n >= 2) & static_cast<unsigned>((c2 & 0xC0) == 0x80);
    const unsigned fourth =
        third & static_cast<unsigned>(n >= 3) & static_cast<unsigned>((c3 & 0xC0) == 0x80);
    TUtf8Piece piece;
    piece.length = 1 + second + third + fourth;
    piece.complete = lead.starts & (piece.length == n + 1);
    piece.point = ((b & lead.payload) << 18 | (c1 & 0x3F) << 12 | (c2 & 0x3F) << 6 | (c3 & 0x3F)) >>
                  (6 * (3 - n));
    return piece;
}

// The piece at text[i].
TUtf8Piece Utf8PieceAt(std::string_view text, std::size_t i) {
    const auto byte = [text, i](std::size_t k) -> unsigned {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u;
    };
    return Utf8PieceOf(byte(0), byte(1), byte(2), byte(3));
}

// What the walk over UTF-8 text writes for a piece of it, in one word: its bytes (the first in
// the lowest 8 bits), their count from bit 16, bit 24 set when they are a "?" that counts as
// replaced, bit 25 set for a form settled (0 is none yet), and from bit 28 the length of the
// piece where that is known too.
using TForm = std::uint32_t;
constexpr TForm UNKNOWN_FORM = 0;
constexpr TForm SETTLED = 1u << 25;
constexpr TForm REPLACED_FORM = static_cast<TForm>('?') | 1u << 16 | 1u << 24 | SETTLED;
constexpr int PIECE_SHIFT = 28;

constexpr TForm FormOf(std::string_view bytes) {
    TForm form = static_cast<TForm>(bytes.size()) << 16 | SETTLED;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        form |= static_cast<TForm>(static_cast<unsigned char>(bytes[k])) << (8 * k);
    }
    return form;
}

// The code page 932 forms of characters, asked of iconv one character at a time the first time
// each is met, and kept for the life of the process. A record is then turned into code page 932
// character by character without calling iconv again, however many of its characters have no
// form there (glibc's iconv redoes part of its work at each one).
class TCodePage932Forms {
public:
    static TCodePage932Forms& Instance() {
        static TCodePage932Forms forms;
        return forms;
    }

    bool Ok() const { return m_encoder.Ok(); }

    // Where the piece of UTF-8 text that begins with the bytes b and c (the byte after it) is
    // looked up in Starts(): an ASCII byte by itself, any other byte by c too, as a continuation
    // byte (0 to 63 for 0x80 to 0xBF) or none (64). Small enough to stay in the first-level cache.
    std::size_t StartOf(unsigned b, unsigned c) const {
        const std::uint32_t row = m_rows[b];
        return (row & 0xFFFF) + (std::min(c ^ 0x80u, 64u) & (0u - (row >> 16)));
    }

    // What to write for each piece of UTF-8 text by the place StartOf gives its first two bytes,
    // with the piece's length, where the two settle them: an ASCII byte, a byte that starts no
    // character, a lead byte that the second breaks off, a character of two bytes met before.
    // UNKNOWN_FORM where Piece must be asked.
    const TForm* Starts() const { return m_starts.data(); }

    // What to write for the piece of text that begins at at (with 3 bytes readable after it, 0
    // past the end of the text), with the piece's length.
    TForm Piece(const unsigned char* at) {
        const TUtf8Piece piece = Utf8PieceOf(at[0], at[1], at[2], at[3]);
        TForm form = REPLACED_FORM;
        if (piece.complete) {
            form = m_planes[0][piece.point & 0xFFFF];
            if (piece.point > 0xFFFF || form == UNKNOWN_FORM) {
                form = Learn(piece.point,
                             std::string_view(reinterpret_cast<const char*>(at), piece.length));
            }
        }
        form |= static_cast<TForm>(piece.length) << PIECE_SHIFT;
        if (piece.complete && piece.length == 2) {
            m_starts[StartOf(at[0], at[1])] = form;
        }
        return form;
    }

private:
    static constexpr std::size_t COLUMNS = 65;

    TCodePage932Forms() {
        m_planes[0] = std::make_unique<TForm[]>(0x10000);
        for (unsigned b = 0; b < 0x80; ++b) {
            m_rows[b] = b;
            m_starts[b] = FormOf(std::string(1, static_cast<char>(b))) | 1u << PIECE_SHIFT;
        }
        for (unsigned b = 0x80; b < 0x100; ++b) {
            const std::size_t row = 0x80 + (b - 0x80) * COLUMNS;
            m_rows[b] = static_cast<std::uint32_t>(row) | 1u << 16;
            const TUtf8Lead lead = UTF8_LEADS[b];
            for (unsigned column = 0; column < COLUMNS; ++column) {
                const unsigned c = 0x80 + column;
                const bool begun = lead.continuations > 0 && c >= lead.low && c <= lead.high;
                m_starts[row + column] = begun ? UNKNOWN_FORM : REPLACED_FORM | 1u << PIECE_SHIFT;
            }
        }
    }

    // The form of the character point, whose well-formed UTF-8 is utf8, asked of iconv and kept:
    // REPLACED_FORM when it has none.
    TForm Learn(char32_t point, std::string_view utf8) {
        std::unique_ptr<TForm[]>& plane = m_planes[point >> 16];
        if (!plane) {
            plane = std::make_unique<TForm[]>(0x10000);
        }
        TForm& form = plane[point & 0xFFFF];
        if (form == UNKNOWN_FORM) {
            std::string asked;
            form = Ask(utf8, asked) && !asked.empty() && asked.size() <= 2 ? FormOf(asked)
                                                                           : REPLACED_FORM;
        }
        return form;
    }

    // The form iconv gives the character, appended to out; false when it has none. A character
    // beyond ASCII never takes the form of an ASCII byte: glibc writes ¥ as "\" and ‾ as "~",
    // which would escape or end an SGF value, where Windows' code page 932 has no form for them.
    bool Ask(std::string_view utf8, std::string& out) {
        char converted[16];
        std::size_t length = 0;
        const bool ok = m_encoder.ConvertAll(utf8, converted, sizeof converted, length) &&
                        !(length == 1 && static_cast<unsigned char>(converted[0]) < 0x80);
        m_encoder.Reset();
        if (ok) {
            out.append(converted, length);
        }
        return ok;
    }

    TIconv m_encoder{"CP932", "UTF-8"};
    std::array<std::uint32_t, 0x100> m_rows{};
    std::vector<TForm> m_starts = std::vector<TForm>(0x80 + 0x80 * COLUMNS, UNKNOWN_FORM);
    // The forms by code point, in planes of 65536 characters, each made when one of its
    // characters is first met.
    std::array<std::unique_ptr<TForm[]>, 17> m_planes;
};

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Position of the "]" that ends the value whose text begins at begin: the first one not escaped by
// an odd number of "\" before it; the size of record when there is none.
std::size_t ValueEnd(std::string_view record, std::size_t begin) {
    for (std::size_t at = begin; at < record.size();) {
        const void* found = std::memchr(record.data() + at, ']', record.size() - at);
        if (found == nullptr) {
            break;
        }
        const std::size_t close =
            static_cast<std::size_t>(static_cast<const char*>(found) - record.data());
        std::size_t backslashes = 0;
        while (close - backslashes > begin && record[close - backslashes - 1] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return close;
        }
        at = close + 1;
    }
    return record.size();
}

// True when some byte of text is above 0x7F.
bool HasHighByte(std::string_view text) {
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) {
            return true;
        }
    }
    for (; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) > 0x7F) {
            return true;
        }
    }
    return false;
}

bool IsValidUtf8(std::string_view text) {
    const auto* const bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size;) {
        // Runs of ASCII go eight bytes at a time.
        if (i + 8 <= size) {
            const std::size_t ascii = AsciiPrefixOf8(text.data() + i);
            i += ascii;
            if (ascii == 8) {
                continue;
            }
        }
        const TUtf8Piece piece =
            i + 4 <= size ? Utf8PieceOf(bytes[i], bytes[i + 1], bytes[i + 2], bytes[i + 3])
                          : Utf8PieceAt(text, i);
        if (!piece.complete) {
            return false;
        }
        i += piece.length;
    }
    return true;
}

// text with each broken piece (a byte that starts no character, or the start of a character that
// a byte breaks off) replaced by one "?", counted.
std::string RepairUtf8(std::string_view text, std::size_t& replaced) {
    std::string repaired;
    repaired.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Piece piece = Utf8PieceAt(text, i);
        if (piece.complete) {
            repaired.append(text.substr(i, piece.length));
        } else {
            repaired += '?';
            ++replaced;
        }
        i += piece.length;
    }
    return repaired;
}

// in converted through converter, each character it cannot take (skip answers how many bytes it
// spans) written as "?" and counted.
template <typename Skip>
std::string ConvertReplacing(TIconv& converter, std::string_view in, std::size_t& replaced,
                             Skip skip) {
    std::string out;
    out.reserve(in.size() + in.size() / 2);
    while (converter.Convert(in, out) != 0) {
        out += '?';
        ++replaced;
        in.remove_prefix(std::min(in.size(), skip(in)));
        converter.Reset();
    }
    return out;
}

// Position of the first UTF-16 unit of record that is 0 (two NUL bytes at an even position), or
// npos.
std::size_t Utf16NulAt(std::string_view record) {
    for (std::size_t at = 0; at + 1 < record.size(); at += 2) {
        if (record[at] == '\0' && record[at + 1] == '\0') {
            return at;
        }
    }
    return std::string_view::npos;
}

// Upper-case ASCII, with "_" for "-", for comparing names of encodings.
std::string NameKey(std::string_view name) {
    std::string key = AnsiUpper(name);
    for (char& c : key) {
        if (c == '-') {
            c = '_';
        }
    }
    return key;
}

bool IsUtf8Name(std::string_view name) {
    const std::string key = NameKey(name);
    return key == "UTF_8" || key == "UTF8";
}

bool IsShiftJisName(std::string_view name) {
    constexpr std::string_view FAMILY[] = {
        "SHIFT_JIS",      "SHIFTJIS",       "SJIS",           "X_SJIS",       "S_JIS",
        "MS_KANJI",       "MSKANJI",        "CSSHIFTJIS",     "CP932",        "CP_932",
        "MS932",          "MS_932",         "WINDOWS_31J",    "CSWINDOWS31J", "WINDOWS_932",
        "SHIFT_JISX0213", "SHIFT_JIS_2004", "SHIFT_JIS_X0213"};
    const std::string key = NameKey(name);
    for (const std::string_view member : FAMILY) {
        if (key == member) {
            return true;
        }
    }
    return false;
}

// True when name could be an encoding's name and nothing more: letters, digits and the few signs
// such names use, so that no suffix ("//IGNORE") changes how iconv converts.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > 64) {
        return false;
    }
    for (const char c : name) {
        const bool sign = c == '-' || c == '_' || c == '.' || c == ':' || c == '+';
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && !sign) {
            return false;
        }
    }
    return true;
}

// True when iconv knows name and reads ASCII in it as ASCII, as it must for a record whose "CA"
// was found by reading its bytes as ASCII (not UTF-16, say).
bool IsAsciiBasedEncoding(const std::string& name) {
    TIconv decoder("UTF-8", name.c_str());
    if (!decoder.Ok()) {
        return false;
    }
    constexpr std::string_view SAMPLE = "(;CA[x]GM[1]C[a\\]b];B[pd])\r\n";
    std::string_view in = SAMPLE;
    std::string out;
    return decoder.Convert(in, out) == 0 && out == SAMPLE;
}

}  // namespace

std::optional<std::string_view> FirstCaValue(std::string_view record) {
    // Most records without the property hold no "CA" at all: that is found at the speed of memory,
    // and only a record that holds one is walked value by value.
    if (record.find("CA") == std::string_view::npos) {
        return std::nullopt;
    }
    // The letters of the last property name seen, when only blanks came after it.
    std::size_t nameBegin = 0;
    std::size_t nameEnd = 0;
    bool afterName = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (c == '[') {
            const std::size_t end = ValueEnd(record, i + 1);
            if (afterName && record.substr(nameBegin, nameEnd - nameBegin) == "CA") {
                return record.substr(i + 1, end - (i + 1));
            }
            afterName = false;
            i = end;
        } else if (IsAsciiLetter(c)) {
            if (!afterName || nameEnd != i) {
                nameBegin = i;
            }
            nameEnd = i + 1;
            afterName = true;
        } else if (static_cast<unsigned char>(c) > 32) {
            afterName = false;
        }
    }
    return std::nullopt;
}

bool IsCodePage932(std::string_view text) {
    TIconv decoder("UTF-8", "CP932");
    std::string decoded;
    return decoder.Ok() && decoder.Convert(text, decoded) == 0;
}

TSgfEncoding SgfEncodingOf(std::string_view record) {
    // Every other byte of a UTF-16 record's ASCII is a NUL, so nothing of it can be read as ASCII:
    // the mark alone tells.
    if (record.starts_with(UTF16LE_BYTE_ORDER_MARK)) {
        return {TSgfCharset::Utf16, "UTF-16LE"};
    }
    if (record.starts_with(UTF16BE_BYTE_ORDER_MARK)) {
        return {TSgfCharset::Utf16, "UTF-16BE"};
    }
    record = record.substr(0, record.find('\0'));
    const TSgfEncoding shiftJis;
    const TSgfEncoding utf8{TSgfCharset::Utf8, "UTF-8"};
    if (const std::optional<std::string_view> value = FirstCaValue(record)) {
        const std::string_view name = TrimView(*value);
        if (IsUtf8Name(name)) {
            return utf8;
        }
        if (IsShiftJisName(name)) {
            const bool mislabelled =
                HasHighByte(record) && IsValidUtf8(record) && !IsCodePage932(record);
            return mislabelled ? utf8 : shiftJis;
        }
        if (IsPlainName(name) && IsAsciiBasedEncoding(std::string(name))) {
            return {TSgfCharset::Other, std::string(name)};
        }
    }
    if (!HasHighByte(record)) {
        return shiftJis;
    }
    if (IsValidUtf8(record)) {
        return utf8;
    }
    if (std::optional<std::string> told = TellEastAsianEncoding(record)) {
        return {TSgfCharset::Other, std::move(*told), true};
    }
    return shiftJis;
}

namespace {

// The text of a record that is not Shift-JIS as well-formed UTF-8: up to its first NUL character
// (a NUL byte, or two that make one UTF-16 unit), less a leading byte-order mark, each piece that
// is no character of the encoding one "?" (counted in replaced). utf8 views record itself when
// its bytes are UTF-8 already, else storage. False when this system cannot read the encoding.
bool DecodeToUtf8(std::string_view record, const TSgfEncoding& encoding, std::string& storage,
                  std::string_view& utf8, std::size_t& replaced) {
    // The text ends at a NUL character, as everywhere in the conversion.
    const bool utf16 = encoding.charset == TSgfCharset::Utf16;
    const std::string_view text = record.substr(0, utf16 ? Utf16NulAt(record) : record.find('\0'));
    utf8 = text;
    if (encoding.charset == TSgfCharset::Utf8) {
        if (!IsValidUtf8(text)) {
            storage = RepairUtf8(text, replaced);
            utf8 = storage;
        }
    } else {
        TIconv decoder("UTF-8", encoding.name.c_str());
        if (!decoder.Ok()) {
            return false;
        }
        // What is no character of the encoding is skipped alone: a byte, or a UTF-16 unit (a
        // surrogate without its other half).
        const std::size_t unit = utf16 ? 2 : 1;
        storage =
            ConvertReplacing(decoder, text, replaced, [unit](std::string_view) { return unit; });
        utf8 = storage;
    }
    // The mark says which encoding the bytes are in; it is no character of the text.
    if (utf8.starts_with(UTF8_BYTE_ORDER_MARK)) {
        utf8.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
    }
    return true;
}

}  // namespace

TShiftJisRecord TranscodeToShiftJis(std::string_view record, const TSgfEncoding& encoding) {
    TShiftJisRecord result;
    result.encoding = encoding;
    if (encoding.charset == TSgfCharset::ShiftJis) {
        result.bytes = record;
        return result;
    }
    std::string decoded;
    std::string_view utf8;
    if (encoding.charset == TSgfCharset::Utf8) {
        // Read as it stands: each piece that is no UTF-8 character becomes one "?" in the walk
        // below, as repairing the text first would make it, without a repaired copy.
        utf8 = record.substr(0, record.find('\0'));
        if (utf8.starts_with(UTF8_BYTE_ORDER_MARK)) {
            utf8.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
        }
    } else if (!DecodeToUtf8(record, encoding, decoded, utf8, result.replaced)) {
        result.bytes = record;
        result.ok = false;
        return result;
    }
    if (!HasHighByte(utf8)) {
        result.bytes = utf8;
        return result;
    }
    TCodePage932Forms& forms = TCodePage932Forms::Instance();
    if (!forms.Ok()) {
        result.bytes = record;
        result.ok = false;
        return result;
    }
    // Each piece is looked up, and a character that has no code page 932 form is written as "?",
    // as is each piece that is no character. No piece grows, so the bytes are written into room of
    // the text's size (and one byte more: a form is written as two bytes whatever its length).
    std::string& bytes = result.bytes;
    bytes.resize(utf8.size() + 1);
    char* out = bytes.data();
    const char* const in = utf8.data();
    const std::size_t size = utf8.size();
    const TForm* const starts = forms.Starts();
    std::size_t replaced = 0;
    // Every byte that is no continuation byte begins a piece, and one that is begins a piece of
    // its own unless the piece before it takes it: so each byte is settled by itself and end,
    // one past the last byte of the last piece begun, with no jump whose length hangs on the
    // bytes (which makes broken text as slow as its longest chain of loads), and no branch on them
    // but for the characters of three and four bytes (and the first of each of two).
    std::size_t end = 0;
    // The last three bytes are read from a copy with zeros after them, which continue no
    // character, so that every byte is read as the four from it on: the walk goes over the text
    // up to them, then over the copy.
    const std::size_t tailBegin = size > 3 ? size - 3 : 0;
    std::array<unsigned char, 8> tail{};
    std::memcpy(tail.data(), in + tailBegin, size - tailBegin);
    std::size_t i = 0;
    for (const auto& [from, first, last] :
         {std::tuple(reinterpret_cast<const unsigned char*>(in), std::size_t{0}, tailBegin),
          std::tuple(static_cast<const unsigned char*>(tail.data()), tailBegin, size)}) {
        for (; i < last; ++i) {
            if (i + 8 <= size) {
                // Eight bytes of ASCII are copied as they are. Fewer go one by one with the
                // rest: a branch on each byte would miss on broken text, where ASCII comes here
                // and there.
                std::uint64_t word;
                std::memcpy(&word, in + i, sizeof word);
                if ((word & 0x8080808080808080ULL) == 0) {
                    std::memcpy(out, &word, sizeof word);
                    out += sizeof word;
                    i += sizeof word - 1;
                    continue;
                }
            }
            const unsigned char* const at = from + (i - first);
            TForm form = starts[forms.StartOf(at[0], at[1])];
            if (form == UNKNOWN_FORM) {
                // A character of three or four bytes, or the start of one, which the bytes after
                // it settle: written, and the bytes it takes passed over.
                form = forms.Piece(at);
                const std::size_t length = form >> PIECE_SHIFT;
                out[0] = static_cast<char>(form & 0xFF);
                out[1] = static_cast<char>(form >> 8 & 0xFF);
                out += form >> 16 & 0xFF;
                replaced += form >> 24 & 1;
                end = i + length;
                i = end - 1;
                continue;
            }
            // A byte that the piece before it took writes nothing.
            const TForm free = 0u - static_cast<TForm>(i >= end);
            form = (form & free) | (SETTLED & ~free);
            end = std::max(end, i + (form >> PIECE_SHIFT));
            out[0] = static_cast<char>(form & 0xFF);
            out[1] = static_cast<char>(form >> 8 & 0xFF);
            out += form >> 16 & 0xFF;
            replaced += form >> 24 & 1;
        }
    }
    result.replaced += replaced;
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return result;
}

TShiftJisRecord SgfRecordAsShiftJis(std::string_view record) {
    return TranscodeToShiftJis(record, SgfEncodingOf(record));
}

std::optional<std::string> SgfRecordAsUtf8(std::string_view record) {
    const TSgfEncoding encoding = SgfEncodingOf(record);
    if (encoding.charset == TSgfCharset::ShiftJis) {
        return std::nullopt;
    }
    std::string decoded;
    std::string_view utf8;
    std::size_t replaced = 0;
    if (!DecodeToUtf8(record, encoding, decoded, utf8, replaced)) {
        return std::nullopt;
    }
    return decoded.data() == utf8.data() && decoded.size() == utf8.size() ? std::move(decoded)
                                                                          : std::string(utf8);
}
