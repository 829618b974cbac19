#include "bench/HostileRecords.h"

#include <random>
#include <string>

namespace {

const std::string UGF_HEADER = "[Header]\r\nVer=UGF,100\r\nLang=SJIS\r\nCrypt=0,PLAIN_UGF_FILE\r\n";

// text repeated until the record holds about bytes in all.
void Repeat(std::string& record, const std::string& text, std::size_t bytes) {
    record.reserve(bytes + 64);
    while (record.size() + text.size() <= bytes) {
        record += text;
    }
}

// 'PD' to 'SS' and so on: a point on a 19 x 19 board for n.
std::string Point(std::size_t n) {
    std::string point(2, 'A');
    point[0] = static_cast<char>('A' + n % 19);
    point[1] = static_cast<char>('A' + n / 19 % 19);
    return point;
}

std::string EqualsLine(std::size_t bytes) {
    std::string record = UGF_HEADER + "Title=";
    Repeat(record, "=", bytes);
    record += "\r\nSize=19\r\n[Data]\r\nPD,B1,1,0\r\n";
    return record;
}

std::string Semicolons(std::size_t bytes) {
    std::string record = "(;GM[1]SZ[19];B[pd]";
    Repeat(record, ";", bytes);
    record += "W[dp])\r\n";
    return record;
}

std::string EmptyValues(std::size_t bytes) {
    std::string record = "(;GM[1]SZ[19]C";
    Repeat(record, "[]", bytes);
    record += ";B[pd])\r\n";
    return record;
}

std::string EmptyStones(std::size_t bytes) {
    // Each empty value of AB is a handicap line of the UGF: the output is four and a half times
    // the record.
    std::string record = "(;GM[1]SZ[19]AB";
    Repeat(record, "[]", bytes);
    record += ";B[pd])\r\n";
    return record;
}

std::string Brackets(std::size_t bytes) {
    // A million nested "(", each with a move, then the variations beside each, in one comment's
    // worth of ")" and "(": a stack frame or a list entry a level would show.
    std::string record = "(;GM[1]SZ[19]";
    const std::size_t depth = bytes / 16;
    record.reserve(bytes + 64);
    for (std::size_t n = 0; n < depth; ++n) {
        record += "(;B[pd]";
    }
    for (std::size_t n = 0; n < depth; ++n) {
        record += ")(;W[dp])";
    }
    record += ")";
    return record;
}

std::string UgfMoves(std::size_t bytes) {
    std::string record = UGF_HEADER + "Size=19\r\nHdcp=0,6.5\r\nWinner=B,C\r\n[Data]\r\n";
    record.reserve(bytes + 64);
    for (std::size_t n = 1; record.size() < bytes; ++n) {
        record += Point(n);
        record += n % 2 ? ",B1," : ",W1,";
        record += std::to_string(n);
        record += ",0\r\n";
    }
    return record;
}

std::string Variations(std::size_t bytes) {
    std::string record = "(;GM[1]SZ[19];B[pd]";
    Repeat(record, "(;W[dp])", bytes);
    record += ")\r\n";
    return record;
}

std::string Nesting(std::size_t bytes) {
    std::string record = "(;GM[1]SZ[19]";
    const std::size_t depth = bytes / 8;
    record.reserve(bytes + 64);
    for (std::size_t n = 0; n < depth; ++n) {
        record += n % 2 ? "(;W[dp]" : "(;B[pd]";
    }
    record.append(depth, ')');
    record += ")";
    return record;
}

std::string OneLine(std::size_t bytes) {
    // No line end anywhere, not even at the end.
    std::string record = "(;GM[1]SZ[19]PB[\x8E\x52\x93\x63]";
    record.reserve(bytes + 64);
    for (std::size_t n = 0; record.size() + 16 < bytes; ++n) {
        record += n % 2 ? ";W[" : ";B[";
        record += static_cast<char>('a' + n % 19);
        record += static_cast<char>('a' + n / 19 % 19);
        record += ']';
    }
    record += ")";
    return record;
}

std::string NulBytes(std::size_t bytes) {
    // A record whose text ends at a NUL in a move line, with NUL bytes and lines after it.
    std::string record = UGF_HEADER + "Size=19\r\n[Data]\r\n";
    Repeat(record, "PD,B1,1,0\r\n", bytes / 2);
    record += "DD,W1,2,0";
    Repeat(record, std::string("\0\0\r\nQQ,B1,3,0\0", 14), bytes);
    return record;
}

std::string ValuesOnOneLine(std::size_t bytes) {
    // Values longer than the splitter's look-ahead, each with a double-byte character, on a line
    // that is not the last: a search for the "\" that none holds must not run at every value.
    std::string record = "(;GM[1]SZ[19]\r\n;B[pd]";
    Repeat(record, "C[\x82\xA0 a comment longer than thirty-two bytes];W[dp]", bytes);
    record += "\r\n)\r\n";
    return record;
}

std::string TrailBackslashes(std::size_t bytes) {
    // One value whose double-byte characters end in the byte of "\" (表 is 0x95 0x5C), far
    // apart, and its "]" at the far end.
    std::string record = "(;GM[1]SZ[19]C[";
    Repeat(record, "\x95\x5C and more than thirty-two bytes of text after it", bytes);
    record += "]\r\n;B[pd])\r\n";
    return record;
}

// bytes random bytes from 0x80 to 0xFF with ASCII brackets, escapes and separators among them.
std::string RandomHighBytes(std::string record, std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    const char mixed[] = {'[', ']', '\\', ';', '(', ')', '\r', '\n'};
    record.reserve(bytes + 64);
    while (record.size() < bytes) {
        const unsigned value = random();
        record += value % 16 == 0 ? mixed[value / 16 % sizeof mixed]
                                  : static_cast<char>(0x80 | (value >> 8 & 0x7F));
    }
    record += "];B[pd])\r\n";
    return record;
}

std::string InvalidUtf8(std::size_t bytes) {
    return RandomHighBytes("(;GM[1]CA[UTF-8]SZ[19]C[", bytes, 5);
}

std::string InvalidShiftJis(std::size_t bytes) {
    return RandomHighBytes("(;GM[1]SZ[19]C[", bytes, 6);
}

}  // namespace

const std::vector<THostileRecord>& HostileRecords() {
    static const std::vector<THostileRecord> records{
        {"equals.ugf", "\"=\" on one UGF header line", EqualsLine},
        {"semicolons.sgf", "\";\" in one SGF node", Semicolons},
        {"empty-values.sgf", "empty values \"[]\"", EmptyValues},
        {"empty-stones.sgf", "empty values of AB", EmptyStones},
        {"brackets.sgf", "nested variations beside each", Brackets},
        {"moves.ugf", "UGF, one move a line", UgfMoves},
        {"variations.sgf", "SGF variations", Variations},
        {"nesting.sgf", "SGF nested \"(\" a node deep", Nesting},
        {"one-line.sgf", "SGF on one line, no line end", OneLine},
        {"nul.ugf", "UGF with NUL bytes", NulBytes},
        {"long-values.sgf", "long values on one line", ValuesOnOneLine},
        {"trail-5c.sgf", "one value of 0x5C trail bytes", TrailBackslashes},
        {"invalid-utf8.sgf", "invalid UTF-8 (CA[UTF-8])", InvalidUtf8},
        {"invalid-sjis.sgf", "invalid Shift-JIS", InvalidShiftJis},
    };
    return records;
}
