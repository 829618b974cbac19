#include "conversion/SgfEncoding.h"

#include "conversion/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <string>
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

    // Forgets any shift state, after a byte was skipped.
    void Reset() { iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_descriptor;
    std::size_t m_window = WINDOW;
};

// The code page 932 forms of the characters of the Basic Multilingual Plane, asked of iconv one
// character at a time the first time each is met, and kept for the life of the process. A record
// is then turned into code page 932 character by character without calling iconv again, however
// many of its characters have no form there (glibc's iconv redoes part of its work at each one).
class TCodePage932Forms {
public:
    static TCodePage932Forms& Instance() {
        static TCodePage932Forms forms;
        return forms;
    }

    bool Ok() const { return m_encoder.Ok(); }

    // Writes the form of the one well-formed UTF-8 character utf8 at out (room for two bytes) and
    // answers its length; 0 when it has none.
    std::size_t Write(std::string_view utf8, char* out) {
        const char32_t point = CodePoint(utf8);
        if (point > 0xFFFF) {
            // None there as a rule: not worth keeping.
            std::string asked;
            if (!Ask(utf8, asked) || asked.empty() || asked.size() > 2) {
                return 0;
            }
            std::copy(asked.begin(), asked.end(), out);
            return asked.size();
        }
        std::uint32_t& form = m_forms[point];
        if (form == UNKNOWN) {
            std::string asked;
            form = Ask(utf8, asked) && !asked.empty() && asked.size() <= 2
                       ? static_cast<std::uint32_t>(asked.size()) << 16 |
                             static_cast<unsigned char>(asked[0]) << 8 |
                             (asked.size() == 2 ? static_cast<unsigned char>(asked[1]) : 0u)
                       : NONE;
        }
        if (form == NONE) {
            return 0;
        }
        out[0] = static_cast<char>(form >> 8 & 0xFF);
        out[1] = static_cast<char>(form & 0xFF);
        return form >> 16;
    }

private:
    static constexpr std::uint32_t UNKNOWN = 0;
    static constexpr std::uint32_t NONE = 3u << 16;

    static char32_t CodePoint(std::string_view utf8) {
        const unsigned char b = static_cast<unsigned char>(utf8[0]);
        const std::size_t length = utf8.size();
        char32_t point = length == 1   ? b
                         : length == 2 ? b & 0x1F
                         : length == 3 ? b & 0x0F
                                       : b & 0x07;
        for (std::size_t k = 1; k < length; ++k) {
            point = point << 6 | (static_cast<unsigned char>(utf8[k]) & 0x3F);
        }
        return point;
    }

    // The form iconv gives the character, appended to out; false when it has none. A character
    // beyond ASCII never takes the form of an ASCII byte: glibc writes ¥ as "\" and ‾ as "~",
    // which would escape or end an SGF value, where Windows' code page 932 has no form for them.
    bool Ask(std::string_view utf8, std::string& out) {
        std::string converted;
        const bool ok = m_encoder.Convert(utf8, converted) == 0 && utf8.empty() &&
                        !(converted.size() == 1 && static_cast<unsigned char>(converted[0]) < 0x80);
        m_encoder.Reset();
        if (ok) {
            out += converted;
        }
        return ok;
    }

    TIconv m_encoder{"CP932", "UTF-8"};
    std::vector<std::uint32_t> m_forms = std::vector<std::uint32_t>(0x10000, UNKNOWN);
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

// How a UTF-8 character that starts at text[i] is built: the bytes it takes after the first, and
// the range of its second byte (which rules out overlong forms, surrogates and values above
// U+10FFFF). No continuation bytes for a byte that starts no character.
struct TUtf8Lead {
    std::size_t continuations = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
};

TUtf8Lead Utf8LeadOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) {
        return {1};
    }
    if (b >= 0xE0 && b <= 0xEF) {
        return {2, b == 0xE0 ? 0xA0u : 0x80u, b == 0xED ? 0x9Fu : 0xBFu};
    }
    if (b >= 0xF0 && b <= 0xF4) {
        return {3, b == 0xF0 ? 0x90u : 0x80u, b == 0xF4 ? 0x8Fu : 0xBFu};
    }
    return {};
}

// The bytes from text[i] that belong to one character as far as they go: all of a well-formed
// character, or the longest start of one that a byte then breaks off (at least one byte).
// complete tells which.
std::size_t Utf8Extent(std::string_view text, std::size_t i, bool& complete) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    complete = b < 0x80;
    if (complete) {
        return 1;
    }
    const TUtf8Lead lead = Utf8LeadOf(b);
    if (lead.continuations == 0) {
        return 1;
    }
    std::size_t k = 1;
    for (; k <= lead.continuations && i + k < text.size(); ++k) {
        const unsigned c = static_cast<unsigned char>(text[i + k]);
        const unsigned low = k == 1 ? lead.low : 0x80u;
        const unsigned high = k == 1 ? lead.high : 0xBFu;
        if (c < low || c > high) {
            return k;
        }
    }
    complete = k == lead.continuations + 1;
    return k;
}

// Length of the well-formed UTF-8 character at text[i], or 0 when none starts there (a stray
// continuation byte, an overlong form, a surrogate, a value above U+10FFFF, a cut-off character).
std::size_t Utf8CharLength(std::string_view text, std::size_t i) {
    bool complete = false;
    const std::size_t length = Utf8Extent(text, i, complete);
    return complete ? length : 0;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Runs of ASCII go eight bytes at a time.
        std::uint64_t word;
        if (i + 8 <= text.size() && (std::memcpy(&word, text.data() + i, sizeof word),
                                     (word & 0x8080808080808080ULL) == 0)) {
            i += 8;
            continue;
        }
        const std::size_t length = Utf8CharLength(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

// text with each broken piece (a byte that starts no character, or the start of a character that
// a byte breaks off) replaced by one "?", counted.
std::string RepairUtf8(std::string_view text, std::size_t& replaced) {
    std::string repaired;
    repaired.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool complete = false;
        const std::size_t length = Utf8Extent(text, i, complete);
        if (complete) {
            repaired.append(text.substr(i, length));
        } else {
            repaired += '?';
            ++replaced;
        }
        i += length;
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
    return HasHighByte(record) && IsValidUtf8(record) ? utf8 : shiftJis;
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
    // Each character is looked up, and one that has no code page 932 form is written as "?", as
    // is each piece that is no character. No character grows, so the bytes are written into room
    // of the text's size.
    std::string& bytes = result.bytes;
    bytes.resize(utf8.size());
    char* out = bytes.data();
    const char* const in = utf8.data();
    const std::size_t size = utf8.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            // ASCII is written as it is.
            *out++ = static_cast<char>(b);
            ++i;
            continue;
        }
        std::size_t length = 1;
        bool complete = false;
        if (b >= 0xC2 && b <= 0xDF) {
            // Two bytes, the second a continuation byte, make a whole character.
            complete = i + 1 < size && (static_cast<unsigned char>(in[i + 1]) & 0xC0) == 0x80;
            length = complete ? 2 : 1;
        } else if (b > 0xDF && b <= 0xF4) {
            length = Utf8Extent(utf8, i, complete);
        }
        // A byte that begins no character (a stray continuation byte, a lead byte of an overlong
        // form or of a value above U+10FFFF) is a piece of its own.
        const std::size_t written = complete ? forms.Write(utf8.substr(i, length), out) : 0;
        if (written == 0) {
            *out++ = '?';
            ++result.replaced;
        }
        out += written;
        i += length;
    }
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
