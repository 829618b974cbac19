#include "conversion/UgfRecord.h"

#include "conversion/Text.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <system_error>
#include <utility>

namespace {

// A count of ASCII digits alone that fits a signed 32-bit integer; leading zeros are allowed.
std::optional<std::int32_t> DecimalCount(std::string_view text) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The first three fields of a data line and how many fields it has, counted up to four (no reader
// looks further), cut at "," as SplitFields cuts them, as views into the line.
struct TFieldViews {
    std::string_view first[3];
    std::size_t count = 0;
};

TFieldViews FirstFields(std::string_view line) {
    TFieldViews fields;
    // Without a lead byte or a NUL before the third "," every "," is a cut, found byte by byte;
    // what follows the third is never looked at.
    const char* const data = line.data();
    const std::size_t size = line.size();
    std::size_t begin = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == ',') {
            fields.first[fields.count++] = std::string_view(data + begin, i - begin);
            begin = i + 1;
            if (fields.count == std::size(fields.first)) {
                fields.count = 4;
                return fields;
            }
        } else if (static_cast<signed char>(c) <= 0) {
            fields = {};
            ForEachPiece(line, ",", false, [&fields](std::string_view field) {
                if (fields.count < std::size(fields.first)) {
                    fields.first[fields.count] = field;
                }
                fields.count = std::min<std::size_t>(fields.count + 1, 4);
            });
            return fields;
        }
    }
    if (size > 0) {  // an empty text has no fields
        fields.first[fields.count++] = std::string_view(data + begin, size - begin);
    }
    return fields;
}

}  // namespace

TUgfSections FindUgfSections(std::string_view text) {
    TUgfSections sections;
    TLineCursor cursor(text);
    constexpr std::size_t LARGEST = std::numeric_limits<int>::max();
    for (std::string_view line; cursor.Next(line); ++sections.lineCount) {
        // Only a line of a marker's length can be one.
        if (line.size() < 6 || line.size() > 9 || line.front() != '[' ||
            sections.lineCount > LARGEST) {
            continue;
        }
        const int at = static_cast<int>(sections.lineCount);
        for (auto [marker, found] :
             {std::pair<std::string_view, int*>{"[Header]", &sections.header},
              {"[Data]", &sections.data},
              {"[Comment]", &sections.comment}}) {
            if (*found < 0 && SameTextIgnoringCase(line, marker)) {
                *found = at;
            }
        }
    }
    return sections;
}

std::optional<TUgfForm> ReadUgfCrypt(std::string_view value) {
    constexpr std::string_view PLAIN = "0,PLAIN_UGF_FILE";
    if (value == PLAIN) {
        return TUgfForm::Older;
    }
    if (value.size() > PLAIN.size() && value.starts_with(PLAIN) && value[PLAIN.size()] == ',') {
        return TUgfForm::Newer;
    }
    return std::nullopt;
}

bool IsUgfSectionLine(std::string_view line) {
    return line.starts_with('[') && EndsWithCharacter(line, ']');
}

int FindNextSectionLine(std::string_view text, int after) {
    if (after < 0) {
        return -1;
    }
    TLineCursor cursor(text);
    int at = 0;
    for (std::string_view line; cursor.Next(line) && at < std::numeric_limits<int>::max(); ++at) {
        if (at > after && IsUgfSectionLine(line)) {
            return at;
        }
    }
    return -1;
}

TUgfDataLines LocateUgfDataLines(const TUgfSections& sections, std::size_t lineCount,
                                 std::int32_t handicap) {
    TUgfDataLines lines;
    if (sections.data < 0) {
        return lines;
    }
    const std::size_t begin = static_cast<std::size_t>(sections.data) + 1;
    // Lines from "[Comment]" on are free text: a handicap count larger than the data section
    // never reaches into them.
    std::size_t end =
        sections.comment >= 0 ? static_cast<std::size_t>(sections.comment) : lineCount;
    end = std::max(end, begin);
    const std::size_t count = handicap > 0 ? static_cast<std::size_t>(handicap) : 0;
    lines.handicapBegin = begin;
    lines.moveBegin = begin + std::min(count, end - begin);
    lines.end = end;
    return lines;
}

