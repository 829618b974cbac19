#include "conversion/SGFAdjust.h"

#include "conversion/Text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

// The splitter works on text, not on a tree. Its steps read as if each cut copied the rest of a
// text and searched it again from its front, and as if each step made a list for the next; here
// the steps are one walk over the lines, front to back, each entry handed from step to step as a
// view as soon as it is found. So each byte is looked at a fixed number of times however the
// record is laid out (real records are often one line of megabytes), and no list of entries is
// kept: a record of millions of nodes or values takes no more memory than its text.

namespace {

constexpr std::size_t NONE = std::string_view::npos;
constexpr std::string_view OPENER = "(;";
constexpr std::string_view CLOSER = ")";
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// The lines of a TLineList one at a time, as TLineCursor gives those of a text.
class TListCursor {
public:
    explicit TListCursor(const TLineList& lines) : m_lines(&lines) {}
    bool Next(std::string_view& line) {
        if (m_at >= m_lines->size()) {
            return false;
        }
        line = (*m_lines)[m_at++];
        return true;
    }

private:
    const TLineList* m_lines;
    std::size_t m_at = 0;
};

// Where the record starts: the first line holding a byte that is neither white space (32 or less)
// nor part of a UTF-8 byte-order mark, from that byte on; cursor is left after that line. An
// indented opener is still the opener, and blank lines before it do not stand in its place. False
// when there is none.
template <typename TCursor>
bool FindRecordStart(TCursor& cursor, std::string_view& start) {
    for (std::string_view text; cursor.Next(text);) {
        std::size_t at = 0;
        while (at < text.size()) {
            if (static_cast<unsigned char>(text[at]) <= 32) {
                ++at;
            } else if (text.substr(at).starts_with(BYTE_ORDER_MARK)) {
                at += BYTE_ORDER_MARK.size();
            } else {
                start = text.substr(at);
                return true;
            }
        }
    }
    return false;
}

// The text from the first byte that is not blank, in text and then in the lines that next (a copy)
// gives; empty when there is none.
template <typename TCursor>
std::string_view NextNonBlank(std::string_view text, TCursor next) {
    std::string_view rest = SkipBlanks(text);
    std::string_view line;
    while (rest.empty() && next.Next(line)) {
        rest = SkipBlanks(line);
    }
    return rest;
}

// True when an ASCII letter comes next, after blanks: a property name, so a node begins there.
template <typename TCursor>
bool PropertyFollows(std::string_view text, const TCursor& next) {
    const std::string_view rest = NextNonBlank(text, next);
    const char c = rest.empty() ? '\0' : rest.front();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// True when data[at] begins a character, data[boundary] being known to begin one: the run of
// lead-byte values right before at, back to boundary, pairs up. Looks at those bytes only.
bool BeginsCharacter(const char* data, std::size_t boundary, std::size_t at) {
    std::size_t run = at;
    while (run > boundary && IsLeadByte(static_cast<unsigned char>(data[run - 1]))) {
        --run;
    }
    return (at - run) % 2 == 0;
}

// The bytes of stops.
constexpr std::array<bool, 256> StopBytes(std::string_view stops) {
    std::array<bool, 256> table{};
    for (const char c : stops) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}

// The length of the character that a byte begins: 2 for a lead byte, else 1.
constexpr std::array<unsigned char, 256> CHARACTER_LENGTHS = [] {
    std::array<unsigned char, 256> lengths{};
    for (int b = 0; b < 256; ++b) {
        lengths[static_cast<std::size_t>(b)] = IsLeadByte(static_cast<unsigned char>(b)) ? 2 : 1;
    }
    return lengths;
}();
constexpr const unsigned char* CHARACTER_LENGTH = CHARACTER_LENGTHS.data();

// Follows the record's property values from line to line, as SGF reads them: a value opens at a
// "[" outside a value and ends at the first "]" that no "\" escapes. Double-byte characters are
// stepped over whole, so a trail byte that looks like "[", "]" or "\" opens, ends and escapes
// nothing; a lead byte at the end of a line takes the first byte of the next line, as the cutters
// below take it. A "\" at the end of a line escapes the line break, not the next line's first byte.
// A line is walked only once the next one asks where it begins, so the last line of a record (all
// of a record written on one line) is never walked.
class TValueTracker {
public:
    // True when the next line begins inside a value.
    bool Open() {
        WalkHeldLine();
        return m_open;
    }
    // Takes one line, the next one of the record (a view that stays valid while it is needed).
    void Feed(std::string_view line) {
        WalkHeldLine();
        m_held = line;
        m_holding = true;
    }

private:
    void WalkHeldLine() {
        if (m_holding) {
            m_holding = false;
            Walk(m_held);
        }
    }
    void Walk(std::string_view line);

    bool m_open = false;
    bool m_trailComesNext = false;
    std::string_view m_held;
    bool m_holding = false;
};

void TValueTracker::Walk(std::string_view line) {
    std::size_t i = 0;
    if (m_trailComesNext && !line.empty()) {
        m_trailComesNext = false;
        i = 1;
    }
    // The bytes the walk stops at: outside a value "[", inside one "]" and "\". The next few
    // characters are stepped over by a table look-up, a double-byte one whole; past them the stop
    // is found at the speed of memory, and whether it begins a character is settled by the run of
    // lead-byte values before it, back to the last known character boundary i.
    static constexpr std::array<bool, 256> OUTSIDE = StopBytes("[");
    static constexpr std::array<bool, 256> INSIDE = StopBytes("]\\");
    const char* const data = line.data();
    const std::size_t size = line.size();
    // While the bytes are below 0x80 (no lead byte), every byte is a character, looked at one
    // after the other; from the first byte of another value on, the walk below goes on.
    for (; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c >= 0x80) {
            break;
        }
        if (!m_open) {
            m_open = c == '[';
        } else if (c == ']') {
            m_open = false;
        } else if (c == '\\') {
            if (i + 1 < size && static_cast<unsigned char>(data[i + 1]) >= 0x80) {
                break;  // the escaped character may be a double-byte one: stepped over below
            }
            ++i;  // the escaped character; at the end of a line the break
        }
    }
    if (i >= size) {
        return;
    }
    // The next "[", "]" and "\" at or after a place, each searched again only once the walk has
    // passed it: the one of "]" and "\" that is farther is kept, not searched for at every stop,
    // so a line of many values is walked once.
    std::size_t found[3] = {};
    bool searched[3] = {};
    const auto next = [&](char c, std::size_t from) {
        const int k = c == '[' ? 0 : c == ']' ? 1 : 2;
        if (!searched[k] || found[k] < from) {
            const void* hit = std::memchr(data + from, c, size - from);
            found[k] = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : size;
            searched[k] = true;
        }
        return found[k];
    };
    while (i < size) {
        const std::array<bool, 256>& stops = m_open ? INSIDE : OUTSIDE;
        const std::size_t near = std::min(size, i + 32);
        while (i < near && !stops[static_cast<unsigned char>(data[i])]) {
            i += CHARACTER_LENGTH[static_cast<unsigned char>(data[i])];
        }
        std::size_t at = i;
        if (i >= near) {
            if (i >= size) {
                break;
            }
            at = m_open ? std::min(next(']', i), next('\\', i)) : next('[', i);
            if (at == size) {
                break;
            }
            if (!BeginsCharacter(data, i, at)) {
                i = at + 1;  // a trail byte: its character ends here
                continue;
            }
        }
        i = at + 1;
        if (data[at] == '[') {
            m_open = true;
        } else if (data[at] == ']') {
            m_open = false;
        } else if (i < size) {
            // "\": the escaped character is stepped over whole; at the end of a line it is the
            // break.
            i += CHARACTER_LENGTH[static_cast<unsigned char>(data[i])];
        }
    }
    // A lead byte that begins the line's last character takes the next line's first byte as its
    // trail byte.
    if (i > size || (i < size && IsLeadByte(static_cast<unsigned char>(data[size - 1])) &&
                     BeginsCharacter(data, i, size - 1))) {
        m_trailComesNext = true;
    }
}

// The lines of the record with every opener "(;" as an entry of its own, also one split over two
// lines ("(" then ";...") or with blanks between "(" and ";" ("( ;B[pd]"); empty lines are
// dropped, nothing is trimmed. A line that begins inside a property value is text of that value,
// whatever its first byte: a comment line such as "(in rule 8(1))]" opens no variation. Handed out
// one entry at a time, each a view into a line (or the opener itself).
template <typename TCursor>
class TJoinedEntries {
public:
    // With starts, the lines' starts are recorded into it, or, once recorded, taken from it
    // instead of following the values again.
    TJoinedEntries(TCursor cursor, TSgfLineStarts* starts) : m_cursor(cursor), m_starts(starts) {
        m_replaying = m_starts != nullptr && m_starts->recorded;
        if (m_starts != nullptr) {
            m_starts->next = 0;
            if (!m_replaying) {
                m_starts->insideValue.clear();
            }
        }
        std::string_view start;
        if (!FindRecordStart(m_cursor, start)) {
            return;
        }
        // The opening may take the next line too; the lines it takes are fed to the values.
        const TCursor after = m_cursor;
        const int taken = JoinOpening(start);
        if (taken == 0) {
            m_first = start;
            m_hasFirst = true;
            return;
        }
        Feed(start);
        std::string_view line;
        TCursor taking = after;
        for (int i = 1; i < taken && taking.Next(line); ++i) {
            Feed(line);
        }
    }

