#include <iconv.h>

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <windows.h>

namespace {

constexpr UINT CP_EUC_JP = 20932;
constexpr UINT CP_GBK = 936;
constexpr UINT CP_GB18030 = 54936;
constexpr UINT CP_UTF16LE = 1200;
constexpr UINT CP_UTF16BE = 1201;

// How the bytes of the source are taken apart into characters. The system converts most code pages
// a character at a time; the encodings that it lacks on some systems (Wine has neither UTF-16 nor
// GB18030 among its code pages) or that need a shift state are read here.
enum class TSource {
    CodePage,  // the system's conversion of one code page
    Utf16Le,   // two bytes a unit, low byte first; a surrogate pair is one character
    Utf16Be,   // the same, high byte first
    Gb18030,   // two-byte characters as code page 936 reads them, four-byte ones by their ranges
    Iso2022Jp  // escape sequences between ASCII, JIS X 0201 Roman and JIS X 0208 (through EUC-JP)
};

// The character set in force in ISO-2022-JP.
enum class TJisSet { Ascii, Roman, Kanji };

// Bytes of the character a byte starts: 1 or more, or 0 where no character can start.
using TLengths = std::uint8_t[256];

struct TConverter {
    TSource source = TSource::CodePage;
    UINT from = 0;  // the code page of a CodePage source
    UINT to = 0;
    TLengths lengths = {};
    // Bytes 0x00-0x7F stand for the same characters on both sides, so they are copied.
    bool asciiAsIs = false;
    TJisSet set = TJisSet::Ascii;  // the shift state, for ISO-2022-JP
};

// An encoding by name: how it is read, and the code page it is written with (0 for one that is
// only read).
struct TEncoding {
    TSource source = TSource::CodePage;
    UINT page = 0;
};

// The name in upper case without "-" and "_".
std::string Canonical(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c == '-' || c == '_') {
            continue;
        }
        key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

// Code page nnn of "CPnnn" or "WINDOWSnnn", or 0.
UINT NumberedCodePage(std::string_view key) {
    for (const std::string_view prefix : {std::string_view("CP"), std::string_view("WINDOWS")}) {
        if (key.size() > prefix.size() && key.size() <= prefix.size() + 5 &&
            key.substr(0, prefix.size()) == prefix) {
            UINT page = 0;
            for (const char c : key.substr(prefix.size())) {
                if (c < '0' || c > '9') {
                    return 0;
                }
                page = page * 10 + static_cast<UINT>(c - '0');
            }
            return page;
        }
    }
    return 0;
}

// The encoding a name stands for; page 0 when there is none. Of the system's code pages only the
// stateless ones of one or two bytes a character, and UTF-8, are taken: the conversion works a
// character at a time. The names are those that the GNU C library's iconv knows for the same
// encodings, so a record converts alike on Linux and on Windows. Where the system's code page is a
// superset of the encoding (code page 936 of GB2312, 949 of EUC-KR, whose characters it holds
// under the same bytes), that code page reads it: the system's own code pages for EUC-KR (51949)
// and GB2312 (20936) are missing from some systems.
TEncoding EncodingOf(const char* name) {
    if (name == nullptr) {
        return {};
    }
    const std::string key = Canonical(name);
    static constexpr struct {
        std::string_view name;
        UINT page;
    } NAMES[] = {
        {"SHIFTJIS", 932},
        {"SJIS", 932},
        {"WINDOWS31J", 932},
        {"MSKANJI", 932},
        {"CSSHIFTJIS", 932},
        {"UTF8", CP_UTF8},
        {"UTF16LE", CP_UTF16LE},
        {"UTF16BE", CP_UTF16BE},
        {"EUCJP", CP_EUC_JP},
        {"UJIS", CP_EUC_JP},
        {"CSEUCPKDFMTJAPANESE", CP_EUC_JP},
        {"ISO2022JP", 50220},
        {"CSISO2022JP", 50220},
        {"GB2312", CP_GBK},
        {"EUCCN", CP_GBK},
        {"CSGB2312", CP_GBK},
        {"GBK", CP_GBK},
        {"MS936", CP_GBK},
        {"GB18030", CP_GB18030},
        {"BIG5", 950},
        {"BIGFIVE", 950},
        {"CSBIG5", 950},
        {"CNBIG5", 950},
        {"EUCKR", 949},
        {"CSEUCKR", 949},
        {"UHC", 949},
        {"JOHAB", 1361},
        {"ASCII", 20127},
        {"USASCII", 20127},
        {"ANSIX3.41968", 20127},
        {"ISO88591", 28591},
        {"LATIN1", 28591},
        {"ISO88592", 28592},
        {"ISO88593", 28593},
        {"ISO88594", 28594},
        {"ISO88595", 28595},
        {"ISO88596", 28596},
        {"ISO88597", 28597},
        {"ISO88598", 28598},
        {"ISO88599", 28599},
        {"ISO885913", 28603},
        {"ISO885915", 28605},
        {"LATIN2", 28592},
        {"LATIN9", 28605},
        {"KOI8R", 20866},
        {"KOI8U", 21866},
        {"TIS620", 874},
    };
    UINT page = NumberedCodePage(key);
    for (const auto& entry : NAMES) {
        if (key == entry.name) {
            page = entry.page;
        }
    }
    switch (page) {
        case CP_UTF16LE:
            return {TSource::Utf16Le, 0};
        case CP_UTF16BE:
            return {TSource::Utf16Be, 0};
        case CP_GB18030:
            return {TSource::Gb18030, 0};
        case 50220:
            // Only by name: the numbered ISO-2022-JP code pages (50220 to 50222) are Microsoft's
            // variants, with half-width katakana.
            return key == "ISO2022JP" || key == "CSISO2022JP" ? TEncoding{TSource::Iso2022Jp, 0}
                                                              : TEncoding{};
        case CP_UTF8:
            return {TSource::CodePage, page};
        default:
            break;
    }
    CPINFO info{};
    if (page != 0 && GetCPInfo(page, &info) && info.MaxCharSize <= 2) {
        return {TSource::CodePage, page};
    }
    return {};
}

// True when the encoding is known: written with a code page, or read by this file.
bool Known(const TEncoding& encoding) {
    return encoding.page != 0 || encoding.source != TSource::CodePage;
}

void FillLengths(UINT page, TLengths& lengths) {
    if (page == CP_UTF8) {
        for (int b = 0; b < 256; ++b) {
            lengths[b] = b < 0x80   ? 1
                         : b < 0xC2 ? 0
                         : b < 0xE0 ? 2
                         : b < 0xF0 ? 3
                         : b < 0xF5 ? 4
                                    : 0;
        }
        return;
    }
    for (int b = 0; b < 256; ++b) {
        lengths[b] = 1;
    }
    CPINFO info{};
    GetCPInfo(page, &info);
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
            lengths[b] = 2;
        }
    }
    if (page == CP_EUC_JP) {
        lengths[0x8F] = 3;  // JIS X 0212, which the system's EUC-JP does not convert
    }
}

