#include "bench/Records.h"

#include <map>
#include <random>
#include <stdexcept>

namespace {

// 山田ゾ表 (ゾ ends in 0x5D "]", 表 in 0x5C "\"), 三段
const std::string BLACK_NAME = "\x8E\x52\x93\x63\x83\x5D\x95\x5C";
const std::string WHITE_NAME = "\x97\xE9\x96\xD8\x83\x5C";               // 鈴木ソ
const std::string RANK = "\x8E\x4F\x92\x69";                             // 三段
const std::string COMMENT = "\x82\xB1\x82\xB1\x82\xCD\x83\x5D\x95\x5C";  // ここはゾ表

std::string Point(std::mt19937& random) {
    std::string point(2, 'a');
    point[0] = static_cast<char>('a' + random() % 19);
    point[1] = static_cast<char>('a' + random() % 19);
    return point;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string UgfHeader() {
    return "[Header]\r\nVer=UGF,100\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\nTitle=" + COMMENT +
           ",,\r\nPlace=\r\nDate=\r\nRule=JPN\r\nSize=19\r\nHdcp=0,6.5\r\n"
           "Winner=B,C\r\nBMemb1=" +
           BLACK_NAME + "," + RANK + "\r\nWMemb1=" + WHITE_NAME + "," + RANK + "\r\n[Data]\r\n";
}

void AppendUgfMoves(std::string& record, std::size_t moves, std::mt19937& random) {
    for (std::size_t n = 1; n <= moves; ++n) {
        record += Upper(Point(random));
        record += n % 2 ? ",B1," : ",W1,";
        record += std::to_string(n);
        record += ",0\r\n";
    }
}

}  // namespace

std::string MakeUgfRecord(std::size_t moves, unsigned seed) {
    std::mt19937 random(seed);
    std::string record = UgfHeader();
    AppendUgfMoves(record, moves, random);
    record += "[Comment]\r\n" + COMMENT + "\r\n";
    return record;
}

std::string MakeLargeUgf(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::string record = UgfHeader();
    while (record.size() < bytes) {
        AppendUgfMoves(record, 1000, random);
    }
    return record;
}

std::string MakeTypicalSgf(unsigned seed, bool utf8) {
    std::mt19937 random(seed);
    // The same texts in UTF-8, as most SGF software writes them today.
    const std::string black = utf8 ? "山田ゾ表" : BLACK_NAME;
    const std::string white = utf8 ? "鈴木ソ" : WHITE_NAME;
    const std::string rank = utf8 ? "三段" : RANK;
    const std::string comment = utf8 ? "ここはゾ表" : COMMENT;
    std::string record = "(;GM[1]FF[4]SZ[19]PB[" + black + "(" + rank + ")]PW[" + white + "]BR[" +
                         rank + "]RE[B+R]KM[6.5]RU[Japanese]\r\n";
    for (int n = 0; n < 250; ++n) {
        record += ";";
        record += n % 2 ? "W[" : "B[";
        record += Point(random) + "]";
        if (n % 25 == 0) {
            record += "C[" + comment + "]";
        }
        if (n % 10 == 9) {
            record += "\r\n";
        }
    }
    record += ")\r\n";
    return record;
}

std::string MakeSingleLineSgf(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::string record =
        "(;GM[1]FF[4]SZ[19]PB[" + BLACK_NAME + "]PW[" + WHITE_NAME + "]RE[W+3.5]AB[dd][pp]";
    for (std::size_t n = 0; record.size() < bytes; ++n) {
        record += n % 2 ? ";W[" : ";B[";
        record += Point(random) + "]";
        if (n % 7 == 0) {
            record += "C[" + COMMENT + "; a (note) with \\] inside " + COMMENT + "]";
        }
        if (n % 50 == 49) {
            record += "(;B[" + Point(random) + "])(;W[" + Point(random) + "]";
            record += ")";
        }
    }
    record += ")\r\n";
    return record;
}

std::string MakeSpreadSgf(std::size_t bytes) {
    const auto addLines = [](std::string& text, std::size_t until) {
        for (std::size_t n = 0; text.size() < until; ++n) {
            text += n % 2 == 0 ? "a long value with (brackets) and \x83\x5C\x83\x5D\x83"
                               : "]still inside the value \x95\x5C\x83\x5D";
            text += "\r\n";
        }
    };
    std::string text = "(;SZ[19]C[start\r\n";
    addLines(text, bytes / 2);
    text += "end];B[pd]C[start\r\n";
    addLines(text, bytes);
    text += "end];W[dd])\r\n";
    return text;
}

const std::vector<std::string>& InputNames() {
    static const std::vector<std::string> names{
        "SgfLine1MB",    "SgfLine4MB", "SgfLine16MB",   "SgfSpread1MB", "SgfSpread4MB",
        "SgfSpread16MB", "Ugf1MB",     "Ugf4MB",        "Ugf16MB",      "Ugf100kMoves",
        "TypicalUgf",    "TypicalSgf", "TypicalSgfUtf8"};
    return names;
}

const std::vector<std::string>& Input(const std::string& name) {
    static std::map<std::string, std::vector<std::string>> made;
    auto found = made.find(name);
    if (found != made.end()) {
        return found->second;
    }
    constexpr std::size_t MB = 1 << 20;
    std::vector<std::string> records;
    if (name.rfind("SgfLine", 0) == 0) {
        records.push_back(MakeSingleLineSgf(std::stoul(name.substr(7)) * MB, 1));
    } else if (name.rfind("SgfSpread", 0) == 0) {
        records.push_back(MakeSpreadSgf(std::stoul(name.substr(9)) * MB));
    } else if (name == "Ugf100kMoves") {
        records.push_back(MakeUgfRecord(100000, 2));
    } else if (name.rfind("Ugf", 0) == 0) {
        records.push_back(MakeLargeUgf(std::stoul(name.substr(3)) * MB, 3));
    } else if (name == "TypicalUgf") {
        for (unsigned i = 0; i < 1000; ++i) {
            records.push_back(MakeUgfRecord(250, i));
        }
    } else if (name == "TypicalSgf" || name == "TypicalSgfUtf8") {
        for (unsigned i = 0; i < 1000; ++i) {
            records.push_back(MakeTypicalSgf(i, name == "TypicalSgfUtf8"));
        }
    } else {
        throw std::invalid_argument("no benchmark input " + name);
    }
    return made.emplace(name, std::move(records)).first->second;
}

std::size_t InputBytes(const std::vector<std::string>& records) {
    std::size_t bytes = 0;
    for (const std::string& record : records) {
        bytes += record.size();
    }
    return bytes;
}
