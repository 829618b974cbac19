#include "conversion/SgfEncoding.h"
#include "tests/support/Sjis.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>
#include <random>
#include <string>

using namespace std::string_literals;

// Japanese text in this file is UTF-8 as the source is; its Shift-JIS bytes are escapes.
#define SJIS_HONINBO "\x96\x7B\x88\xF6\x96\x56"       // 本因坊
#define SJIS_NIHON "\x93\xFA\x96\x7B"                 // 日本
#define EUCJP_NIHON "\xC6\xFC\xCB\xDC"                // 日本 in EUC-JP
#define UTF8_REPLACEMENT "\xEF\xBF\xBD"               // U+FFFD, which code page 932 does not have
#define BIG5_NAMES "PB[\xAC_\xBC\xE4]PW[\xA5j\xA4O]"  // PB[柯潔]PW[古力] in Big5

namespace {

// text as UTF-16 bytes in either byte order.
std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// How many bytes from text[i] belong to one UTF-8 piece, by the rule read plainly: all of a
// well-formed character (complete), or the longest start of one that the next byte breaks off, or
// the one byte when it starts no character.
std::size_t PieceLength(std::string_view text, std::size_t i, bool& complete) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char b = byte(0);
    complete = b < 0x80;
    std::size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size() || byte(k) < (k == 1 ? low : 0x80) ||
            byte(k) > (k == 1 ? high : 0xBF)) {
            return k;
        }
    }
    complete = true;
    return length;
}

// The code page 932 form of one character, asked of iconv on its own; "?" when it has none or
// would be an ASCII byte.
std::string FormOf(std::string_view character) {
    if (static_cast<unsigned char>(character[0]) < 0x80) {
        return std::string(character);
    }
    const iconv_t encoder = iconv_open("CP932", "UTF-8");
    char* in = const_cast<char*>(character.data());
    std::size_t inLeft = character.size();
    char buffer[16];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const bool ok = iconv(encoder, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(encoder);
    const std::string form(buffer, static_cast<std::size_t>(out - buffer));
    const bool ascii = form.size() == 1 && static_cast<unsigned char>(form[0]) < 0x80;
    return ok && inLeft == 0 && !form.empty() && form.size() <= 2 && !ascii ? form : "?";
}

}  // namespace