    // The next entry; false after the last one.
    bool Next(std::string_view& entry) {
        if (m_taken == m_count && !Refill()) {
            return false;
        }
        entry = m_queue[m_taken++];
        return true;
    }

private:
    void Push(std::string_view entry) { m_queue[m_count++] = entry; }

    // Joins the record's opening "(" (line, from that "(") to its first node when the ";" is not
    // right after it: when the "(" stands alone on its line and the next line begins with ";"
    // after blanks, as a current editor writes it ("(", then '  ;GM[1]'), or when a property name
    // follows the "(" and the ";" is missing altogether (the Nihon Ki-in writes "(", then
    // 'TE[...]'), the record reads as if "(;" stood there. Answers how many lines it took (the
    // cursor is then past them), 0 when the opening is left to the usual rules.
    int JoinOpening(std::string_view line) {
        if (!line.starts_with('(') || line.starts_with(OPENER)) {
            return 0;
        }
        const std::string_view rest = line.substr(1);
        TCursor after = m_cursor;
        std::string_view nextLine;
        if (SkipBlanks(rest).empty() && after.Next(nextLine)) {
            const std::string_view next = SkipBlanks(nextLine);
            if (next.starts_with(';')) {
                Push(OPENER);
                if (next.size() > 1) {
                    Push(next.substr(1));
                }
                m_cursor = after;
                return 2;
            }
        }
        if (PropertyFollows(rest, m_cursor)) {
            Push(OPENER);
            if (!rest.empty()) {
                Push(rest);
            }
            return 1;
        }
        return 0;
    }

