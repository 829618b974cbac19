#include <cerrno>
#include <gtest/gtest.h>
#include <iconv.h>
#include <string>

using namespace std::string_literals;

namespace {

struct TConversion {
    std::size_t result;
    int error;  // errno when result is (size_t)-1, else 0
    std::size_t consumed;
    std::string output;
};

TConversion Convert(const char* to, const char* from, const std::string& input,
                    std::size_t room = 64) {
    const iconv_t converter = iconv_open(to, from);
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1)) << to << " from " << from;
    std::string output(room, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = room;
    errno = 0;
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    EXPECT_EQ(iconv_close(converter), 0);
    output.resize(room - outLeft);
    return {result, error, input.size() - inLeft, output};
}

}  // namespace

TEST(Iconv, ConvertsBetweenTheJapaneseEncodings) {
    struct Row {
        const char* name;
        const char* to;
        const char* from;
        std::string input;
        std::string output;
    };
    const Row rows[] = {
        {"Shift-JIS to UTF-8", "UTF-8", "CP932", "A\x95\x5C\x83\x41\\~", "A表ア\\~"},
        {"UTF-8 to Shift-JIS", "CP932", "UTF-8", "A表ア\\~", "A\x95\x5C\x83\x41\\~"},
        {"names without regard to case, - or _", "utf8", "shift_jis", "\x95\x5C", "表"},
        {"SJIS and WINDOWS-31J", "SJIS", "Windows-31J", "\x95\x5C", "\x95\x5C"},
        {"EUC-JP to Shift-JIS", "CP932", "EUC-JP", "\xC9\xBD\x8E\xB1", "\x95\x5C\xB1"},
        {"Shift-JIS to EUC-JP", "EUC-JP", "CP932", "\x95\x5C\xB1", "\xC9\xBD\x8E\xB1"},
        {"four-byte UTF-8 through a surrogate pair", "UTF-8", "UTF-8", "\xF0\x9F\x98\x80",
         "\xF0\x9F\x98\x80"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TConversion conversion = Convert(row.to, row.from, row.input);
        EXPECT_EQ(conversion.result, 0u);
        EXPECT_EQ(conversion.consumed, row.input.size());
        EXPECT_EQ(conversion.output, row.output);
    }
}

TEST(Iconv, StopsAtTheFirstCharacterItCannotConvert) {
    struct Row {
        const char* name;
        const char* to;
        const char* from;
        std::string input;
        int error;
        std::size_t consumed;  // the bytes before the character that stopped it
    };
    const Row rows[] = {
        {"invalid trail byte", "UTF-8", "CP932", "a\x81\x20z", EILSEQ, 1},
        {"byte that starts no character", "UTF-8", "CP932", "a\xFDz", EILSEQ, 1},
        {"lead byte at the end", "UTF-8", "CP932", "a\x95", EINVAL, 1},
        {"UTF-8 cut off", "CP932", "UTF-8", "a\xE8\xA1", EINVAL, 1},
        {"UTF-8 broken", "CP932", "UTF-8", "a\xE8Zz", EILSEQ, 1},
        {"UTF-8 overlong", "CP932", "UTF-8", "a\xC0\xAF", EILSEQ, 1},
        {"UTF-8 surrogate", "UTF-8", "UTF-8", "a\xED\xA0\x80", EILSEQ, 1},
        {"Hangul has no Shift-JIS", "CP932", "UTF-8", "a한", EILSEQ, 1},
        // The best fit for the yen sign would be byte 0x5C, a path separator.
        {"no best fit: yen sign", "CP932", "UTF-8", "a¥", EILSEQ, 1},
        {"EUC-JP three-byte character", "UTF-8", "EUC-JP", "a\x8F\xB0\xA1", EILSEQ, 1},
        {"EUC-JP three-byte character cut off", "UTF-8", "EUC-JP", "a\x8F\xB0", EINVAL, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TConversion conversion = Convert(row.to, row.from, row.input);
        EXPECT_EQ(conversion.result, static_cast<std::size_t>(-1));
        EXPECT_EQ(conversion.error, row.error);
        EXPECT_EQ(conversion.consumed, row.consumed);
        EXPECT_EQ(conversion.output, row.input.substr(0, row.consumed));
    }
}

// UTF-16, GB18030 and ISO-2022-JP are read by the library itself, as the GNU C library reads them.
TEST(Iconv, ReadsTheEncodingsItDecodesItself) {
    struct Row {
        const char* name;
        const char* from;
        std::string input;
        std::string output;
        int error;  // 0 when all of input converts
        std::size_t consumed;
    };
    const Row rows[] = {
        {"UTF-16LE, a surrogate pair", "UTF-16LE", "a\0=\xD8\0\xDE"s, "a😀", 0, 6},
        {"UTF-16BE, a low surrogate alone", "UTF-16BE", "\0a\xDE\0\0b"s, "a", EILSEQ, 2},
        {"UTF-16BE, a high surrogate without its pair", "UTF-16BE", "\xD8\0\0b"s, "", EILSEQ, 0},
        {"UTF-16LE cut inside a pair", "UTF-16LE", "a\0=\xD8\0"s, "a", EINVAL, 2},
        {"GB18030, two and four bytes, and past U+FFFF", "GB18030",
         "a\xD6\xD0\x84\x31\x97\x33\x81\x30\x81\x30\x94\x39\xFC\x36", "a中ｱ\u0080😀", 0, 15},
        {"GB18030, a four-byte character cut off", "GB18030", "a\x84\x31\x97", "a", EINVAL, 1},
        {"GB18030, a number between U+FFFF and the planes", "GB18030", "\x84\x31\xA5\x30", "",
         EILSEQ, 0},
        {"GB18030, a byte that starts no character", "GB18030", "a\x80", "a", EILSEQ, 1},
        {"ISO-2022-JP, its sets, control bytes in each", "ISO-2022-JP",
         "a\x1B$BF|\nK\\\x1B(J\\~\x1B(B\\~\x1B$Cx", "a日\n本¥‾\\~\x1B$Cx", 0, 23},
        {"ISO-2022-JP, an escape cut off", "ISO-2022-JP", "a\x1B$", "a", EINVAL, 1},
        {"ISO-2022-JP, a byte above 0x7F", "ISO-2022-JP", "a\x1B$BF|\xA1", "a日", EILSEQ, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TConversion conversion = Convert("UTF-8", row.from, row.input);
        EXPECT_EQ(conversion.result, row.error == 0 ? 0 : static_cast<std::size_t>(-1));
        EXPECT_EQ(conversion.error, row.error);
        EXPECT_EQ(conversion.consumed, row.consumed);
        EXPECT_EQ(conversion.output, row.output);
    }
    // A reset goes back to ASCII.
    const iconv_t converter = iconv_open("UTF-8", "ISO-2022-JP");
    std::string input = "\x1B$BF|";
    char* in = input.data();
    std::size_t inLeft = input.size();
    char output[8];
    char* out = output;
    std::size_t outLeft = sizeof output;
    EXPECT_EQ(iconv(converter, &in, &inLeft, &out, &outLeft), 0u);
    EXPECT_EQ(iconv(converter, nullptr, nullptr, nullptr, nullptr), 0u);
    in = input.data() + 3;
    inLeft = 2;
    out = output;
    outLeft = sizeof output;
    EXPECT_EQ(iconv(converter, &in, &inLeft, &out, &outLeft), 0u);
    EXPECT_EQ(std::string(output, out), "F|");
    EXPECT_EQ(iconv_close(converter), 0);
}

TEST(Iconv, ConvertsWholeCharactersUntilTheOutputIsFull) {
    const TConversion conversion = Convert("UTF-8", "CP932", "\x95\x5C\x95\x5C", 5);
    EXPECT_EQ(conversion.error, E2BIG);
    EXPECT_EQ(conversion.consumed, 2u);
    EXPECT_EQ(conversion.output, "表");
    EXPECT_EQ(Convert("CP932", "UTF-8", "ab", 1).error, E2BIG);
}

TEST(Iconv, RefusesNamesItDoesNotKnow) {
    for (const char* name : {"KLINGON", "UTF-8//TRANSLIT", "CP50220", "CP99999", ""}) {
        SCOPED_TRACE(name);
        errno = 0;
        EXPECT_EQ(iconv_open(name, "CP932"), reinterpret_cast<iconv_t>(-1));
        EXPECT_EQ(errno, EINVAL);
        EXPECT_EQ(iconv_open("CP932", name), reinterpret_cast<iconv_t>(-1));
    }
    const iconv_t converter = iconv_open("UTF-8", "CP932");
    EXPECT_EQ(iconv(converter, nullptr, nullptr, nullptr, nullptr), 0u);
    EXPECT_EQ(iconv_close(converter), 0);
}
