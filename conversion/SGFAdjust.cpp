#include "conversion/SGFAdjust.h"

#include "conversion/SgfNode.h"
#include "conversion/Text.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The splitter reads the record as a stream of lines, front to back, each byte looked at a fixed
// number of times however the record is laid out (real records are often one line of
// megabytes). Each entry is handed on as a view as soon as it is cut, and no list of entries is
// kept: a record of millions of nodes or values takes no more memory than its text. Nested
// variations cost no stack frame: what the walk must know of the open "(" is a word for each
// level whose node differs from the level's below.

namespace {

constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// What a byte outside any value means to the walk.
enum TByteClass : unsigned char {
    PLAIN,   // text of a node or junk between nodes
    LEAD,    // the lead byte of a double-byte character: the next byte is its trail
    OPEN,    // "[": a value begins
    CLOSE,   // "]" outside any value
    NODE,    // ";"
    BEGIN,   // "("
    FINISH,  // ")"
};

constexpr std::array<unsigned char, 256> BYTE_CLASSES = [] {
    std::array<unsigned char, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        classes[static_cast<std::size_t>(b)] =
            IsLeadByte(static_cast<unsigned char>(b)) ? LEAD : PLAIN;
    }
    classes['['] = OPEN;
    classes[']'] = CLOSE;
    classes[';'] = NODE;
    classes['('] = BEGIN;
    classes[')'] = FINISH;
    return classes;
}();

// The bytes that a value of plain text is made of: below 0x80, neither "]" nor "\\".
constexpr std::array<bool, 256> PLAIN_VALUE_BYTES = [] {
    std::array<bool, 256> plain{};
    for (int b = 0; b < 0x80; ++b) {
        plain[static_cast<std::size_t>(b)] = b != ']' && b != '\\';
    }
    return plain;
}();

// text without the blanks around it; most names and values have none, told by two bytes.
inline std::string_view Trimmed(std::string_view text) {
    if (text.empty() || (static_cast<unsigned char>(text.front()) > 32 &&
                         static_cast<unsigned char>(text.back()) > 32)) {
        return text;
    }
    return TrimView(text);
}

constexpr bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

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

// Where the walk is in the record.
enum class TPhase : unsigned char {
    Start,       // before the record's "(": blanks and byte-order marks only
    Opening,     // in the first game tree, before its root node
    Root,        // in the root node
    MainLine,    // in the main line after the root
    Variations,  // in the first game tree after its main line ended (its first ")")
    LaterGames,  // after the first game tree
    Ended,       // nothing more is read
};

// The walk over the record's lines. Hands the root's entries and the main line's nodes to sink;
// counts what lies beyond them.
template <typename TSink>
class TSgfWalk {
public:
    explicit TSgfWalk(TSink& sink) : m_sink(sink) {}

    // Takes the record's next line (a view that stays valid for the call); false once the walk
    // has ended.
    bool Line(std::string_view line);

    // After the last line: ends what is still open, and answers whether the record was
    // accepted, that is whether a ")" followed its root node.
    bool End() {
        if (m_phase == TPhase::MainLine && m_nodeOpen) {
            m_nodeOpen = false;
            if constexpr (TSink::COUNTS_ONLY) {
                ++m_sink.count;
            } else {
                m_sink.Node(m_carried);
            }
        }
        return m_accepted;
    }

    TSgfLeftOut leftOut;

private:
    // An open "(" is a run of levels that refer to one node (the node current when each was
    // opened); a word holds the run's length and whether that node has a child yet.
    static constexpr std::uint64_t HAS_CHILD = std::uint64_t(1) << 63;

    void Begin(std::size_t at);
    void NodeBegins(std::size_t at);
    void Finish(std::size_t at);
    void ValueEnded(std::size_t end);