    // Reads lines until one gives an entry; false when none is left.
    bool Refill() {
        m_count = 0;
        m_taken = 0;
        std::string_view line;
        while (m_count == 0) {
            if (m_hasFirst) {
                line = m_first;
                m_hasFirst = false;
            } else if (!m_cursor.Next(line)) {
                return false;
            }
            JoinLine(line);
        }
        return true;
    }

    void JoinLine(std::string_view line) {
        const bool inValue = BeginsInValue();
        Feed(line);
        if (inValue) {
            if (!line.empty()) {
                Push(line);
            }
        } else if (line.starts_with(OPENER)) {
            Push(OPENER);
            if (line.size() > OPENER.size()) {
                Push(line.substr(OPENER.size()));
            }
        } else if (line.starts_with('(') && SkipBlanks(line.substr(1)).starts_with(';')) {
            // Blanks between "(" and ";" change nothing: the node is read as after "(;".
            const std::string_view node = SkipBlanks(line.substr(1));
            Push(OPENER);
            if (node.size() > 1) {
                Push(node.substr(1));
            }
        } else if (line.starts_with('(')) {
            // Kept as designed: past the record's opening, whatever follows a "(" on its line is
            // dropped, and a "(" line whose next line does not begin with ";" is dropped whole.
            TCursor after = m_cursor;
            std::string_view next;
            if (after.Next(next) && next.starts_with(';')) {
                Push(OPENER);
                if (next.size() > 1) {
                    Push(next.substr(1));
                }
                m_cursor = after;
                Feed(next);
            }
        } else if (!line.empty()) {
            Push(line);
        }
    }

    // Whether the next line begins inside a property value.
    bool BeginsInValue() {
        if (m_replaying) {
            return m_starts->insideValue[m_starts->next++];
        }
        const bool inside = m_values.Open();
        if (m_starts != nullptr) {
            m_starts->insideValue.push_back(inside);
        }
        return inside;
    }

    void Feed(std::string_view line) {
        if (!m_replaying) {
            m_values.Feed(line);
        }
    }