bool AsciiAsIs(UINT page) {
    if (page == CP_UTF8) {
        return true;
    }
    char bytes[128];
    wchar_t wide[128];
    for (int i = 0; i < 128; ++i) {
        bytes[i] = static_cast<char>(i);
    }
    if (MultiByteToWideChar(page, 0, bytes, 128, wide, 128) != 128) {
        return false;
    }
    for (int i = 0; i < 128; ++i) {
        if (wide[i] != static_cast<wchar_t>(i)) {
            return false;
        }
    }
    return true;
}

// One character read from the source: its UTF-16 units (none for an escape sequence, which only
// changes the shift state), the bytes it took, or the error that stopped it.
struct TRead {
    int error = 0;
    std::size_t length = 0;
    wchar_t wide[2] = {};
    int wideLength = 0;
    TJisSet set = TJisSet::Ascii;  // the shift state after it
};

TRead Failed(int error) {
    TRead read;
    read.error = error;
    return read;
}

TRead Unit(std::size_t length, wchar_t unit) {
    TRead read;
    read.length = length;
    read.wide[0] = unit;
    read.wideLength = 1;
    return read;
}

// The character of length bytes at in, through the system's conversion of page.
TRead ThroughCodePage(UINT page, const unsigned char* in, std::size_t length) {
    TRead read;
    read.wideLength =
        MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(in),
                            static_cast<int>(length), read.wide, 2);
    if (read.wideLength <= 0) {
        return Failed(EILSEQ);
    }
    read.length = length;
    return read;
}

