#include "conversion/SgfToUgf.h"

#include "conversion/KeyTable.h"
#include "conversion/SGFAdjust.h"
#include "conversion/SgfEncoding.h"
#include "conversion/SgfNode.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"
#include "conversion/UgfRecord.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// text without the blanks around it; most values have none, told by two bytes.
std::string_view Trimmed(std::string_view text) {
    if (text.empty() || (static_cast<unsigned char>(text.front()) > 32 &&
                         static_cast<unsigned char>(text.back()) > 32)) {
        return text;
    }
    return TrimView(text);
}

// True when text holds printable ASCII only (no blank, no byte that may begin a character).
bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c <= '~'; });
}

// True when part lies in whole, as a view into its bytes.
bool LiesIn(std::string_view part, std::string_view whole) {
    const std::less_equal<const char*> notAfter;
    return !whole.empty() && notAfter(whole.data(), part.data()) &&
           notAfter(part.data() + part.size(), whole.data() + whole.size());
}

// What the UGF file takes from one SGF record. When a property occurs more than once, the last
// occurrence wins.
struct TUgfValues {
    std::string size;
    bool sizeGiven = false;
    std::string blackName;
    std::string whiteName;
    std::string rule;
    std::string result;
    std::string blackRank;
    std::string whiteRank;
    std::string place;
    std::string event;
    std::string copyright;
    std::string user;
    std::string winner;
};

// Runs PatExtract on expr with the given one-character patterns. On false, Prope and Data are
// empty, which is all most callers need.
bool Extract(TPatExtract& extract, std::string_view expr, char open = '[', char close = ']') {
    extract.Pattern1 = open;
    extract.Pattern2 = close;
    extract.Expr = expr;
    return extract.Extract();
}

// The working value that takes the value of a root property of key code code, or none.
std::string* ValueFor(TUgfValues& values, std::uint8_t code) {
    switch (code) {
        case keys::SZ:
            return &values.size;
        case keys::PB:
            return &values.blackName;
        case keys::PW:
            return &values.whiteName;
        case keys::RU:
            return &values.rule;
        case keys::RE:
            return &values.result;
        case keys::BR:
            return &values.blackRank;
        case keys::WR:
            return &values.whiteRank;
        case keys::PC:
            return &values.place;
        case keys::EV:
            return &values.event;
        case keys::CP:
            return &values.copyright;
        case keys::US:
            return &values.user;
        default:
            return nullptr;  // komi, handicap count, date, application and the rest are not carried
    }
}

// The UGF winner pair of an SGF result ('B+2.5' gives 'B,2.5'); the pieces of the result are
// added to the diagnostic lines.
std::string WinnerOf(const std::string& result, TConversionState& state) {
    if (result.empty()) {
        return {};
    }
    TStringSplit& split = state.StringSplit;
    split.pattern = '+';
    split.patterncut = true;
    split.expr = result;
    split.Split();
    const TLineList& pieces = split.items;
    state.TempMemo.insert(state.TempMemo.end(), pieces.begin(), pieces.end());
    if (pieces.size() < 2) {
        return pieces.empty() ? std::string() : pieces[0];
    }
    if (pieces[1].empty()) {
        return {};
    }
    if (AnsiUpper(pieces[1]) == "R") {
        // Kept as designed: a win by resignation turns the colour round ('B+R' gives "W,C"), and
        // the UGF reader turns it back.
        return AnsiUpper(pieces[0]) == "B" ? "W,C" : "B,C";
    }
    return pieces[0] + "," + pieces[1];  // pieces after the second are dropped
}

// 'Kuro (9d)' becomes 'Kuro,9d'; a name without brackets stays as it is.
void SplitBracketedRank(std::string& name, TPatExtract& extract) {
    if (Extract(extract, name, '(', ')')) {
        name = extract.Prope + "," + extract.Data;
    }
}

// A count in decimal digits, raised by one at a time without converting it anew. The digits end
// a buffer with room behind them, so they go out as one copy of a fixed size.
class TDecimalCounter {
public:
    // The most digits a count of std::size_t takes, and the bytes that Copy writes.
    static constexpr std::size_t MOST = 20;