    TCursor m_cursor;
    TSgfLineStarts* m_starts;
    bool m_replaying = false;
    TValueTracker m_values;
    std::string_view m_first;  // the record's first line, from its start, not yet joined
    bool m_hasFirst = false;
    std::string_view m_queue[2];
    int m_count = 0;
    int m_taken = 0;
};

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

    // Cuts the carried text followed by line; each piece, its separator included, goes to take as
    // a view that lasts for the call (into line when the piece lies in it, else into the carried
    // text). What follows the last separator becomes the carried text.
    template <typename TTake>
    void Feed(std::string_view line, TTake&& take);

    // How many pieces Feed would hand over for line, none of them made: a line of plain bytes
    // (below 0x80, no NUL) is counted in one pass at the speed of memory. No text is carried: a
    // cutter that counts only counts.
    std::size_t Count(std::string_view line);

    // The text after the last separator found so far.
    std::string& Carried() { return m_carried; }

private:
    // Hands over the piece that ends with end, its separator included: the carried text and end.
    template <typename TTake>
    void Cut(std::string_view end, TTake& take) {
        if (m_carried.empty()) {
            take(end);
            return;
        }
        m_carried.append(end);
        take(std::string_view(m_carried));
        m_carried.clear();
    }

    char m_separator;
    bool m_stops[256];  // the bytes the walk must look at: the separator, NUL and lead bytes
    std::string m_carried;
    bool m_trailComesNext = false;  // the carried text ends in a lead byte without its trail byte
    bool m_stopped = false;         // a NUL in the carried text ends every later search
};

template <typename TTake>
void TPieceCutter::Feed(std::string_view line, TTake&& take) {
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
    const char* const data = line.data();
    const std::size_t size = line.size();
    if (std::memchr(data, '\0', size) == nullptr) {
        // No NUL (never one in the lines of a text): each separator byte is found at the speed of
        // memory, and whether it begins a character is settled by the run of lead-byte values
        // before it, back to the last known character boundary i. Each byte is looked at a
        // bounded number of times.
        while (i < size) {
            // The next few bytes are looked at first: pieces are often short, and memchr is a
            // call.
            std::size_t at = i;
            const std::size_t near = std::min(size, i + 16);
            while (at < near && data[at] != m_separator) {
                ++at;
            }
            if (at == near) {
                const void* hit = std::memchr(data + at, m_separator, size - at);
                if (hit == nullptr) {
                    break;
                }
                at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
            }
            if (!BeginsCharacter(data, i, at)) {
                i = at + 1;  // a trail byte: its character ends here
                continue;
            }
            Cut(line.substr(begin, at + 1 - begin), take);
            begin = i = at + 1;
        }
        // A lead byte that begins the line's last character takes the next line's first byte as
        // its trail byte.
        if (i < size && IsLeadByte(static_cast<unsigned char>(data[size - 1]))) {
            m_trailComesNext = BeginsCharacter(data, i, size - 1);
        }
        m_carried.append(line.substr(begin));
        return;
    }
    while (i < size) {
        if (!m_stops[static_cast<unsigned char>(data[i])]) {
            ++i;
            continue;
        }
        const char c = data[i];
        if (c == m_separator) {
            Cut(line.substr(begin, i + 1 - begin), take);
            begin = ++i;
        } else if (c == '\0' || (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < size &&
                                 data[i + 1] == '\0')) {
            m_stopped = true;  // the text ends here, also inside a character
            break;
        } else if (IsLeadByte(static_cast<unsigned char>(c))) {
            m_trailComesNext = i + 1 == size;
            i += 2;
        } else {
            ++i;
        }
    }
    m_carried.append(line.substr(begin));
}

std::size_t TPieceCutter::Count(std::string_view line) {
    if (m_stopped) {
        return 0;
    }
    if (!m_trailComesNext) {
        std::size_t count = 0;
        unsigned char other = 0;  // 0x80 once a byte of 0x80 or more, or a NUL, was met
        for (const char c : line) {
            other |= static_cast<unsigned char>(static_cast<unsigned char>(c) - 1) & 0x80;
            count += c == m_separator ? 1 : 0;
        }
        if (other == 0) {
            return count;  // every byte is a character of its own
        }
    }
    std::size_t count = 0;
    Feed(line, [&count](std::string_view) { ++count; });
    m_carried.clear();
    return count;
}

// The sort step and the cuts after it, on the joined entries between the first and the last: the
// entries up to the first ";" (the root node) cut after every "]" into properties, the black setup
// stones among them separated out; the rest cut after every ";" into move nodes. Each goes to sink
// as soon as it is cut.
template <typename TSink>
class TEntrySorter {
public:
    explicit TEntrySorter(TSink& sink) : m_sink(sink) {}