const std::vector<std::string>& SplitFields(std::string_view text, TStringSplit& split) {
    // assign(1, c) rather than a literal: GCC 12 at -O2 warns falsely (-Wrestrict) on the latter.
    split.pattern.assign(1, ',');
    split.patterncut = true;
    split.expr.assign(text);
    split.Split();
    return split.items;
}

std::string_view FieldOf(const std::vector<std::string>& fields, std::size_t n) {
    return n >= 1 && n <= fields.size() ? std::string_view(fields[n - 1]) : std::string_view();
}

void LeaveSplitAsLineLeftIt(std::string_view line, char separator, TStringSplit& split) {
    // A separator byte is never a trail byte here (both are below 0x40) and a line holds no NUL,
    // so every such byte is one cut.
    if (static_cast<std::size_t>(std::count(line.begin(), line.end(), separator)) >=
        LEFTOVER_PIECES) {
        return;
    }
    split.pattern.assign(1, separator);
    split.patterncut = true;
    split.expr.assign(line);
    split.Split();
}

void TUgfHeader::ReadLine(std::string_view line, TConversionState& state) {
    // The first two pieces as ForEachPiece gives them: each search starts afresh at the rest.
    const std::size_t first = FindFrom("=", line);
    const std::string_view key = line.substr(0, first);
    std::string_view value;
    if (first != std::string_view::npos) {
        const std::string_view rest = line.substr(first + 1);
        value = rest.substr(0, FindFrom("=", rest));
    }
    state.ClassifyKey(key);
    if (state.KeyCode >= keys::VER && state.KeyCode <= keys::COMMENT) {
        m_values[state.KeyCode] = value;
        m_read[state.KeyCode] = true;
        return;
    }
    // The newer form's own keys, which the key code table does not know.
    constexpr std::string_view NEWER_KEYS[] = {"PlayerB", "PlayerW", "CoordinateType"};
    for (std::size_t i = 0; i < std::size(NEWER_KEYS); ++i) {
        if (key == NEWER_KEYS[i]) {
            m_newer[i] = std::string(value);
        }
    }
}

const std::string& TUgfHeader::Value(std::uint8_t code) const {
    return code < m_values.size() ? m_values[code] : m_values[0];  // m_values[0] stays empty
}

bool TUgfHeader::Has(std::uint8_t code) const { return code < m_read.size() && m_read[code]; }

const std::optional<std::string>& TUgfHeader::Value(TUgfNewerKey key) const {
    return m_newer[static_cast<std::size_t>(key)];
}

std::optional<TUgfHandicap> ReadUgfHandicap(std::string_view value, TStringSplit& split) {
    const std::vector<std::string>& fields = SplitFields(value, split);
    TUgfHandicap handicap;
    if (fields.empty()) {
        return handicap;
    }
    const std::optional<std::int32_t> count = DecimalCount(fields[0]);
    if (!count) {
        return std::nullopt;
    }
    handicap.count = *count;
    if (fields.size() >= 2) {
        handicap.komi = fields[1];
    }
    return handicap;
}

TUgfPlayer ReadUgfPlayer(std::string_view value, TStringSplit& split) {
    const std::vector<std::string>& fields = SplitFields(value, split);
    TUgfPlayer player;
    player.name = FieldOf(fields, 1);
    player.rank = FieldOf(fields, 2);
    for (std::size_t i = 2; i < fields.size(); ++i) {
        if (!fields[i].empty()) {
            player.rank += ',';
            player.rank += fields[i];
        }
    }
    return player;
}

TUgfPlayer ReadUgfNewerPlayer(std::string_view value, TStringSplit& split) {
    const std::vector<std::string>& fields = SplitFields(value, split);
    TUgfPlayer player;
    player.name = FieldOf(fields, 1);
    player.rank = FieldOf(fields, 2);
    return player;
}

int IgsRowsOf(const TUgfHeader& header) {
    const std::optional<std::string>& type = header.Value(TUgfNewerKey::CoordinateType);
    if (!type) {
        return 0;
    }
    const std::string_view value = *type;
    const std::size_t comma = FindFrom(",", value);
    if (!SameTextIgnoringCase(value.substr(0, comma), "IGS")) {
        return 0;
    }
    const std::optional<std::int32_t> size = DecimalCount(header.Value(keys::SIZE));
    return size && *size >= 1 && *size <= 25 ? *size : 0;
}