    void Increment() {
        std::size_t at = END;
        while (at > m_start && m_digits[at - 1] == '9') {
            m_digits[--at] = '0';
        }
        if (at == m_start) {
            m_digits[--m_start] = '1';
        } else {
            ++m_digits[at - 1];
        }
    }
    std::string_view Digits() const { return std::string_view(m_digits + m_start, END - m_start); }
    // Writes MOST bytes at out, the digits first; answers how many are digits.
    std::size_t Copy(char* out) const {
        std::memcpy(out, m_digits + m_start, MOST);
        return END - m_start;
    }

private:
    static constexpr std::size_t END = MOST;
    char m_digits[END + MOST] = "00000000000000000000";  // the count from m_start to END
    std::size_t m_start = END - 1;
};

// Builds the UGF record from what the splitter hands over, in one walk: the root properties into
// the values, the stones and the moves straight into the data lines of the output, the header in
// front of them at the end. Each entry is taken apart at "[" and "]" as PatExtract and StringSplit
// do, on views rather than copies; the two components are left as taking the record apart with
// them step by step would leave them.
class TUgfBuilder : public TSgfSplitSink {
public:
    // text: the record's text, which outlives the builder, or empty when there is none.
    TUgfBuilder(TConversionState& state, bool writing, std::string_view text)
        : m_state(state), m_writing(writing), m_recordText(text) {}

    void Property(std::string_view property) override {
        if (property.starts_with('[')) {
            // A further value of a property ('[dp]'): no name, so no key (the name before a "["
            // at the front is empty, found or not).
            m_state.ClassifyKey({});
            m_state.StepProgress();
            return;
        }
        const auto parts = SgfEntryParts(property);
        m_state.ClassifyKey(parts ? parts->first : std::string_view());
        if (std::string* value = ValueFor(m_values, m_state.KeyCode)) {
            value->assign(parts ? parts->second : std::string_view());
        }
        m_values.sizeGiven = m_values.sizeGiven || m_state.KeyCode == keys::SZ;
        m_state.StepProgress();
    }

    // A stone is 'AB[' + its value + ']', as the splitter hands it over.
    void Stone(std::string_view stone) override {
        if (m_writing) {
            const std::string_view point = Trimmed(stone.substr(3, stone.size() - 4));
            if (point.size() <= 2 && IsPlainAscii(point)) {
                // A point of plain letters, or none: written in place.
                char* const line = m_text.Extend(point.size() + 9);
                for (std::size_t i = 0; i < point.size(); ++i) {
                    line[i] = AsciiUpper(point[i]);
                }
                std::memcpy(line + point.size(), ",B1,0,0\r\n", 9);
            } else {
                m_line.clear();
                AppendUgfDataLine(m_line, point, true, "B1", 0);
                m_line += "\r\n";
                m_text.Append(m_line);
            }
        }
        m_lastStone = stone;  // valid until End
        m_state.StepProgress();
    }

    // One move line per black or white move property of a node, numbered in one sequence. Other
    // properties of a node (comments, times) give nothing.
    void Value(std::string_view name, std::string_view value) override {
        EndRoot();
        if (const char colour = SgfMoveColour(name)) {
            // A point of two plain bytes, as most are, is upper-cased byte by byte.
            const bool plain = value.size() == 2 && value[0] > ' ' && value[0] <= '~' &&
                               value[1] > ' ' && value[1] <= '~';
            Move(colour, value, plain);
        }
    }

    // The output's bytes beyond bytes held in memory go to a temporary file.
    void SpillBeyond(std::size_t bytes) { m_text.SpillBeyond(bytes); }

    // The root ends, as it would at a node, while the last stone is still valid.
    void End() override { EndRoot(); }

    void Node(std::string_view node) override {
        EndRoot();
        // Only the last node is looked at again: kept as a view when it lies in the record's
        // text, copied when it is a piece the splitter joined and hands over for the call.
        if (LiesIn(node, m_recordText)) {
            m_lastNode = node;
        } else {
            m_lastNodeCopy.assign(node);
            m_lastNode = m_lastNodeCopy;
        }
        m_anyNode = true;
        m_state.StepProgress();
    }

