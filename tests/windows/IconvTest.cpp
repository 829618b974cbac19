#include <cerrno>
#include <gtest/gtest.h>
#include <iconv.h>
#include <string>

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