TRead ReadCodePage(const TConverter& converter, const unsigned char* in, std::size_t available) {
    const std::size_t length = converter.lengths[in[0]];
    if (length == 0) {
        return Failed(EILSEQ);
    }
    if (length > available) {
        // A cut-off UTF-8 character is EINVAL only while its bytes can still begin one.
        if (converter.from == CP_UTF8) {
            for (std::size_t i = 1; i < available; ++i) {
                if ((in[i] & 0xC0) != 0x80) {
                    return Failed(EILSEQ);
                }
            }
        }
        return Failed(EINVAL);
    }
    if (length > 2 && converter.from == CP_EUC_JP) {
        return Failed(EILSEQ);
    }
    return ThroughCodePage(converter.from, in, length);
}

TRead ReadUtf16(bool bigEndian, const unsigned char* in, std::size_t available) {
    const auto unitAt = [&](std::size_t i) {
        return static_cast<wchar_t>(bigEndian ? in[i] << 8 | in[i + 1] : in[i + 1] << 8 | in[i]);
    };
    if (available < 2) {
        return Failed(EINVAL);
    }
    const wchar_t first = unitAt(0);
    if (first >= 0xDC00 && first <= 0xDFFF) {
        return Failed(EILSEQ);
    }
    if (first < 0xD800 || first > 0xDBFF) {
        return Unit(2, first);
    }
    if (available < 4) {
        return Failed(EINVAL);
    }
    const wchar_t second = unitAt(2);
    if (second < 0xDC00 || second > 0xDFFF) {
        return Failed(EILSEQ);
    }
    TRead read = Unit(4, first);
    read.wide[1] = second;
    read.wideLength = 2;
    return read;
}