    // The whole output, once the splitter is done.
    TOutputText Finish() {
        EndRoot();
        if (m_anyNode) {
            // The components as the last node and its last piece leave them.
            TStringSplit& split = m_state.StringSplit;
            if (static_cast<std::size_t>(std::count(m_lastNode.begin(), m_lastNode.end(), ']')) <
                LEFTOVER_PIECES) {
                split.pattern = ']';
                split.patterncut = false;
                split.expr = m_lastNode;
                split.Split();
                if (!split.items.empty()) {
                    Extract(m_state.PatExtract, split.items.back());
                }
            }
        }
        if (m_writing) {
            m_text.Prepend(WriteUgfHeaderText(Header(), m_moves));
        }
        return std::move(m_text);
    }

private:
    // The data line of the next move: the point upper-cased, "YA" for the pass (only the
    // lower-case "tt"). A point known to be two printable ASCII bytes (ascii) is upper-cased byte
    // by byte.
    void Move(char colour, std::string_view point, bool ascii = false) {
        m_number.Increment();
        ++m_moves;
        if (!m_writing) {
            return;
        }
        const bool pass = point == "tt";
        const std::string_view digits = m_number.Digits();
        const std::string_view shown = pass ? std::string_view("YA") : point;
        if (ascii && shown.size() == 2) {
            // The common move, written in place in pieces of a fixed size: a line of a few bytes
            // is then no call to copy.
            char* const line =
                m_text.Extend(2 + 4 + digits.size() + 4, 2 + 4 + TDecimalCounter::MOST + 4);
            line[0] = AsciiUpper(shown[0]);
            line[1] = AsciiUpper(shown[1]);
            const char separators[4] = {',', colour, '1', ','};
            std::memcpy(line + 2, separators, 4);
            const std::size_t length = m_number.Copy(line + 6);
            std::memcpy(line + 6 + length, ",0\r\n", 4);
            return;
        }
        m_line.clear();
        if (pass) {
            m_line += "YA";
        } else {
            AppendAnsiUpper(m_line, point);
        }
        m_line += colour == 'B' ? ",B1," : ",W1,";
        m_line += digits;
        m_line += ",0\r\n";
        m_text.Append(m_line);
    }

    // After the root: the winner and the players' ranks, and the components as those steps and
    // the last stone leave them.
    void EndRoot() {
        if (!m_rootEnded) {
            EndRootNow();
        }
    }
    [[gnu::noinline]] void EndRootNow() {
        m_rootEnded = true;
        m_values.winner = WinnerOf(m_values.result, m_state);
        SplitBracketedRank(m_values.blackName, m_state.PatExtract);
        SplitBracketedRank(m_values.whiteName, m_state.PatExtract);
        if (!m_lastStone.empty()) {
            Extract(m_state.PatExtract, m_lastStone);
        }
    }

    // The header values of the program's own layout.
    TUgfWrittenHeader Header() const {
        TUgfWrittenHeader header;
        header.title =
            (m_values.event.empty() ? std::string(texts::UGF_DEFAULT_TITLE) : m_values.event) +
            ",,";
        header.place = m_values.place;
        header.rule = m_values.rule.empty() || m_values.rule == "Japanese" ? "JPN" : "";
        // A record without a size is 19 x 19 by the SGF standard; a size given stays as it is,
        // even empty.
        header.size = m_values.sizeGiven ? m_values.size : "19";
        header.winner = m_values.winner;
        header.bMemb1 = m_values.blackName + "," + m_values.blackRank;
        header.wMemb1 = m_values.whiteName + "," + m_values.whiteRank;
        header.user = m_values.user;
        header.copyright = m_values.copyright;
        return header;
    }

