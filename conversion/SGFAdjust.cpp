#include "conversion/SGFAdjust.h"

#include "conversion/Text.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The splitter works on text, not on a tree. Its steps read as if each cut copied the rest of a
// text and searched it again from its front; here every step walks offsets into the lines of Input
// instead, so each byte is looked at a fixed number of times however the record is laid out (real
// records are often one line of megabytes).

namespace {

using TViews = std::vector<std::string_view>;

constexpr std::size_t NONE = std::string_view::npos;
constexpr std::string_view OPENER = "(;";
constexpr std::string_view CLOSER = ")";
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Where the record starts: the line and the offset in it of the first byte that is neither white
// space (32 or less) nor part of a UTF-8 byte-order mark. An indented opener is still the opener,
// and blank lines before it do not stand in its place. The line is input.size() when there is none.
std::pair<std::size_t, std::size_t> FindRecordStart(const TLineList& input) {
    for (std::size_t line = 0; line < input.size(); ++line) {
        const std::string_view text = input[line];
        std::size_t at = 0;
        while (at < text.size()) {
            if (static_cast<unsigned char>(text[at]) <= 32) {
                ++at;
            } else if (text.substr(at).starts_with(BYTE_ORDER_MARK)) {
                at += BYTE_ORDER_MARK.size();
            } else {
                return {line, at};
            }
        }
    }
    return {input.size(), 0};
}

// text without its leading bytes of value 32 or less.
std::string_view SkipBlanks(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= 32) {
        ++at;
    }
    return text.substr(at);
}

// The text from the first byte that is not blank, in text and then in the lines of input from line
// next on; empty when there is none.
std::string_view NextNonBlank(std::string_view text, const TLineList& input, std::size_t next) {
    std::string_view rest = SkipBlanks(text);
    while (rest.empty() && next < input.size()) {
        rest = SkipBlanks(input[next++]);
    }
    return rest;
}

