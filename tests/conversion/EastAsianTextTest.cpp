#include "conversion/EastAsianText.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// The text of each record stands in a comment above its bytes.

namespace {

// The records of one file of the labelled set (scripts/make-encoding-set), separated by NULs.
std::vector<std::string> LabelledRecords(const std::string& label, const std::string& kind) {
    const std::string path = std::string(MORVANE_ENCODING_SET) + "/" + label + "." + kind + ".sgfs";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        ADD_FAILURE() << "no labelled set at " << path;
        return {};
    }
    const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> records;
    for (std::size_t from = 0;;) {
        const std::size_t nul = all.find('\0', from);
        records.push_back(all.substr(from, nul - from));
        if (nul == std::string::npos) {
            return records;
        }
        from = nul + 1;
    }
}

}  // namespace

TEST(EastAsianText, TellsTheLabelledSetApart) {
    // The true encodings (rows) against the told ones (columns); CP949 is EUC-KR's column.
    const std::array<const char*, 5> labels = {"Shift_JIS", "EUC-JP", "GB18030", "Big5", "EUC-KR"};
    for (const char* kind : {"short", "long", "names"}) {
        std::printf("%-6s %-10s %9s %6s %7s %5s %6s\n", kind, "true\\told", "Shift_JIS", "EUC-JP",
                    "GB18030", "Big5", "EUC-KR");
        for (std::size_t row = 0; row < labels.size(); ++row) {
            const std::vector<std::string> records = kind == std::string("names") && row > 0
                                                         ? std::vector<std::string>{}
                                                         : LabelledRecords(labels[row], kind);
            if (records.empty()) {
                continue;
            }
            std::array<std::size_t, 5> told{};
            for (const std::string& record : records) {
                std::string name = TellEastAsianEncoding(record).value_or("Shift_JIS");
                if (name == "CP949") {
                    name = "EUC-KR";
                }
                for (std::size_t column = 0; column < labels.size(); ++column) {
                    told[column] += name == labels[column] ? 1 : 0;
                }
            }
            std::printf("%-6s %-10s %9zu %6zu %7zu %5zu %6zu\n", "", labels[row], told[0], told[1],
                        told[2], told[3], told[4]);
            SCOPED_TRACE(std::string(labels[row]) + ", " + kind);
            EXPECT_EQ(told[0] + told[1] + told[2] + told[3] + told[4], records.size());
            if (row == 0) {
                // A Japanese record never changes.
                EXPECT_EQ(told[0], records.size());
            } else {
                // At least 98 % of the names alone and 99.5 % of the full records.
                const double share = kind == std::string("short") ? 0.98 : 0.995;
                EXPECT_GE(static_cast<double>(told[row]),
                          share * static_cast<double>(records.size()));
            }
        }
    }
}