    TConversionState& m_state;
    bool m_writing;
    TUgfValues m_values;
    TOutputText m_text;  // the data lines, then the header in front
    std::string m_line;
    std::size_t m_moves = 0;
    TDecimalCounter m_number;  // m_moves in decimal
    bool m_rootEnded = false;
    bool m_anyNode = false;
    std::string_view m_lastStone;
    std::string_view m_recordText;
    std::string_view m_lastNode;
    std::string m_lastNodeCopy;
};

// The end of every conversion, written or not: the bar full, the timer off.
void FinishProgress(TProgressService& progress) {
    progress.SetBar(TBar::ProgressBar1, TBarField::Position,
                    progress.GetBar(TBar::ProgressBar1, TBarField::Max));
    progress.SetTimer(false);
}

// The conversion of a record whose lines split hands to a sink (SplitSgfRecord), after count
// (CountSgfEntries) saw that the record can be split and counted the steps.
// What the splitter hands over, kept: an entry that lies in the record's text as a view into it,
// any other (a piece that ran over several lines) copied.
class TEntryList : public TSgfSplitSink {
public:
    // text: the record's text, which outlives the list; empty when there is none.
    explicit TEntryList(std::string_view text) : m_text(text) {}

    // Room for the entries of a record of size bytes, most of them moves of a few bytes.
    void Reserve(std::size_t size) { m_entries.reserve(size / 2 + 16); }

    void Property(std::string_view entry) override {
        Add(TKind::Property, entry);
        ++m_steps;
    }
    void Stone(std::string_view entry) override {
        Add(TKind::Stone, entry);
        ++m_steps;
    }
    void Node(std::string_view entry) override {
        Add(TKind::Node, entry);
        ++m_steps;
    }
    void Value(std::string_view name, std::string_view value) override {
        Add(TKind::Name, name);
        Add(TKind::Value, value);
    }

    // The entries, without the values of the nodes.
    std::size_t Count() const { return m_steps; }

    // Hands every entry to sink, in order.
    void HandTo(TSgfSplitSink& sink) const {
        std::string_view name;
        for (const TEntry& entry : m_entries) {
            const std::string_view bytes =
                entry.copied ? std::string_view(m_copies).substr(entry.at, entry.size)
                             : m_text.substr(entry.at, entry.size);
            switch (entry.kind) {
                case TKind::Name:
                    name = bytes;
                    break;
                case TKind::Value:
                    sink.Value(name, bytes);
                    break;
                case TKind::Property:
                    sink.Property(bytes);
                    break;
                case TKind::Stone:
                    sink.Stone(bytes);
                    break;
                case TKind::Node:
                    sink.Node(bytes);
                    break;
            }
        }
        sink.End();
    }

private:
    enum class TKind : unsigned char { Property, Stone, Node, Name, Value };
    struct TEntry {
        TKind kind;
        bool copied;
        std::size_t at;
        std::size_t size;
    };
    void Add(TKind kind, std::string_view entry) {
        if (LiesIn(entry, m_text)) {
            m_entries.push_back({kind, false,
                                 static_cast<std::size_t>(entry.data() - m_text.data()),
                                 entry.size()});
            return;
        }
        m_entries.push_back({kind, true, m_copies.size(), entry.size()});
        m_copies += entry;
    }

    std::string_view m_text;
    std::string m_copies;
    std::vector<TEntry> m_entries;
    std::size_t m_steps = 0;
};

// A record of at most this many bytes is split once and its entries kept (no more bytes than the
// record's, and a small list), rather than walked a second time.
constexpr std::size_t KEPT_RECORD_BYTES = 64 << 10;