    // A new node, child of the current one, becomes current. Before the root, the current node
    // is none, whose first child is the root.
    void CreateNode() {
        if (m_currentHasChild) {
            ++leftOut.variations;
        }
        if (m_currentOnTop) {
            m_runs.back() |= HAS_CHILD;
        }
        m_currentHasChild = false;
        m_currentOnTop = false;
    }
    void Push() {
        ++m_depth;
        if (m_currentOnTop) {
            ++m_runs.back();
            return;
        }
        m_runs.push_back(1 | (m_currentHasChild ? HAS_CHILD : 0));
        m_currentOnTop = true;
    }
    void Pop() {
        --m_depth;
        std::uint64_t& top = m_runs.back();
        m_currentHasChild = (top & HAS_CHILD) != 0;
        if ((--top & ~HAS_CHILD) == 0) {
            m_runs.pop_back();
            m_currentOnTop = false;
        } else {
            m_currentOnTop = true;
        }
    }
    // The main line ended at a ")": the record is accepted.
    void MainLineEnded() {
        m_accepted = true;
        Pop();
        m_phase = m_depth == 0 ? TPhase::LaterGames : TPhase::Variations;
        if constexpr (TSink::STOPS_AFTER_MAIN_LINE) {
            m_phase = TPhase::Ended;
        }
    }

    // The text of an entry or a node, kept from at in the current line on.
    void Keep(std::size_t at) {
        if constexpr (!TSink::COUNTS_ONLY) {
            m_keeping = true;
            m_keepFrom = at;
            if (!m_carried.empty()) {
                m_carried.clear();
            }
            m_nameFrom = 0;
        }
    }
    void StopKeeping() {
        if constexpr (!TSink::COUNTS_ONLY) {
            m_keeping = false;
            m_carried.clear();
        }
    }
    // The text kept, up to end in the current line: a view into the line when it lies there,
    // else into the text carried from earlier lines.
    std::string_view Kept(std::size_t end) {
        const std::string_view here(m_line.data() + m_keepFrom, end - m_keepFrom);
        if (m_carried.empty()) {
            return here;
        }
        m_carried.append(here);
        return m_carried;
    }

    void RootEntry(std::string_view entry);

    // The main line's node under way, if any, ends at at (in the current line): it goes to the
    // sink.
    void EndNode(std::size_t at) {
        if (!m_nodeOpen) {
            return;
        }
        m_nodeOpen = false;
        if constexpr (TSink::COUNTS_ONLY) {
            ++m_sink.count;
        } else {
            m_sink.Node(Kept(at));
        }
    }

    // The main line's common bytes, walked without the checks that the other phases need: plain
    // text, nodes, and values of plain bytes found at once. Answers where it stopped: the end of
    // the line, or a byte that the general walk takes (a value that is not plain, a lead byte, a
    // "(", a ")" or a "]").
    std::size_t MainLineRun(const char* data, std::size_t i, std::size_t size) {
        if constexpr (TSink::COUNTS_ONLY) {
            return MainLineCount(data, i, size);
        }
        while (i < size) {
            const unsigned char c = static_cast<unsigned char>(data[i]);
            const unsigned char kind = BYTE_CLASSES[c];
            if (kind == PLAIN) {
                ++i;
                continue;
            }
            if (kind == NODE) {
                EndNode(i);
                // A main-line node is its parent's first child; only the first node after a "("
                // has a level to mark.
                if (m_currentOnTop) {
                    CreateNode();
                }
                m_nodeOpen = true;
                Keep(++i);
                continue;
            }
            if (kind == BEGIN) {
                Begin(i++);
                continue;
            }
            if (kind != OPEN) {
                return i;
            }
            std::size_t end = i + 1;
            while (end < size && PLAIN_VALUE_BYTES[static_cast<unsigned char>(data[end])]) {
                ++end;
            }
            if (end >= size || data[end] != ']') {
                return i;  // a value of other bytes, or one that runs on
            }
            if constexpr (!TSink::COUNTS_ONLY) {
                if (m_nodeOpen) {
                    if (m_carried.empty()) {
                        // The node lies in this line: its name and value are views into it.
                        const std::size_t name = m_keepFrom + m_nameFrom;
                        m_sink.Value(Trimmed(std::string_view(data + name, i - name)),
                                     Trimmed(std::string_view(data + i + 1, end - i - 1)));
                        m_nameFrom = end + 1 - m_keepFrom;
                    } else {
                        m_valueFrom = KeptOffset(i + 1);
                        NodeValueEnded(end);
                    }
                }
            }
            i = end + 1;
        }
        return i;
    }