// True when an ASCII letter comes next, after blanks: a property name, so a node begins there.
bool PropertyFollows(std::string_view text, const TLineList& input, std::size_t next) {
    const std::string_view rest = NextNonBlank(text, input, next);
    const char c = rest.empty() ? '\0' : rest.front();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Joins the record's opening "(" (at input[first], with line the part of it from that "(") to its
// first node when the ";" is not right after it: when the "(" stands alone on its line and the
// next line begins with ";" after blanks, as a current editor writes it ("(", then '  ;GM[1]'), or
// when a property name follows the "(" and the ";" is missing altogether (the Nihon Ki-in writes
// "(", then 'TE[...]'), the record reads as if "(;" stood there. Answers the line to go on with:
// first when the opening is left to the usual rules.
std::size_t JoinOpening(const TLineList& input, std::size_t first, std::string_view line,
                        TViews& joined) {
    if (!line.starts_with('(') || line.starts_with(OPENER)) {
        return first;
    }
    const std::string_view rest = line.substr(1);
    if (SkipBlanks(rest).empty() && first + 1 < input.size()) {
        const std::string_view next = SkipBlanks(input[first + 1]);
        if (next.starts_with(';')) {
            joined.push_back(OPENER);
            if (next.size() > 1) {
                joined.push_back(next.substr(1));
            }
            return first + 2;
        }
    }
    if (PropertyFollows(rest, input, first + 1)) {
        joined.push_back(OPENER);
        if (!rest.empty()) {
            joined.push_back(rest);
        }
        return first + 1;
    }
    return first;
}

// Follows the record's property values from line to line, as SGF reads them: a value opens at a
// "[" outside a value and ends at the first "]" that no "\" escapes. Double-byte characters are
// stepped over whole, so a trail byte that looks like "[", "]" or "\" opens, ends and escapes
// nothing; a lead byte at the end of a line takes the first byte of the next line, as the cutters
// below take it. A "\" at the end of a line escapes the line break, not the next line's first byte.
class TValueTracker {
public:
    // True when the next line begins inside a value.
    bool Open() const { return m_open; }
    // Reads one line, the next one of the record.
    void Feed(std::string_view line);

private:
    bool m_open = false;
    bool m_trailComesNext = false;
};

void TValueTracker::Feed(std::string_view line) {
    std::size_t i = 0;
    if (m_trailComesNext && !line.empty()) {
        m_trailComesNext = false;
        i = 1;
    }
    // Steps over the character at i, which may run over the end of the line.
    const auto stepOverCharacter = [&] {
        const std::size_t length = IsLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
        m_trailComesNext = i + length > line.size();
        i += length;
    };
    while (i < line.size()) {
        const char c = line[i];
        if (!m_open || IsLeadByte(static_cast<unsigned char>(c))) {
            m_open = m_open || c == '[';
            stepOverCharacter();
        } else if (c == ']') {
            m_open = false;
            ++i;
        } else if (c == '\\') {
            // The escaped character is stepped over whole; at the end of a line it is the break.
            if (++i < line.size()) {
                stepOverCharacter();
            }
        } else {
            ++i;
        }
    }
}

// The lines of the record with every opener "(;" as an entry of its own, also one split over two
// lines ("(" then ";...") or with blanks between "(" and ";" ("( ;B[pd]"); empty lines are
// dropped, nothing is trimmed. A line that begins inside a property value is text of that value,
// whatever its first byte: a comment line such as "(in rule 8(1))]" opens no variation.
TViews JoinedEntries(const TLineList& input) {
    TViews joined;
    const auto [first, offset] = FindRecordStart(input);
    std::size_t i = first;
    TValueTracker values;
    if (first < input.size()) {
        i = JoinOpening(input, first, std::string_view(input[first]).substr(offset), joined);
        for (std::size_t read = first; read < i; ++read) {
            values.Feed(read == first ? std::string_view(input[read]).substr(offset) : input[read]);
        }
    }
    for (; i < input.size(); ++i) {
        std::string_view line = input[i];
        if (i == first) {
            line.remove_prefix(offset);
        }
        const bool inValue = values.Open();
        values.Feed(line);
        if (inValue) {
            if (!line.empty()) {
                joined.push_back(line);
            }
        } else if (line.starts_with(OPENER)) {
            joined.push_back(OPENER);
            if (line.size() > OPENER.size()) {
                joined.push_back(line.substr(OPENER.size()));
            }
        } else if (line.starts_with('(') && SkipBlanks(line.substr(1)).starts_with(';')) {
            // Blanks between "(" and ";" change nothing: the node is read as after "(;".
            const std::string_view node = SkipBlanks(line.substr(1));
            joined.push_back(OPENER);
            if (node.size() > 1) {
                joined.push_back(node.substr(1));
            }
        } else if (line.starts_with('(')) {
            // Kept as designed: past the record's opening, whatever follows a "(" on its line is
            // dropped, and a "(" line whose next line does not begin with ";" is dropped whole.
            if (i + 1 < input.size() && input[i + 1].starts_with(';')) {
                joined.push_back(OPENER);
                if (input[i + 1].size() > 1) {
                    joined.push_back(std::string_view(input[i + 1]).substr(1));
                }
                ++i;
                values.Feed(input[i]);
            }
        } else if (!line.empty()) {
            joined.push_back(line);
        }
    }
    return joined;
}

// Puts a final ")" into an entry of its own, so the nodes of the last line are split like those of
// any other line: also when the entry holds an earlier ")" (a rank such as 'Kuro (9d)' in a record
// on one line, or a last line ending in "))").
void SeparateCloser(TViews& joined) {
    std::string_view& last = joined.back();
    if (last != CLOSER && EndsWithCharacter(last, ')')) {
        last.remove_suffix(1);
        joined.push_back(CLOSER);
    }
}

// The header lines (the root node) and the move lines of the joined entries.
struct TSortedLines {
    TViews header;
    TViews moves;
};

TSortedLines SortEntries(const TViews& joined) {
    TSortedLines sorted;
    bool inRoot = true;
    // The first entry (the opener) and the last (the closer) are never taken.
    for (std::size_t i = 1; i + 1 < joined.size(); ++i) {
        const std::string_view entry = joined[i];
        if (!inRoot) {
            sorted.moves.push_back(entry);
            continue;
        }
        // Kept as designed: the first ";" ends the root, even one inside a value ('C[a;b]').
        const std::size_t semicolon = FindFrom(";", entry);
        if (semicolon == NONE) {
            sorted.header.push_back(entry);
            continue;
        }
        inRoot = false;
        sorted.header.push_back(entry.substr(0, semicolon + 1));
        if (semicolon + 1 < entry.size()) {
            sorted.moves.push_back(entry.substr(semicolon + 1));
        }
    }
    // When the root was closed, its last header line ends in that first ";", which goes.
    if (!inRoot) {
        if (sorted.header.back() == ";") {
            sorted.header.pop_back();
        } else {
            sorted.header.back().remove_suffix(1);
        }
    }
    return sorted;
}

// Cuts lines, joined with nothing between them, after every separator byte, exactly where one
// search from the front of the joined text would find them: never on the trail byte of a
// double-byte character (a lead byte at the end of a line takes the first byte of the next line
// as its trail) and never after a NUL. Each byte is looked at once, however many lines a piece
// runs over: the walk resumes where the last line ended instead of at the front of the piece.
class TPieceCutter {
public:
    explicit TPieceCutter(char separator) : m_separator(separator) {
        for (int b = 0; b < 256; ++b) {
            m_stops[b] = IsLeadByte(static_cast<unsigned char>(b));
        }
        m_stops[static_cast<unsigned char>(separator)] = true;
        m_stops[0] = true;
    }

    // Cuts the carried text followed by line; each piece, its separator included, goes to pieces.
    // What follows the last separator becomes the carried text.
    void Feed(std::string_view line, TLineList& pieces);

    // The text after the last separator found so far.
    std::string& Carried() { return m_carried; }

private:
    char m_separator;
    bool m_stops[256];  // the bytes the walk must look at: the separator, NUL and lead bytes
    std::string m_carried;
    bool m_trailComesNext = false;  // the carried text ends in a lead byte without its trail byte
    bool m_stopped = false;         // a NUL in the carried text ends every later search
};

void TPieceCutter::Feed(std::string_view line, TLineList& pieces) {
    if (m_stopped) {
        m_carried.append(line);
        return;
    }
    std::size_t begin = 0;  // where the part of the current piece that lies in line begins
    std::size_t i = 0;
    if (m_trailComesNext && !line.empty()) {
        m_trailComesNext = false;
        if (line[0] == '\0') {
            m_stopped = true;
            m_carried.append(line);
            return;
        }
        i = 1;
    }
    while (i < line.size()) {
        if (!m_stops[static_cast<unsigned char>(line[i])]) {
            ++i;
            continue;
        }
        const char c = line[i];
        if (c == m_separator) {
            std::string& piece = pieces.emplace_back(std::move(m_carried));
            piece.append(line.substr(begin, i + 1 - begin));
            m_carried.clear();
            begin = ++i;
        } else if (c == '\0' || (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < line.size() &&
                                 line[i + 1] == '\0')) {
            m_stopped = true;  // the text ends here, also inside a character
            break;
        } else if (IsLeadByte(static_cast<unsigned char>(c))) {
            m_trailComesNext = i + 1 == line.size();
            i += 2;
        } else {
            ++i;
        }
    }
    m_carried.append(line.substr(begin));
}

// One entry per property value: the header lines cut after every "]". A value running over
// several lines loses its line breaks; text after the last "]" is dropped. Kept as designed: an
// escaped "\]" ends a value like any other "]".
TLineList CutProperties(const TViews& header) {
    TLineList properties;
    TPieceCutter cutter(']');
    for (const std::string_view line : header) {
        cutter.Feed(line, properties);
    }
    return properties;
}

// One entry per move node: the move lines cut after every ";", the ";" left off. The text after
// the last ";" is the last node, even when empty.
TLineList CutMoveNodes(const TViews& moves) {
    TLineList nodes;
    if (moves.empty()) {
        return nodes;
    }
    TPieceCutter cutter(';');
    for (const std::string_view line : moves) {
        cutter.Feed(line, nodes);
    }
    for (std::string& node : nodes) {
        node.pop_back();  // each ends in the ";" it was cut at
    }
    // Kept as designed: a line ending in ";" leaves an empty last node, and ";" then ";" on the
    // next line an empty node between them.
    std::string& last = nodes.emplace_back(std::move(cutter.Carried()));
    if (EndsWithCharacter(last, ';')) {
        last.pop_back();  // only after a NUL, which stops the search for ";"
    }
    return nodes;
}

// Moves the black setup stones of the root ('AB[pd]', and each further value '[dp]' right after
// one, which becomes 'AB[dp]') from properties to stones, in file order; the rest go to the other
// properties, in order. SGF allows blanks and line breaks between properties, between a property's
// name and its value and between values, so an entry is looked at without its blanks, and a stone
// goes without them (' AB[pd]', 'AB [pd]' and ' [dp]' are stones too).
void SeparateHandicap(TLineList& properties, TLineList& others, TLineList& stones) {
    bool followsStone = false;
    for (std::string& property : properties) {
        const std::string_view entry = SkipBlanks(property);
        const std::string_view value =
            entry.starts_with("AB") ? SkipBlanks(entry.substr(2)) : std::string_view();
        if (value.starts_with('[')) {
            std::string& stone = stones.emplace_back("AB");
            stone += value;
            followsStone = true;
        } else if (followsStone && entry.starts_with('[')) {
            std::string& stone = stones.emplace_back("AB");
            stone += entry;
        } else {
            others.push_back(std::move(property));
            followsStone = false;
        }
    }
}

}  // namespace