// The four-byte forms of GB18030 below U+10000, numbered from 0x81 0x30 0x81 0x30 on: from each
// number on, the characters run up from code point, to the next number; 0 where no character is.
// As the GNU C library's GB18030 has them, so a record reads alike on Linux and on Windows.
struct TGb18030Range {
    std::uint32_t number;
    std::uint32_t codePoint;
};
constexpr TGb18030Range GB18030_RANGES[] = {
    {0, 0x0080},     {36, 0x00A5},    {38, 0x00A9},    {45, 0x00B2},    {50, 0x00B8},
    {81, 0x00D8},    {89, 0x00E2},    {95, 0x00EB},    {96, 0x00EE},    {100, 0x00F4},
    {103, 0x00F8},   {104, 0x00FB},   {105, 0x00FD},   {109, 0x0102},   {126, 0x0114},
    {133, 0x011C},   {148, 0x012C},   {172, 0x0145},   {175, 0x0149},   {179, 0x014E},
    {208, 0x016C},   {306, 0x01CF},   {307, 0x01D1},   {308, 0x01D3},   {309, 0x01D5},
    {310, 0x01D7},   {311, 0x01D9},   {312, 0x01DB},   {313, 0x01DD},   {341, 0x01FA},
    {428, 0x0252},   {443, 0x0262},   {544, 0x02C8},   {545, 0x02CC},   {558, 0x02DA},
    {741, 0x03A2},   {742, 0x03AA},   {749, 0x03C2},   {750, 0x03CA},   {805, 0x0402},
    {819, 0x0450},   {820, 0x0452},   {7457, 0xE7C7},  {7458, 0x1E40},  {7922, 0x2011},
    {7924, 0x2017},  {7925, 0x201A},  {7927, 0x201E},  {7934, 0x2027},  {7943, 0x2031},
    {7944, 0x2034},  {7945, 0x2036},  {7950, 0x203C},  {8062, 0x20AD},  {8148, 0x2104},
    {8149, 0x2106},  {8152, 0x210A},  {8164, 0x2117},  {8174, 0x2122},  {8236, 0x216C},
    {8240, 0x217A},  {8262, 0x2194},  {8264, 0x219A},  {8374, 0x2209},  {8380, 0x2210},
    {8381, 0x2212},  {8384, 0x2216},  {8388, 0x221B},  {8390, 0x2221},  {8392, 0x2224},
    {8393, 0x2226},  {8394, 0x222C},  {8396, 0x222F},  {8401, 0x2238},  {8406, 0x223E},
    {8416, 0x2249},  {8419, 0x224D},  {8424, 0x2253},  {8437, 0x2262},  {8439, 0x2268},
    {8445, 0x2270},  {8482, 0x2296},  {8485, 0x229A},  {8496, 0x22A6},  {8521, 0x22C0},
    {8603, 0x2313},  {8936, 0x246A},  {8946, 0x249C},  {9046, 0x254C},  {9050, 0x2574},
    {9063, 0x2590},  {9066, 0x2596},  {9076, 0x25A2},  {9092, 0x25B4},  {9100, 0x25BE},
    {9108, 0x25C8},  {9111, 0x25CC},  {9113, 0x25D0},  {9131, 0x25E6},  {9162, 0x2607},
    {9164, 0x260A},  {9218, 0x2641},  {9219, 0x2643},  {11329, 0x2E82}, {11331, 0x2E85},
    {11334, 0x2E89}, {11336, 0x2E8D}, {11346, 0x2E98}, {11361, 0x2EA8}, {11363, 0x2EAB},
    {11366, 0x2EAF}, {11370, 0x2EB4}, {11372, 0x2EB8}, {11375, 0x2EBC}, {11389, 0x2ECB},
    {11682, 0x2FFC}, {11686, 0x3004}, {11687, 0x3018}, {11692, 0x301F}, {11694, 0x302A},
    {11714, 0x303F}, {11716, 0x3094}, {11723, 0x309F}, {11725, 0x30F7}, {11730, 0x30FF},
    {11736, 0x312A}, {11982, 0x322A}, {11989, 0x3232}, {12102, 0x32A4}, {12336, 0x3390},
    {12348, 0x339F}, {12350, 0x33A2}, {12384, 0x33C5}, {12393, 0x33CF}, {12395, 0x33D3},
    {12397, 0x33D6}, {12510, 0x3448}, {12553, 0x3474}, {12851, 0x359F}, {12962, 0x360F},
    {12973, 0x361B}, {13738, 0x3919}, {13823, 0x396F}, {13919, 0x39D1}, {13933, 0x39E0},
    {14080, 0x3A74}, {14298, 0x3B4F}, {14585, 0x3C6F}, {14698, 0x3CE1}, {15583, 0x4057},
    {15847, 0x4160}, {16318, 0x4338}, {16434, 0x43AD}, {16438, 0x43B2}, {16481, 0x43DE},
    {16729, 0x44D7}, {17102, 0x464D}, {17122, 0x4662}, {17315, 0x4724}, {17320, 0x472A},
    {17402, 0x477D}, {17418, 0x478E}, {17859, 0x4948}, {17909, 0x497B}, {17911, 0x497E},
    {17915, 0x4984}, {17916, 0x4987}, {17936, 0x499C}, {17939, 0x49A0}, {17961, 0x49B8},
    {18664, 0x4C78}, {18703, 0x4CA4}, {18814, 0x4D1A}, {18962, 0x4DAF}, {19043, 0x9FA6},
    {19057, 0x0000}, {19065, 0x9FBC}, {33469, 0xE76C}, {33470, 0xE7C8}, {33471, 0xE7E7},
    {33484, 0xE815}, {33485, 0xE819}, {33490, 0xE81F}, {33497, 0xE827}, {33501, 0xE82D},
    {33505, 0xE833}, {33513, 0xE83C}, {33520, 0xE844}, {33536, 0xE856}, {33550, 0xE865},
    {37845, 0xF92D}, {37921, 0xF97A}, {37948, 0xF996}, {38029, 0xF9E8}, {38038, 0xF9F2},
    {38064, 0xFA10}, {38065, 0xFA12}, {38066, 0xFA15}, {38069, 0xFA19}, {38075, 0xFA22},
    {38076, 0xFA25}, {38078, 0xFA2A}, {39076, 0x0000}, {39086, 0xFE1A}, {39108, 0xFE32},
    {39109, 0xFE45}, {39113, 0xFE53}, {39114, 0xFE58}, {39115, 0xFE67}, {39116, 0xFE6C},
    {39265, 0xFF5F}, {39394, 0xFFE6}};
constexpr std::uint32_t GB18030_LAST_BMP_NUMBER = 39419;       // U+FFFF
constexpr std::uint32_t GB18030_FIRST_SUPPLEMENTARY = 189000;  // U+10000, 0x90 0x30 0x81 0x30
constexpr std::uint32_t GB18030_LAST_SUPPLEMENTARY = 1237575;  // U+10FFFF