// The conversion of a record of size bytes whose lines split hands to a sink (SplitSgfRecord).
// The steps are counted before the first one is taken: a small record's entries are kept from one
// walk; a larger one is walked once to count them (CountSgfEntries, by count, which stops at the
// end of the main line) and once more to build, so that no list of its entries is ever held.
// state.SgfNotes gets what the record held beyond the main line.
template <typename TCount, typename TSplit>
TConvertedRecord ConvertSplitRecord(std::string_view text, std::size_t size, TCount count,
                                    TSplit split, TConversionState& state,
                                    TProgressService& progress) {
    state.FailureReason.clear();
    state.SgfNotes.variations = 0;
    state.SgfNotes.games = 0;
    progress.SetTimer(true);
    TConvertedRecord record;
    TSgfLeftOut leftOut;
    TEntryList kept(text);
    const bool keeping = size <= KEPT_RECORD_BYTES;
    if (keeping) {
        kept.Reserve(size);
    }
    const std::optional<std::size_t> steps =
        keeping ? (split(kept, leftOut) ? std::optional(kept.Count()) : std::nullopt) : count();
    if (!steps) {
        state.FailureReason = texts::SGF_NOT_A_RECORD;
        FinishProgress(progress);
        return record;
    }
    progress.SetBar(TBar::ProgressBar1, TBarField::Max,
                    static_cast<int>(std::min<std::size_t>(*steps, INT_MAX)));

    TUgfBuilder builder(state, state.Settings.SGFConv == 0, text);
    // An output many times its record (millions of empty AB values, each a line) goes to a
    // temporary file past twice the record, so memory stays bounded by the record.
    builder.SpillBeyond(2 * size + (16 << 20));
    if (keeping) {
        kept.HandTo(builder);
    } else {
        (void)split(builder, leftOut);
    }
    state.SgfNotes.variations = leftOut.variations;
    state.SgfNotes.games = leftOut.games;
    record.text = builder.Finish();
    if (state.Settings.SGFConv != 0) {
        state.FailureReason = texts::SGF_CONVERSION_OFF;
    } else {
        record.ready = true;
    }
    FinishProgress(progress);
    return record;
}

}  // namespace

TConvertedRecord ConvertSgfRecord(const TLineList& source, TConversionState& state,
                                  TProgressService& progress) {
    std::size_t size = 0;
    for (const std::string& line : source) {
        size += line.size() + 2;
    }
    return ConvertSplitRecord(
        {}, size, [&source] { return CountSgfEntries(source); },
        [&source](TSgfSplitSink& sink, TSgfLeftOut& leftOut) {
            return SplitSgfRecord(source, sink, &leftOut);
        },
        state, progress);
}

TConvertedRecord ConvertSgfText(std::string_view text, TConversionState& state,
                                TProgressService& progress) {
    return ConvertSplitRecord(
        text, text.size(), [text] { return CountSgfEntries(text); },
        [text](TSgfSplitSink& sink, TSgfLeftOut& leftOut) {
            return SplitSgfRecord(text, sink, &leftOut);
        },
        state, progress);
}

TConvertedRecord ConvertSgfBytes(std::string_view bytes, TConversionState& state,
                                 TProgressService& progress) {
    state.SgfNotes = {};
    const TSgfEncoding encoding = SgfEncodingOf(bytes);
    std::string transcoded;
    if (encoding.charset != TSgfCharset::ShiftJis) {
        TShiftJisRecord record = TranscodeToShiftJis(bytes, encoding);
        if (!record.ok) {
            state.FailureReason = texts::CANNOT_TRANSCODE + encoding.name;
            progress.SetTimer(true);
            FinishProgress(progress);
            return {};
        }
        if (record.bytes != bytes) {
            state.SgfNotes.encoding = encoding.name;
            state.SgfNotes.toldFromBytes = encoding.toldFromBytes;
            transcoded = std::move(record.bytes);
            bytes = transcoded;
        }
        state.SgfNotes.replaced = record.replaced;
        if (record.replaced > 0) {
            state.TempMemo.push_back(texts::REPLACED_BEFORE +
                                     IntToText(static_cast<long long>(record.replaced)) +
                                     texts::REPLACED_AFTER);
        }
    }
    return ConvertSgfText(bytes, state, progress);
}

bool ConvertSgfToUgf(const std::string& path, TConversionState& state, TProgressService& progress,
                     TFileService& files) {
    state.FailureReason.clear();
    state.SgfNotes = {};
    const std::optional<std::string> bytes = LoadRecord(path, state, files);
    if (!bytes) {
        return false;
    }
    const TConvertedRecord record = ConvertSgfBytes(*bytes, state, progress);
    return record.ready && WriteOutput(path, ".ugf", record.text, state, files);
}