TEST(SgfEncoding, FindsTheFirstCaOutsideValues) {
    struct Row {
        const char* name;
        std::string record;
        std::optional<std::string> value;
    };
    const Row rows[] = {
        {"in the root", "(;GM[1]CA[UTF-8]SZ[19])", "UTF-8"},
        {"blanks kept", "(;CA [ utf-8 ])", " utf-8 "},
        {"name and value on two lines", "(;CA\r\n[EUC-JP])", "EUC-JP"},
        {"the first of two", "(;CA[UTF-8];B[aa]CA[SJIS])", "UTF-8"},
        {"in a later node", "(;SZ[19];B[aa]CA[SJIS])", "SJIS"},
        {"text of a comment is no property", "(;C[write CA[UTF-8] here]CA[SJIS])", "SJIS"},
        {"an escaped ] does not end a comment", "(;C[a\\]CA[UTF-8]]CA[SJIS])", "SJIS"},
        {"an escaped \\ does", "(;C[a\\\\]CA[UTF-8])", "UTF-8"},
        {"a further value of another property", "(;AB[aa][CA]CA[x])", "x"},
        {"longer names are other properties", "(;XCA[a]CAX[b]CA[c])", "c"},
        {"letter case of the name counts", "(;ca[a]Ca[b])", std::nullopt},
        {"a value to the end", "(;CA[UTF-8", "UTF-8"},
        {"empty value", "(;CA[])", ""},
        {"none", "(;SZ[19];B[aa])", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<std::string_view> value = FirstCaValue(row.record);
        EXPECT_EQ(value ? std::optional<std::string>(std::string(*value)) : std::nullopt,
                  row.value);
    }
}

TEST(SgfEncoding, TellsTheEncodingByCaThenByTheBytes) {
    struct Row {
        const char* name;
        std::string record;
        TSgfCharset charset;
        std::string encodingName;
        bool toldFromBytes = false;
    };
    const TSgfCharset SJIS = TSgfCharset::ShiftJis;
    const TSgfCharset UTF8 = TSgfCharset::Utf8;
    const TSgfCharset OTHER = TSgfCharset::Other;
    const Row rows[] = {
        {"UTF-8", "(;CA[UTF-8]PB[本因坊])", UTF8, "UTF-8"},
        {"utf8 with blanks", "(;CA[ utf8 ]PB[本因坊])", UTF8, "UTF-8"},
        {"UTF-8 named on ASCII", "(;CA[UTF-8]PB[a])", UTF8, "UTF-8"},
        {"UTF-8 named on Shift-JIS bytes", "(;CA[UTF-8]PB[" SJIS_HONINBO "])", UTF8, "UTF-8"},
        {"Shift_JIS", "(;CA[Shift_JIS]PB[" SJIS_HONINBO "])", SJIS, "Shift_JIS"},
        {"SJIS", "(;CA[sjis]PB[" SJIS_HONINBO "])", SJIS, "Shift_JIS"},
        {"MS_Kanji", "(;CA[MS_Kanji]PB[" SJIS_ZO "])", SJIS, "Shift_JIS"},
        {"CP932", "(;CA[cp932]PB[" SJIS_HYO "])", SJIS, "Shift_JIS"},
        {"Windows-31J", "(;CA[Windows-31J]PB[" SJIS_HONINBO "])", SJIS, "Shift_JIS"},
        {"Shift-JIS with a hyphen", "(;CA[Shift-JIS]PB[\\])", SJIS, "Shift_JIS"},
        {"Shift-JIS named on UTF-8 no code page 932 has", "(;CA[Shift_JIS]PB[本因坊])", UTF8,
         "UTF-8"},
        {"Shift-JIS named on UTF-8 of a replacement character",
         "(;CA[MS_KANJI]PB[" UTF8_REPLACEMENT "])", UTF8, "UTF-8"},
        {"Shift-JIS named on UTF-8 that is code page 932 too", "(;CA[SJIS]PB[日本])", SJIS,
         "Shift_JIS"},
        {"EUC-JP", "(;CA[EUC-JP]PB[" EUCJP_NIHON "])", OTHER, "EUC-JP"},
        {"another name iconv knows",
         "(;CA[ ISO-8859-1 ]PC[Montr\xE9"
         "al])",
         OTHER, "ISO-8859-1"},
        {"a name iconv does not know, UTF-8 bytes", "(;CA[Klingon]PB[本因坊])", UTF8, "UTF-8"},
        {"a name iconv does not know, Shift-JIS bytes", "(;CA[Klingon]PB[" SJIS_HONINBO "])", SJIS,
         "Shift_JIS"},
        {"no ASCII-based encoding", "(;CA[UTF-16]PB[" SJIS_HONINBO "])", SJIS, "Shift_JIS"},
        {"a name with a conversion suffix", "(;CA[EUC-JP//IGNORE]PB[本因坊])", UTF8, "UTF-8"},
        {"no CA, UTF-8", "(;PB[本因坊])", UTF8, "UTF-8"},
        {"no CA, Shift-JIS", "(;PB[" SJIS_HONINBO "])", SJIS, "Shift_JIS"},
        {"no CA, ASCII", "(;PB[a])", SJIS, "Shift_JIS"},
        {"no CA, Big5", "(;" BIG5_NAMES ")", OTHER, "Big5", true},
        {"a name iconv does not know, Big5 bytes", "(;CA[Klingon]" BIG5_NAMES ")", OTHER, "Big5",
         true},
        {"Shift-JIS named on Big5 bytes", "(;CA[SJIS]" BIG5_NAMES ")", SJIS, "Shift_JIS"},
        {"no CA, a byte-order mark", "\xEF\xBB\xBF(;PB[a])", UTF8, "UTF-8"},
        {"no CA, UTF-8 cut short", "(;PB[\xE6\x9C])", SJIS, "Shift_JIS"},
        {"no CA, an overlong form", "(;PB[\xC0\xAF])", SJIS, "Shift_JIS"},
        {"no CA, a surrogate", "(;PB[\xED\xA0\x80])", SJIS, "Shift_JIS"},
        {"no CA, the last surrogate", "(;PB[\xED\xBF\xBF])", SJIS, "Shift_JIS"},
        {"no CA, an overlong form of three bytes", "(;PB[\xE0\x9F\xBF])", SJIS, "Shift_JIS"},
        {"no CA, an overlong form of four bytes", "(;PB[\xF0\x8F\xBF\xBF])", SJIS, "Shift_JIS"},
        {"no CA, above U+10FFFF", "(;PB[\xF4\x90\x80\x80])", SJIS, "Shift_JIS"},
        {"no CA, the first and last characters of each length and around the surrogates",
         "(;PB["
         "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF])",
         UTF8, "UTF-8"},
        {"a UTF-16 mark, little endian", Utf16(u"\uFEFF(;CA[UTF-8]PB[a])", false),
         TSgfCharset::Utf16, "UTF-16LE"},
        {"a UTF-16 mark, big endian", Utf16(u"\uFEFF(;PB[a])", true), TSgfCharset::Utf16,
         "UTF-16BE"},
        {"nothing after a NUL is read", "(;PB[a])\0CA[UTF-8]本因坊"s, SJIS, "Shift_JIS"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TSgfEncoding encoding = SgfEncodingOf(row.record);
        EXPECT_EQ(encoding.charset, row.charset);
        EXPECT_EQ(encoding.name, row.encodingName);
        EXPECT_EQ(encoding.toldFromBytes, row.toldFromBytes);
    }
}

TEST(SgfEncoding, TurnsRecordsIntoCodePage932) {
    struct Row {
        const char* name;
        std::string record;
        std::string bytes;
        std::size_t replaced;
    };
    const Row rows[] = {
        {"UTF-8", "(;CA[UTF-8]PB[本因坊]PW[ゾ表])",
         "(;CA[UTF-8]PB[" SJIS_HONINBO "]PW[" SJIS_ZO SJIS_HYO "])", 0},
        {"characters code page 932 does not have", "(;PB[이세돌 😀 本因坊])",
         "(;PB[??? ? " SJIS_HONINBO "])", 4},
        {"a byte-order mark goes", "\xEF\xBB\xBF(;PB[日本])", "(;PB[" SJIS_NIHON "])", 0},
        {"bytes that are no UTF-8 character",
         "(;CA[UTF-8]PB[a\xFF"
         "b\xE6\x9C])",
         "(;CA[UTF-8]PB[a?b?])", 2},
        {"the text ends at a NUL", "(;PB[日本])\0日本"s, "(;PB[" SJIS_NIHON "])", 0},
        {"EUC-JP", "(;CA[EUC-JP]PB[" EUCJP_NIHON "])", "(;CA[EUC-JP]PB[" SJIS_NIHON "])", 0},
        {"a byte EUC-JP does not have", "(;CA[EUC-JP]PB[" EUCJP_NIHON "\xFF])",
         "(;CA[EUC-JP]PB[" SJIS_NIHON "?])", 1},
        {"Latin-1 with a letter code page 932 does not have",
         "(;CA[ISO-8859-1]PC[Montr\xE9"
         "al])",
         "(;CA[ISO-8859-1]PC[Montr?al])", 1},
        {"Shift-JIS byte for byte, also after a NUL", "(;CA[SJIS]PB[" SJIS_HONINBO "\x83])\0\xFF"s,
         "(;CA[SJIS]PB[" SJIS_HONINBO "\x83])\0\xFF"s, 0},
        {"ASCII labelled UTF-8 as it is", "(;CA[UTF-8]PB[a\\]b])", "(;CA[UTF-8]PB[a\\]b])", 0},
        {"no look-alike in ASCII: ¥ and ‾ would close or escape a value as \\ and ~",
         "(;C[100¥]PB[a‾])", "(;C[100?]PB[a?])", 2},
        {"characters that code page 932 has and plain Shift_JIS has not", "(;C[5～10 ①－∥])",
         "(;C[5\x81\x60"
         "10 \x87\x40\x81\x7C\x81\x61])",
         0},
        {"UTF-16LE, two NUL bytes that are no NUL character",
         Utf16(u"\uFEFF(;PB[日本]C[\u3B00\U0001F600])", false), "(;PB[" SJIS_NIHON "]C[??])", 2},
        {"UTF-16BE, a surrogate alone, the text ends at a NUL character",
         Utf16(u"\uFEFF(;C[a\xD800"
               u"b])\0(;C[c])"s,
               true),
         "(;C[a?b])", 1},
        {"UTF-16LE cut inside a unit", Utf16(u"\uFEFF(;C[a])", false) + "x", "(;C[a])?", 1},
        {"GB2312", "(;CA[GB2312]PB[\xD6\xD0\xC8\xD5])", "(;CA[GB2312]PB[\x92\x86\x93\xFA])", 0},
        {"GBK", "(;CA[GBK]PB[\x87\xEC\xB3\x9E])", "(;CA[GBK]PB[\x88\xCD\x8C\xE9])", 0},
        {"GB18030, characters of four bytes",
         "(;CA[GB18030]PB[\xD6\xD0\x84\x31\x97\x33\x94\x39\xFC\x36])",
         "(;CA[GB18030]PB[\x92\x86\xB1?])", 1},
        {"Big5", "(;CA[Big5]PB[\xA4\xA4\xB0\xEA])", "(;CA[Big5]PB[\x92\x86\x9A\xA0])", 0},
        {"EUC-KR, a character code page 932 does not have", "(;CA[EUC-KR]PB[\xC7\xD1\xEC\xED])",
         "(;CA[EUC-KR]PB[?\x93\xFA])", 1},
        {"ISO-2022-JP", "(;CA[ISO-2022-JP]PB[\x1B$BF|K\\\x1B(B])",
         "(;CA[ISO-2022-JP]PB[" SJIS_NIHON "])", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TShiftJisRecord record = SgfRecordAsShiftJis(row.record);
        EXPECT_TRUE(record.ok);
        EXPECT_EQ(record.bytes, row.bytes);
        EXPECT_EQ(record.replaced, row.replaced);
        EXPECT_TRUE(IsCodePage932(record.bytes.substr(0, record.bytes.find('\0'))));
    }
}

TEST(SgfEncoding, AnEncodingThisSystemCannotConvertLeavesTheRecordAndSaysSo) {
    const TShiftJisRecord record =
        TranscodeToShiftJis("(;PB[x])", {TSgfCharset::Other, "NO-SUCH-ENCODING"});
    EXPECT_FALSE(record.ok);
    EXPECT_EQ(record.bytes, "(;PB[x])");
}

TEST(SgfEncoding, ShowsARecordInUnicodeWithoutGoingThroughCodePage932) {
    // 测 (GB2312 B2 E2) and 표 (EUC-KR C7 A5) have no code page 932 form; the text keeps them.
    EXPECT_EQ(SgfRecordAsUtf8("(;CA[GB2312]C[\xB2\xE2])"), "(;CA[GB2312]C[测])");
    EXPECT_EQ(SgfRecordAsUtf8("(;CA[EUC-KR]C[\xC7\xA5])"), "(;CA[EUC-KR]C[표])");
    EXPECT_EQ(SgfRecordAsUtf8("(;" BIG5_NAMES ")"), "(;PB[柯潔]PW[古力])");
    EXPECT_EQ(SgfRecordAsUtf8(std::string("\xFF\xFE(\0;\0C\0[\0K\x6D]\0)\0", 16)), "(;C[测])");
    EXPECT_EQ(SgfRecordAsUtf8("\xEF\xBB\xBF(;CA[UTF-8]C[\xED\x91\x9C\xFF])"), "(;CA[UTF-8]C[표?])");
    // A Shift-JIS record is its own text.
    EXPECT_EQ(SgfRecordAsUtf8("(;C[\x95\x5C])"), std::nullopt);
}

TEST(SgfEncoding, ReadsEveryPieceOfBrokenUtf8AsTheRuleSays) {
    // Random records of the bytes where UTF-8 breaks: stray continuation bytes, lead bytes of
    // overlong forms (0xC0, 0xC1, 0xE0 0x80-0x9F, 0xF0 0x80-0x8F), surrogates (0xED 0xA0-0xBF),
    // values beyond U+10FFFF (0xF4 0x90-, 0xF5-0xFF), characters cut by another byte or by the
    // end, characters with and without a code page 932 form (¥ has none, ｱ one byte), NUL bytes,
    // and runs of ASCII across the eight-byte steps, each read as the rule says piece by piece.
    const std::string pieces[] = {"a",
                                  "]",
                                  "\\",
                                  "xyzw1234",
                                  "\0"s,
                                  "\x80",
                                  "\x8F",
                                  "\x90",
                                  "\x9F",
                                  "\xA0",
                                  "\xBF",
                                  "\xC0",
                                  "\xC1",
                                  "\xC2",
                                  "\xDF",
                                  "\xE0",
                                  "\xE1",
                                  "\xED",
                                  "\xEF",
                                  "\xF0",
                                  "\xF1",
                                  "\xF4",
                                  "\xF5",
                                  "\xFF",
                                  "本",
                                  "¥",
                                  "ｱ",
                                  "§",
                                  "😀",
                                  "\xEF\xBF\xBF",
                                  "\xF4\x8F\xBF\xBF"};
    std::mt19937 random(932);
    for (int n = 0; n < 4000; ++n) {
        std::string text = n % 7 == 0 ? "\xEF\xBB\xBF" : "";
        const std::size_t count = random() % 24;
        for (std::size_t k = 0; k < count; ++k) {
            const unsigned pick = random() % (std::size(pieces) + 8);
            text += pick < std::size(pieces) ? pieces[pick]
                                             : std::string(1, static_cast<char>(random() % 256));
        }
        SCOPED_TRACE(testing::PrintToString(text));
        std::string_view read = std::string_view(text).substr(0, text.find('\0'));
        if (read.starts_with("\xEF\xBB\xBF")) {
            read.remove_prefix(3);
        }
        std::string expected;
        std::string repaired;
        std::size_t replaced = 0;
        bool valid = true;
        for (std::size_t i = 0; i < read.size();) {
            bool complete = false;
            const std::size_t length = PieceLength(read, i, complete);
            const std::string form = complete ? FormOf(read.substr(i, length)) : "?";
            expected += form;
            repaired += complete ? read.substr(i, length) : "?";
            replaced += form == "?" && read[i] != '?';
            valid = valid && complete;
            i += length;
        }
        const TShiftJisRecord record = TranscodeToShiftJis(text, {TSgfCharset::Utf8, "UTF-8"});
        EXPECT_EQ(record.bytes, expected);
        EXPECT_EQ(record.replaced, replaced);
        // Without a CA property, told by its bytes (a leading mark is a character there): UTF-8
        // exactly when they are UTF-8 with a byte above 0x7F; else Shift-JIS, or an East Asian
        // encoding that reads the soup better.
        const std::string_view whole = std::string_view(text).substr(0, text.find('\0'));
        const bool high = std::any_of(whole.begin(), whole.end(),
                                      [](char c) { return static_cast<unsigned char>(c) > 0x7F; });
        if (text.find("CA") == std::string::npos) {
            EXPECT_EQ(SgfEncodingOf(text).charset == TSgfCharset::Utf8, valid && high);
        }
        const std::string mark = whole.size() == read.size() ? "" : "\xEF\xBB\xBF";
        EXPECT_EQ(SgfRecordAsUtf8("(;CA[UTF-8]" + text), "(;CA[UTF-8]" + mark + repaired);
    }
}