TEST(EastAsianText, TellsRecordsThatShowTheirEncodingAndLeavesTheRestToShiftJis) {
    struct Row {
        const char* name;
        std::string text;
        std::optional<std::string> told;
    };
    const Row rows[] = {
        // (;GM[1]SZ[19]PB[柯潔]PW[古力]EV[第十屆春蘭杯世界職業圍棋錦標賽];B[pd];W[dd]): 潔 ends in
        // "]" (0x5D) as Shift-JIS reads it.
        {"Big5, a second byte that is a ] of the record's structure",
         "(;GM[1]SZ[19]PB[\xAC_\xBC\xE4]PW[\xA5j\xA4O]EV[\xB2\xC4\xA4Q\xA9\xA1\xACK\xC4\xF5\xAAM"
         "\xA5@\xAC\xC9\xC2\xBE\xB7~\xB3\xF2\xB4\xD1\xC0"
         "A\xBC\xD0\xC1\xC9];B[pd];W[dd])",
         "Big5"},
        // (;GM[1]SZ[19]PB[柯洁]PW[古力]EV[第十届春兰杯世界职业围棋锦标赛];B[pd];W[dd])
        {"GB2312",
         "(;GM[1]SZ[19]PB[\xBF\xC2\xBD\xE0]PW[\xB9\xC5\xC1\xA6]EV[\xB5\xDA\xCA\xAE\xBD\xEC\xB4\xBA"
         "\xC0\xBC\xB1\xAD\xCA\xC0\xBD\xE7\xD6\xB0\xD2\xB5\xCE\xA7\xC6\xE5\xBD\xF5\xB1\xEA\xC8\xFC]"
         ";"
         "B[pd];W[dd])",
         "GB18030"},
        // (;PB[柯洁]PW[古力]C[黑中盘胜，한국 棋院]): hangul in four bytes each
        {"GB18030 with characters of four bytes",
         "(;PB[\xBF\xC2\xBD\xE0]PW[\xB9\xC5\xC1\xA6]C[\xBA\xDA\xD6\xD0\xC5\xCC\xCA\xA4\xA3\xAC\x83"
         "6\x84"
         "3\x82"
         "7\xF4"
         "0 \xC6\xE5\xD4\xBA])",
         "GB18030"},
        // (;GM[1]SZ[19]PB[커제]PW[구리]EV[제10회 춘란배 세계바둑선수권대회];B[pd];W[dd])
        {"EUC-KR",
         "(;GM[1]SZ[19]PB[\xC4\xBF\xC1\xA6]PW[\xB1\xB8\xB8\xAE]EV[\xC1\xA6"
         "10\xC8\xB8 \xC3\xE1\xB6\xF5\xB9\xE8 \xBC\xBC\xB0\xE8\xB9\xD9\xB5\xCF\xBC\xB1\xBC\xF6\xB1"
         "\xC7\xB4\xEB\xC8\xB8];B[pd];W[dd])",
         "EUC-KR"},
        // The Big5 record's text in the hanja of EUC-KR.
        {"EUC-KR, hanja only",
         "(;GM[1]SZ[19]PB[\xCA\xAF\xCC\xBE]PW[\xCD\xAF\xD5\xF4]EV[\xF0\xAF\xE4\xA8\xCC\xFA\xF5\xF0"
         "\xD5\xB5\xDB\xCA\xE1\xA6\xCD\xA3\xF2\xC5\xE5\xF6\xEA\xCC\xD1\xA4\xD0\xDE\xF8\xF6\xDF\xDF]"
         ";"
         "B[pd];W[dd])",
         "EUC-KR"},
        // (;PB[이세돌]PW[박정환]C[햏햏, 오늘은 바둑이 잘 안 된다.]): 햏 is no syllable of EUC-KR
        {"Unified Hangul Code",
         "(;PB[\xC0\xCC\xBC\xBC\xB5\xB9]PW[\xB9\xDA\xC1\xA4\xC8\xAF]C[\xC1"
         "d\xC1"
         "d, \xBF\xC0\xB4\xC3\xC0\xBA \xB9\xD9\xB5\xCF\xC0\xCC \xC0\xDF \xBE\xC8 "
         "\xB5\xC8\xB4\xD9.])",
         "CP949"},
        // (;PB[井山裕太]PW[一力遼]C[黒の中押し勝ち。])
        {"EUC-JP",
         "(;PB[\xB0\xE6\xBB\xB3\xCD\xB5\xC2\xC0]PW[\xB0\xEC\xCE\xCF\xCE\xCB]C[\xB9\xF5\xA4\xCE\xC3"
         "\xE6\xB2\xA1\xA4\xB7\xBE\xA1\xA4\xC1\xA1\xA3])",
         "EUC-JP"},
        // (;PB[古力])
        {"GB2312, one name of two characters", "(;PB[\xB9\xC5\xC1\xA6])", "GB18030"},
        // (;PB[이]), or ﾀﾌ in Shift-JIS: one character proves nothing.
        {"one character", "(;PB[\xC0\xCC])", std::nullopt},
        // (;PB[ｸﾛ]PW[ｼﾛ]): EUC-KR would read two one-syllable names.
        {"Shift-JIS, half-width names of two kana", "(;PB[\xB8\xDB]PW[\xBC\xDB])", std::nullopt},
        // (;PB[ﾀﾛｳ]PW[ﾀﾛｳ]): Big5 would take each "]" into a character and run on into "PW[".
        {"Shift-JIS, half-width names that Big5 would run together",
         "(;PB[\xC0\xDB\xB3]PW[\xC0\xDB\xB3])", std::nullopt},
        // (;PB[ﾀｶﾊｼ ﾐﾕｷ]PW[ｽｽﾞｷ ｲﾁﾛｳ])
        {"Shift-JIS, half-width names",
         "(;PB[\xC0\xB6\xCA\xBC \xD0\xD5\xB7]PW[\xBD\xBD\xDE\xB7 \xB2\xC1\xDB\xB3])", std::nullopt},
        // (;PB[山﨑]PW[髙橋]): kanji of code page 932 alone
        {"Shift-JIS, IBM kanji", "(;PB[\x8ER\xFA\xB1]PW[\xFB\xFC\x8B\xB4])", std::nullopt},
        // (;PB[鷲尾]PW[鶯谷]): second-level kanji
        {"Shift-JIS, second-level kanji", "(;PB[\x98h\x94\xF6]PW[\xE9\xF2\x92J])", std::nullopt},
        // (;PB[張栩]): 栩 ends in "z"
        {"Shift-JIS, a name of two kanji alone", "(;PB[\x92\xA3\x9Ez])", std::nullopt},
        // A French comment in Latin-1: no East Asian encoding reads it well.
        {"Latin-1",
         "(;C[Partie comment\xE9"
         "e: les premiers coups sont plac\xE9s sur la troisi\xE8"
         "me ligne \xE0 9x9])",
         std::nullopt},
        {"ASCII", "(;PB[Kuro]PW[Shiro])", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(TellEastAsianEncoding(row.text), row.told);
    }
}