    // One joined entry, in order.
    void Entry(std::string_view entry) {
        if (!m_inRoot) {
            FeedMoves(entry);
            return;
        }
        // Kept as designed: the first ";" ends the root, even one inside a value ('C[a;b]').
        const std::size_t semicolon = FindFrom(";", entry);
        if (semicolon == NONE) {
            FeedRoot(entry);
            return;
        }
        // The root's last header line loses the ";" that closed it.
        m_inRoot = false;
        FeedRoot(entry.substr(0, semicolon));
        if (semicolon + 1 < entry.size()) {
            FeedMoves(entry.substr(semicolon + 1));
        }
    }

    // After the last entry: the text after the last ";" is the last node, even when empty. The
    // text after the root's last "]" is dropped.
    void Finish() {
        if (!m_anyMoves) {
            return;
        }
        // Kept as designed: a line ending in ";" leaves an empty last node, and ";" then ";" on
        // the next line an empty node between them.
        std::string_view last = m_nodes.Carried();
        if (EndsWithCharacter(last, ';')) {
            last.remove_suffix(1);  // only after a NUL, which stops the search for ";"
        }
        m_sink.Node(last);
    }

private:
    // One entry per property value: a value running over several lines loses its line breaks.
    // Kept as designed: an escaped "\]" ends a value like any other "]".
    void FeedRoot(std::string_view line) {
        if constexpr (TSink::COUNTS_ONLY) {
            m_sink.count +=
                m_properties.Count(line);  // a property or a stone, one entry either way
            return;
        }
        m_properties.Feed(line, [this](std::string_view property) { Property(property); });
    }

    void FeedMoves(std::string_view line) {
        m_anyMoves = true;
        if constexpr (TSink::COUNTS_ONLY) {
            m_sink.count += m_nodes.Count(line);
            return;
        }
        m_nodes.Feed(line, [this](std::string_view node) {
            node.remove_suffix(1);  // each ends in the ";" it was cut at
            m_sink.Node(node);
        });
    }

    // The black setup stones of the root ('AB[pd]', and each further value '[dp]' right after one,
    // which becomes 'AB[dp]') go apart from the other properties, in file order. SGF allows blanks
    // and line breaks between properties, between a property's name and its value and between
    // values, so an entry is looked at without its blanks, and a stone goes without them
    // (' AB[pd]', 'AB [pd]' and ' [dp]' are stones too).
    void Property(std::string_view property) {
        const std::string_view entry = SkipBlanks(property);
        const std::string_view value =
            entry.starts_with("AB") ? SkipBlanks(entry.substr(2)) : std::string_view();
        if (value.starts_with('[') || (m_followsStone && entry.starts_with('['))) {
            m_stone.assign("AB");
            m_stone += value.starts_with('[') ? value : entry;
            m_sink.Stone(m_stone);
            m_followsStone = true;
        } else {
            m_sink.Property(property);
            m_followsStone = false;
        }
    }

    TSink& m_sink;
    bool m_inRoot = true;
    bool m_anyMoves = false;
    bool m_followsStone = false;
    TPieceCutter m_properties{']'};
    TPieceCutter m_nodes{';'};
    std::string m_stone;
};

// The splitter over the lines cursor gives: hands every entry to sink and answers whether the
// record passed the check, which only its last line settles (entries handed over before then
// count for nothing when it did not).
template <typename TCursor, typename TSink>
bool SplitLinesOf(TCursor cursor, TSink& sink, TSgfLineStarts* starts = nullptr) {
    TJoinedEntries<TCursor> joined(cursor, starts);
    std::string_view first;
    if (!joined.Next(first)) {
        return false;
    }
    // The first and the last entry are never taken into the outputs: each entry is sorted once
    // the next one shows that it is not the last.
    TEntrySorter<TSink> sorter(sink);
    std::string_view last = first;
    std::size_t count = 1;
    for (std::string_view entry; joined.Next(entry); ++count) {
        if (count >= 2) {
            sorter.Entry(last);
        }
        last = entry;
    }
    // A final ")" becomes an entry of its own, so the nodes of the last line are split like those
    // of any other line: also when the entry holds an earlier ")" (a rank such as 'Kuro (9d)' in a
    // record on one line, or a last line ending in "))").
    std::string_view closer = last;
    if (last != CLOSER && EndsWithCharacter(last, ')')) {
        last.remove_suffix(1);
        if (count == 1) {
            first = last;
        } else {
            sorter.Entry(last);
        }
        closer = CLOSER;
    }
    if (FindFrom(OPENER, first) == NONE || FindFrom(CLOSER, closer) == NONE) {
        return false;
    }
    sorter.Finish();
    return true;
}