    // MainLineRun when only counting: the count and the node's state in locals of the loop, which
    // stores into nothing while it reads the bytes.
    std::size_t MainLineCount(const char* data, std::size_t i, std::size_t size) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(data);
        std::size_t count = 0;
        bool nodeOpen = m_nodeOpen;
        while (i < size) {
            const unsigned char kind = BYTE_CLASSES[bytes[i]];
            if (kind == PLAIN) {
                ++i;
                continue;
            }
            if (kind == NODE) {
                count += nodeOpen ? 1 : 0;
                nodeOpen = true;
                // A main-line node is its parent's first child; only the first node after a "("
                // has a level to mark.
                if (m_currentOnTop) {
                    CreateNode();
                }
                ++i;
                continue;
            }
            if (kind != OPEN) {
                break;
            }
            std::size_t end = i + 1;
            while (end < size && PLAIN_VALUE_BYTES[bytes[end]]) {
                ++end;
            }
            if (end >= size || bytes[end] != ']') {
                break;
            }
            i = end + 1;
        }
        m_sink.count += count;
        m_nodeOpen = nodeOpen;
        return i;
    }

    // The root's common bytes, as MainLineRun walks the main line's: plain text and values of
    // plain bytes, each ending an entry.
    std::size_t RootRun(const char* data, std::size_t i, std::size_t size) {
        while (i < size) {
            const unsigned char kind = BYTE_CLASSES[static_cast<unsigned char>(data[i])];
            if (kind == PLAIN) {
                ++i;
                continue;
            }
            if (kind != OPEN) {
                return i;
            }
            std::size_t end = i + 1;
            while (end < size && PLAIN_VALUE_BYTES[static_cast<unsigned char>(data[end])]) {
                ++end;
            }
            if (end >= size || data[end] != ']') {
                return i;
            }
            if constexpr (!TSink::COUNTS_ONLY) {
                if (m_followsStone && i == m_keepFrom && m_carried.empty() &&
                    end + 1 - i <= sizeof m_shortStone - 2) {
                    // A further value right after a stone, nothing between: a stone too, made
                    // in place behind "AB".
                    const std::size_t length = end + 1 - i;
                    for (std::size_t k = 0; k < length; ++k) {
                        m_shortStone[2 + k] = data[i + k];
                    }
                    m_sink.Stone(std::string_view(m_shortStone, 2 + length));
                    i = end + 1;
                    m_keepFrom = i;
                    continue;
                }
            }
            i = end + 1;
            ValueEnded(i);
        }
        return i;
    }

    // The offset in the kept text of the byte at in the current line.
    std::size_t KeptOffset(std::size_t at) const { return m_carried.size() + at - m_keepFrom; }
    // A value of the main line's node under way ended at end (its "]") in the current line: its
    // name and the value go to the sink.
    void NodeValueEnded(std::size_t end) {
        if constexpr (!TSink::COUNTS_ONLY) {
            std::string_view kept;
            if (m_carried.empty()) {
                kept = m_line.substr(m_keepFrom, end - m_keepFrom);
            } else {
                m_carried.append(m_line.substr(m_keepFrom, end - m_keepFrom));
                m_keepFrom = end;
                kept = m_carried;
            }
            const std::size_t open = m_valueFrom - 1;
            m_sink.Value(Trimmed(kept.substr(m_nameFrom, open - m_nameFrom)),
                         Trimmed(kept.substr(m_valueFrom)));
            m_nameFrom = KeptOffset(end + 1);
        }
    }

    TSink& m_sink;
    TPhase m_phase = TPhase::Start;
    std::string_view m_line;
    TSgfValueScan m_values;
    bool m_inValue = false;
    bool m_trailComesNext = false;  // the last line ended in a lead byte
    bool m_justOpened = false;      // only blanks since the record's "("
    bool m_nodeOpen = false;
    bool m_accepted = false;
    bool m_textEnded = false;  // at a NUL
    bool m_keeping = false;
    std::size_t m_keepFrom = 0;
    std::string m_carried;
    // In a main-line node: where the name under way begins, and the value under way, in the
    // node's kept text.
    std::size_t m_nameFrom = 0;
    std::size_t m_valueFrom = 0;
    std::size_t m_depth = 0;
    std::vector<std::uint64_t> m_runs;
    bool m_currentHasChild = false;
    bool m_currentOnTop = false;
    bool m_treeHasNode = false;  // the later game tree under way holds a node
    bool m_followsStone = false;
    std::string m_stone;
    char m_shortStone[32] = {'A', 'B'};  // a short stone
};