bool InRange(unsigned char b, unsigned char low, unsigned char high) {
    return b >= low && b <= high;
}

TRead ReadGb18030(const unsigned char* in, std::size_t available) {
    if (in[0] < 0x80) {
        return Unit(1, in[0]);
    }
    if (in[0] == 0x80 || in[0] == 0xFF) {
        return Failed(EILSEQ);
    }
    if (available < 2) {
        return Failed(EINVAL);
    }
    if (!InRange(in[1], 0x30, 0x39)) {
        return InRange(in[1], 0x40, 0xFE) && in[1] != 0x7F ? ThroughCodePage(CP_GBK, in, 2)
                                                           : Failed(EILSEQ);
    }
    if ((available > 2 && !InRange(in[2], 0x81, 0xFE)) ||
        (available > 3 && !InRange(in[3], 0x30, 0x39))) {
        return Failed(EILSEQ);
    }
    if (available < 4) {
        return Failed(EINVAL);
    }
    const std::uint32_t number =
        (in[0] - 0x81u) * 12600 + (in[1] - 0x30u) * 1260 + (in[2] - 0x81u) * 10 + (in[3] - 0x30u);
    if (number <= GB18030_LAST_BMP_NUMBER) {
        const TGb18030Range* range =
            std::upper_bound(std::begin(GB18030_RANGES), std::end(GB18030_RANGES), number,
                             [](std::uint32_t n, const TGb18030Range& r) { return n < r.number; }) -
            1;
        if (range->codePoint == 0) {
            return Failed(EILSEQ);
        }
        return Unit(4, static_cast<wchar_t>(range->codePoint + (number - range->number)));
    }
    if (number < GB18030_FIRST_SUPPLEMENTARY || number > GB18030_LAST_SUPPLEMENTARY) {
        return Failed(EILSEQ);
    }
    const std::uint32_t offset = number - GB18030_FIRST_SUPPLEMENTARY;  // code point - 0x10000
    TRead read = Unit(4, static_cast<wchar_t>(0xD800 + (offset >> 10)));
    read.wide[1] = static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    read.wideLength = 2;
    return read;
}

// ISO-2022-JP as the GNU C library reads it: "ESC ( B" ASCII, "ESC ( J" JIS X 0201 Roman,
// "ESC $ @" and "ESC $ B" JIS X 0208; control bytes stand for themselves in every set, and so
// does an ESC that starts no sequence of these.
TRead ReadIso2022Jp(TJisSet set, const unsigned char* in, std::size_t available) {
    constexpr unsigned char ESC = 0x1B;
    if (in[0] == ESC) {
        if (available < 3) {
            const bool prefix = available == 1 || in[1] == '(' || in[1] == '$';
            if (prefix) {
                return Failed(EINVAL);
            }
        } else {
            const std::string_view sequence(reinterpret_cast<const char*>(in) + 1, 2);
            TRead read;
            read.length = 3;
            if (sequence == "(B" || sequence == "(J" || sequence == "$@" || sequence == "$B") {
                read.set = sequence == "(B"   ? TJisSet::Ascii
                           : sequence == "(J" ? TJisSet::Roman
                                              : TJisSet::Kanji;
                return read;
            }
        }
    }
    if (in[0] >= 0x80) {
        return Failed(EILSEQ);
    }
    if (in[0] < 0x21 || in[0] == 0x7F || set == TJisSet::Ascii) {
        TRead read = Unit(1, in[0]);
        read.set = set;
        return read;
    }
    if (set == TJisSet::Roman) {
        TRead read = Unit(1, in[0] == 0x5C ? L'\u00A5' : in[0] == 0x7E ? L'\u203E' : in[0]);
        read.set = set;
        return read;
    }
    if (available < 2) {
        return Failed(EINVAL);
    }
    if (!InRange(in[1], 0x21, 0x7E)) {
        return Failed(EILSEQ);
    }
    // A JIS X 0208 character is the EUC-JP one with the high bits cleared.
    const unsigned char euc[2] = {static_cast<unsigned char>(in[0] | 0x80),
                                  static_cast<unsigned char>(in[1] | 0x80)};
    TRead read = ThroughCodePage(CP_EUC_JP, euc, 2);
    read.set = set;
    return read;
}