bool TSGFAdjust::Adjust() {
    OutputHD.clear();
    OutputHA.clear();
    OutputCK.clear();
    if (Input.empty()) {
        return false;
    }
    TViews joined = JoinedEntries(Input);
    if (joined.empty()) {
        return false;
    }
    SeparateCloser(joined);
    if (FindFrom(OPENER, joined.front()) == NONE || FindFrom(CLOSER, joined.back()) == NONE) {
        return false;
    }
    const TSortedLines sorted = SortEntries(joined);
    TLineList properties = CutProperties(sorted.header);
    OutputCK = CutMoveNodes(sorted.moves);
    SeparateHandicap(properties, OutputHD, OutputHA);
    return true;
}

bool HoldsSeveralGameTrees(const TLineList& lines) {
    // "(" (0x28) is never the trail byte of a double-byte character, so each one is found by its
    // byte alone.
    const auto [first, offset] = FindRecordStart(lines);
    bool opening = true;  // the first "(" found is the record's own
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        for (std::size_t at = i == first ? offset : 0;
             (at = line.find('(', at)) != std::string_view::npos; ++at) {
            if (opening) {
                opening = false;
            } else if (NextNonBlank(line.substr(at + 1), lines, i + 1).starts_with(';')) {
                return true;
            }
        }
    }
    return false;
}