// What the splitter hands over, to a sink through its virtual functions.
class TVirtualSink {
public:
    static constexpr bool COUNTS_ONLY = false;
    explicit TVirtualSink(TSgfSplitSink& sink) : m_sink(sink) {}
    void Property(std::string_view entry) { m_sink.Property(entry); }
    void Stone(std::string_view entry) { m_sink.Stone(entry); }
    void Node(std::string_view entry) { m_sink.Node(entry); }

private:
    TSgfSplitSink& m_sink;
};

// Counts the entries, properties and stones alike, without telling them apart.
class TEntryCounter {
public:
    static constexpr bool COUNTS_ONLY = true;
    void Property(std::string_view) { ++count; }
    void Stone(std::string_view) { ++count; }
    void Node(std::string_view) { ++count; }
    std::size_t count = 0;
};

// Collects what the splitter hands over into the three outputs.
class TCollectingSink : public TSgfSplitSink {
public:
    explicit TCollectingSink(TSGFAdjust& adjust) : m_adjust(adjust) {}
    void Property(std::string_view entry) override { m_adjust.OutputHD.emplace_back(entry); }
    void Stone(std::string_view entry) override { m_adjust.OutputHA.emplace_back(entry); }
    void Node(std::string_view entry) override { m_adjust.OutputCK.emplace_back(entry); }

private:
    TSGFAdjust& m_adjust;
};

// True when the lines of cursor hold more than one game tree (see HoldsSeveralGameTrees).
template <typename TCursor>
bool SeveralGameTreesIn(TCursor cursor) {
    // "(" (0x28) is never the trail byte of a double-byte character, so each one is found by its
    // byte alone.
    std::string_view line;
    if (!FindRecordStart(cursor, line)) {
        return false;
    }
    bool opening = true;  // the first "(" found is the record's own
    do {
        for (std::size_t at = 0; (at = line.find('(', at)) != std::string_view::npos; ++at) {
            if (opening) {
                opening = false;
            } else if (NextNonBlank(line.substr(at + 1), cursor).starts_with(';')) {
                return true;
            }
        }
    } while (cursor.Next(line));
    return false;
}

}  // namespace

bool TSGFAdjust::Adjust() {
    OutputHD.clear();
    OutputHA.clear();
    OutputCK.clear();
    TCollectingSink collecting(*this);
    TVirtualSink sink(collecting);
    if (!SplitLinesOf(TListCursor(Input), sink)) {
        OutputHD.clear();
        OutputHA.clear();
        OutputCK.clear();
        return false;
    }
    return true;
}

bool SplitSgfRecord(std::string_view text, TSgfSplitSink& sink, TSgfLineStarts* starts) {
    TVirtualSink handing(sink);
    return SplitLinesOf(TLineCursor(text), handing, starts);
}

bool SplitSgfRecord(const TLineList& lines, TSgfSplitSink& sink, TSgfLineStarts* starts) {
    TVirtualSink handing(sink);
    return SplitLinesOf(TListCursor(lines), handing, starts);
}

namespace {

// The count, with the lines' starts recorded for the walk that follows.
template <typename TCursor>
std::optional<std::size_t> CountEntries(TCursor cursor, TSgfLineStarts* starts) {
    TEntryCounter counter;
    if (starts != nullptr) {
        starts->recorded = false;
    }
    const bool split = SplitLinesOf(cursor, counter, starts);
    if (starts != nullptr) {
        starts->recorded = true;
    }
    return split ? std::optional(counter.count) : std::nullopt;
}

}  // namespace

std::optional<std::size_t> CountSgfEntries(std::string_view text, TSgfLineStarts* starts) {
    return CountEntries(TLineCursor(text), starts);
}

std::optional<std::size_t> CountSgfEntries(const TLineList& lines, TSgfLineStarts* starts) {
    return CountEntries(TListCursor(lines), starts);
}

bool HoldsSeveralGameTrees(const TLineList& lines) {
    return SeveralGameTreesIn(TListCursor(lines));
}

bool HoldsSeveralGameTrees(std::string_view text) { return SeveralGameTreesIn(TLineCursor(text)); }