std::string MirrorUgfPoint(std::string_view point, int rows) {
    std::string mirrored(point);
    // The row of a letter counted from 1, or 0 for a byte that is no letter on the board.
    const auto row = [rows](char c) {
        const int upper = c >= 'A' && c <= 'Z' ? c - 'A' + 1 : 0;
        const int lower = c >= 'a' && c <= 'z' ? c - 'a' + 1 : 0;
        const int r = upper + lower;
        return r <= rows ? r : 0;
    };
    if (point.size() != 2 || point == "YA" || row(point[0]) == 0 || row(point[1]) == 0) {
        return mirrored;
    }
    const char first = point[1] >= 'a' ? 'a' : 'A';
    mirrored[1] = static_cast<char>(first + rows - row(point[1]));
    return mirrored;
}

std::string ReadUgfResult(std::string_view value, TStringSplit& split) {
    const std::vector<std::string>& fields = SplitFields(value, split);
    if (fields.size() < 2) {
        return std::string(FieldOf(fields, 1));
    }
    // Kept as designed: "C" after the colour of the side that resigned, so 'B,C' is a white win.
    if (fields[1] == "C") {
        return fields[0] == "B" ? "W+R" : "B+R";
    }
    return fields[0] + "+" + fields[1];
}

std::optional<std::string_view> ReadUgfHandicapLine(std::string_view line) {
    const TFieldViews fields = FirstFields(line);
    if (fields.count < 3 || fields.first[2] != "0") {
        return std::nullopt;
    }
    return fields.first[0];
}

std::optional<TUgfMove> ReadUgfMoveLine(std::string_view line) {
    const TFieldViews fields = FirstFields(line);
    const std::string_view code = fields.count >= 2 ? fields.first[1] : std::string_view();
    TUgfMove move;
    if (code == "B1" || code == "B2") {
        move.colour = 'B';
    } else if (code == "W1" || code == "W2") {
        move.colour = 'W';
    } else {
        return std::nullopt;
    }
    move.point = fields.first[0];
    return move;
}

std::string WriteUgfHeaderText(const TUgfWrittenHeader& header, std::size_t moveCount) {
    std::string text;
    const auto line = [&text](std::string_view key, std::string_view value) {
        text += key;
        text += value;
        text += "\r\n";
    };
    line("[Header]", "");
    line("Ver=UGF,100", "");
    line("Lang=SJIS", "");
    line("Crypt=0,PLAIN_UGF_FILE", "");
    line("Title=", header.title);
    line("Place=", header.place);
    line("Date=", "");
    line("Rule=", header.rule);
    line("Size=", header.size);
    line("Winner=", header.winner);
    line("Moves=", IntToText(static_cast<long long>(moveCount) + 1));
    line("BMemb1=", header.bMemb1);
    line("WMemb1=", header.wMemb1);
    line("User=", header.user);
    line("Copyright=", header.copyright);
    line("Comment=", "");
    line("[Data]", "");
    return text;
}

TLineList WriteUgfRecord(const TUgfWrittenHeader& header, TLineList handicapLines,
                         TLineList moveLines) {
    TLineList lines = SplitLines(WriteUgfHeaderText(header, moveLines.size()));
    lines.reserve(lines.size() + handicapLines.size() + moveLines.size());
    lines.insert(lines.end(), std::make_move_iterator(handicapLines.begin()),
                 std::make_move_iterator(handicapLines.end()));
    lines.insert(lines.end(), std::make_move_iterator(moveLines.begin()),
                 std::make_move_iterator(moveLines.end()));
    return lines;
}

std::string WriteUgfDataLine(std::string_view point, std::string_view colour, long long number) {
    std::string line;
    AppendUgfDataLine(line, point, false, colour, number);
    return line;
}

void AppendUgfDataLine(std::string& out, std::string_view point, bool upper,
                       std::string_view colour, long long number) {
    char digits[24];
    const char* const end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    if (upper) {
        AppendAnsiUpper(out, point);
    } else {
        out += point;
    }
    out += ',';
    out += colour;
    out += ',';
    out.append(digits, static_cast<std::size_t>(end - digits));
    out += ",0";
}