TRead ReadCharacter(const TConverter& converter, const unsigned char* in, std::size_t available) {
    switch (converter.source) {
        case TSource::Utf16Le:
            return ReadUtf16(false, in, available);
        case TSource::Utf16Be:
            return ReadUtf16(true, in, available);
        case TSource::Gb18030:
            return ReadGb18030(in, available);
        case TSource::Iso2022Jp:
            return ReadIso2022Jp(converter.set, in, available);
        case TSource::CodePage:
            break;
    }
    return ReadCodePage(converter, in, available);
}

// True when the byte at in is an ASCII character that the source and the target share.
bool CopiedAsIs(const TConverter& converter, unsigned char b) {
    if (b >= 0x80 || !converter.asciiAsIs) {
        return false;
    }
    switch (converter.source) {
        case TSource::CodePage:
        case TSource::Gb18030:
            return true;
        case TSource::Iso2022Jp:
            return converter.set == TJisSet::Ascii && b != 0x1B;
        case TSource::Utf16Le:
        case TSource::Utf16Be:
            break;
    }
    return false;
}

// Writes the UTF-16 units of read into out in the target code page; answers the byte count there,
// or 0 when the target has no such character.
int Write(const TConverter& converter, const TRead& read, char* out, int room) {
    // No best fit: ¥ must not become "\", nor any character a look-alike.
    BOOL usedDefault = FALSE;
    const bool utf8 = converter.to == CP_UTF8;
    const int count =
        WideCharToMultiByte(converter.to, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, read.wide,
                            read.wideLength, out, room, nullptr, utf8 ? nullptr : &usedDefault);
    return usedDefault ? 0 : count;
}

}  // namespace

extern "C" iconv_t iconv_open(const char* tocode, const char* fromcode) {
    const TEncoding to = EncodingOf(tocode);
    const TEncoding from = EncodingOf(fromcode);
    // The encodings read here are only read: the program writes UTF-8 and code page 932.
    if (to.page == 0 || !Known(from)) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    // The C interface owns the converter from here to iconv_close.
    auto converter = std::make_unique<TConverter>();
    converter->source = from.source;
    converter->from = from.page;
    converter->to = to.page;
    if (from.source == TSource::CodePage) {
        FillLengths(from.page, converter->lengths);
    }
    converter->asciiAsIs =
        AsciiAsIs(to.page) && (from.source != TSource::CodePage || AsciiAsIs(from.page));
    return converter.release();
}

extern "C" size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf,
                        size_t* outbytesleft) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return static_cast<size_t>(-1);
    }
    TConverter& converter = *static_cast<TConverter*>(cd);
    if (inbuf == nullptr || *inbuf == nullptr) {
        converter.set = TJisSet::Ascii;  // the initial shift state
        return 0;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(*inbuf);
    std::size_t inLeft = *inbytesleft;
    char* out = *outbuf;
    std::size_t outLeft = *outbytesleft;
    int error = 0;
    while (inLeft > 0) {
        if (CopiedAsIs(converter, *in)) {
            if (outLeft == 0) {
                error = E2BIG;
                break;
            }
            *out++ = static_cast<char>(*in++);
            --inLeft;
            --outLeft;
            continue;
        }
        const TRead read = ReadCharacter(converter, in, inLeft);
        if (read.error != 0) {
            error = read.error;
            break;
        }
        char bytes[8];
        int count = 0;
        if (read.wideLength > 0) {
            count = Write(converter, read, bytes, sizeof bytes);
            if (count <= 0) {
                error = EILSEQ;
                break;
            }
            if (static_cast<std::size_t>(count) > outLeft) {
                error = E2BIG;
                break;
            }
        }
        std::memcpy(out, bytes, static_cast<std::size_t>(count));
        out += count;
        outLeft -= static_cast<std::size_t>(count);
        in += read.length;
        inLeft -= read.length;
        converter.set = read.set;
    }
    *inbuf = const_cast<char*>(reinterpret_cast<const char*>(in));
    *inbytesleft = inLeft;
    *outbuf = out;
    *outbytesleft = outLeft;
    if (error != 0) {
        errno = error;
        return static_cast<size_t>(-1);
    }
    return 0;
}

extern "C" int iconv_close(iconv_t cd) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return -1;
    }
    const std::unique_ptr<TConverter> converter(static_cast<TConverter*>(cd));
    return 0;
}