template <typename TSink>
bool TSgfWalk<TSink>::Line(std::string_view line) {
    if (m_phase == TPhase::Ended || m_textEnded) {
        return false;
    }
    // A NUL ends the text, as it ends the lines of a file.
    const void* nul = std::memchr(line.data(), '\0', line.size());
    if (nul != nullptr) {
        line =
            line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
    }
    m_line = line;
    const char* const data = line.data();
    const std::size_t size = line.size();
    m_values.Start(data, size);
    if constexpr (!TSink::COUNTS_ONLY) {
        m_keepFrom = 0;
    }
    std::size_t i = 0;
    if (m_trailComesNext && size > 0) {
        // A lead byte that ended the last line takes this one's first byte, which then opens,
        // ends and escapes nothing.
        m_trailComesNext = false;
        i = 1;
    }
    while (i < size) {
        if (!m_inValue) {
            if (m_phase == TPhase::MainLine) {
                i = MainLineRun(data, i, size);
            } else if (m_phase == TPhase::Root) {
                i = RootRun(data, i, size);
            }
            if (i >= size) {
                break;
            }
        }
        if (m_inValue) {
            const std::size_t end = m_values.End(i);
            if (end >= size) {
                m_trailComesNext = m_values.trailComesNext;
                break;
            }
            m_inValue = false;
            i = end + 1;
            if (m_phase == TPhase::Root) {
                ValueEnded(i);
            } else if (m_nodeOpen && m_phase == TPhase::MainLine) {
                NodeValueEnded(end);
            }
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (m_phase == TPhase::Start) {
            if (c <= 32) {
                ++i;
            } else if (line.substr(i).starts_with(BYTE_ORDER_MARK)) {
                i += BYTE_ORDER_MARK.size();
            } else if (c == '(') {
                m_phase = TPhase::Opening;
                Push();
                m_justOpened = true;
                Keep(++i);
            } else {
                m_phase = TPhase::Ended;  // text before the record: no record
                return false;
            }
            continue;
        }
        if (m_justOpened) {
            if (c <= 32) {
                ++i;
                continue;
            }
            m_justOpened = false;
            if (IsAsciiLetter(c)) {
                // A property name right after the record's "(": the ";" of its root node is
                // missing (the Nihon Ki-in writes "(", then 'TE[...]'), and the node begins at
                // the "(". Read as if "(;" stood there.
                CreateNode();
                m_phase = TPhase::Root;
                continue;
            }
            StopKeeping();  // text between a "(" and its first ";" belongs to no node
        }
        switch (BYTE_CLASSES[c]) {
            case PLAIN:
                ++i;
                while (i < size && BYTE_CLASSES[static_cast<unsigned char>(data[i])] == PLAIN) {
                    ++i;
                }
                break;
            case LEAD:
                i += 2;
                if (i > size) {
                    m_trailComesNext = true;
                }
                break;
            case OPEN:
                m_inValue = true;
                ++i;
                if constexpr (!TSink::COUNTS_ONLY) {
                    m_valueFrom = KeptOffset(i);
                }
                break;
            case CLOSE:
                ++i;
                if (m_phase == TPhase::Root) {
                    ValueEnded(i);  // a "]" outside any value ends an entry all the same
                } else if constexpr (!TSink::COUNTS_ONLY) {
                    m_nameFrom = KeptOffset(i);  // and the name before it
                }
                break;
            case NODE:
                NodeBegins(i++);
                break;
            case BEGIN:
                Begin(i++);
                break;
            case FINISH:
                Finish(i++);
                break;
        }
        if (m_phase == TPhase::Ended) {
            return false;
        }
    }
    if constexpr (!TSink::COUNTS_ONLY) {
        if (m_keeping && m_keepFrom < size) {
            m_carried.append(line.substr(m_keepFrom));
        }
    }
    if (nul != nullptr) {
        m_textEnded = true;
        return false;
    }
    return true;
}

template <typename TSink>
void TSgfWalk<TSink>::NodeBegins(std::size_t at) {
    switch (m_phase) {
        case TPhase::Opening:
            CreateNode();
            m_phase = TPhase::Root;
            Keep(at + 1);
            break;
        case TPhase::Root:
            // The root's text after its last value is dropped.
            CreateNode();
            m_phase = TPhase::MainLine;
            m_nodeOpen = true;
            Keep(at + 1);
            break;
        case TPhase::MainLine:
            EndNode(at);
            CreateNode();
            m_nodeOpen = true;
            Keep(at + 1);
            break;
        case TPhase::Variations:
            CreateNode();
            break;
        case TPhase::LaterGames:
            if (m_depth > 0 && !m_treeHasNode) {
                m_treeHasNode = true;
                ++leftOut.games;
            }
            break;
        case TPhase::Start:
        case TPhase::Ended:
            break;
    }
}

template <typename TSink>
void TSgfWalk<TSink>::Begin(std::size_t at) {
    switch (m_phase) {
        case TPhase::Root:
            m_phase = TPhase::MainLine;
            StopKeeping();
            break;
        case TPhase::MainLine:
            if (m_nodeOpen) {
                EndNode(at);
                StopKeeping();
            }
            break;
        case TPhase::LaterGames:
            if (m_depth++ == 0) {
                m_treeHasNode = false;
            }
            return;
        default:
            break;
    }
    Push();
}

template <typename TSink>
void TSgfWalk<TSink>::Finish(std::size_t at) {
    switch (m_phase) {
        case TPhase::Opening:
            Pop();
            if (m_depth == 0) {
                m_phase = TPhase::Ended;  // the first game tree closed without a node
            }
            break;
        case TPhase::Root:
            StopKeeping();
            MainLineEnded();
            break;
        case TPhase::MainLine:
            EndNode(at);
            StopKeeping();
            if (m_currentOnTop) {
                // The ")" returns to the main line's last node, which has no child yet (its
                // "(" held none): the main line may still go on from it.
                m_accepted = true;
                Pop();
            } else {
                MainLineEnded();
            }
            break;
        case TPhase::Variations:
            Pop();
            if (m_depth == 0) {
                m_phase = TPhase::LaterGames;
            }
            break;
        case TPhase::LaterGames:
            if (m_depth > 0) {
                --m_depth;
            }
            break;
        case TPhase::Start:
        case TPhase::Ended:
            break;
    }
}

template <typename TSink>
void TSgfWalk<TSink>::ValueEnded(std::size_t end) {
    if constexpr (TSink::COUNTS_ONLY) {
        ++m_sink.count;  // a property or a stone, one entry either way
    } else {
        RootEntry(Kept(end));
        Keep(end);
    }
}

// The black setup stones of the root ('AB[pd]', and each further value '[dp]' right after one,
// which becomes 'AB[dp]') go apart from the other properties, in file order. SGF allows blanks
// and line breaks between properties, between a property's name and its value and between values,
// so an entry is looked at without its blanks, and a stone goes without them (' AB[pd]',
// 'AB [pd]' and ' [dp]' are stones too).
template <typename TSink>
void TSgfWalk<TSink>::RootEntry(std::string_view property) {
    if (m_followsStone && property.starts_with('[')) {
        m_stone.resize(2);  // "AB"
        m_stone += property;
        m_sink.Stone(m_stone);
        return;
    }
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

// The splitter over the lines cursor gives.
template <typename TCursor, typename TSink>
bool WalkLines(TCursor cursor, TSink& sink, TSgfLeftOut* leftOut = nullptr) {
    TSgfWalk<TSink> walk(sink);
    for (std::string_view line; cursor.Next(line) && walk.Line(line);) {
    }
    const bool accepted = walk.End();
    if (accepted) {
        sink.End();
    }
    if (leftOut != nullptr) {
        *leftOut = accepted ? walk.leftOut : TSgfLeftOut{};
    }
    return accepted;
}

// What the splitter hands over, to a sink through its virtual functions.
class TVirtualSink {
public:
    static constexpr bool COUNTS_ONLY = false;
    static constexpr bool STOPS_AFTER_MAIN_LINE = false;
    explicit TVirtualSink(TSgfSplitSink& sink) : m_sink(sink) {}
    void Property(std::string_view entry) { m_sink.Property(entry); }
    void Stone(std::string_view entry) { m_sink.Stone(entry); }
    void Node(std::string_view entry) { m_sink.Node(entry); }
    void Value(std::string_view name, std::string_view value) { m_sink.Value(name, value); }
    void End() { m_sink.End(); }

private:
    TSgfSplitSink& m_sink;
};

// Counts the entries, properties and stones alike, up to the end of the main line.
class TEntryCounter {
public:
    static constexpr bool COUNTS_ONLY = true;
    static constexpr bool STOPS_AFTER_MAIN_LINE = true;
    void Property(std::string_view) {}
    void Stone(std::string_view) {}
    void Node(std::string_view) {}
    void Value(std::string_view, std::string_view) {}
    void End() {}
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

template <typename TCursor>
std::optional<std::size_t> CountEntries(TCursor cursor) {
    TEntryCounter counter;
    return WalkLines(cursor, counter) ? std::optional(counter.count) : std::nullopt;
}

}  // namespace

bool TSGFAdjust::Adjust() {
    OutputHD.clear();
    OutputHA.clear();
    OutputCK.clear();
    TCollectingSink collecting(*this);
    TVirtualSink sink(collecting);
    if (!WalkLines(TListCursor(Input), sink, &LeftOut)) {
        OutputHD.clear();
        OutputHA.clear();
        OutputCK.clear();
        return false;
    }
    return true;
}

bool SplitSgfRecord(std::string_view text, TSgfSplitSink& sink, TSgfLeftOut* leftOut) {
    TVirtualSink handing(sink);
    return WalkLines(TLineCursor(text), handing, leftOut);
}

bool SplitSgfRecord(const TLineList& lines, TSgfSplitSink& sink, TSgfLeftOut* leftOut) {
    TVirtualSink handing(sink);
    return WalkLines(TListCursor(lines), handing, leftOut);
}

std::optional<std::size_t> CountSgfEntries(std::string_view text) {
    return CountEntries(TLineCursor(text));
}

std::optional<std::size_t> CountSgfEntries(const TLineList& lines) {
    return CountEntries(TListCursor(lines));
}
