#include "conversion/SgfToUgf.h"

#include "conversion/KeyTable.h"
#include "conversion/SGFAdjust.h"
#include "conversion/SgfEncoding.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"
#include "conversion/UgfRecord.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

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

// Counts what the splitter hands over: the bar's maximum.
class TCountingSink : public TSgfSplitSink {
public:
    void Property(std::string_view) override { ++steps; }
    void Stone(std::string_view) override { ++steps; }
    void Node(std::string_view) override { ++steps; }
    std::size_t steps = 0;
};

// Builds the UGF record from what the splitter hands over, in one walk: the root properties into
// the values, the stones and the moves straight into the data lines of the output, the header in
// front of them at the end. Each entry is taken apart at "[" and "]" as PatExtract and StringSplit
// do, on views rather than copies; the two components are left as taking the record apart with
// them step by step would leave them.
class TUgfBuilder : public TSgfSplitSink {
public:
    TUgfBuilder(TConversionState& state, bool writing) : m_state(state), m_writing(writing) {}

    void Property(std::string_view property) override {
        const std::optional<TExtractedParts> parts = ExtractParts(property, "[", "]");
        m_state.ClassifyKey(parts ? parts->prope : std::string_view());
        if (std::string* value = ValueFor(m_values, m_state.KeyCode)) {
            value->assign(parts ? parts->data : std::string_view());
        }
        m_values.sizeGiven = m_values.sizeGiven || m_state.KeyCode == keys::SZ;
        m_state.StepProgress();
    }

    void Stone(std::string_view stone) override {
        const std::optional<TExtractedParts> parts = ExtractParts(stone, "[", "]");
        if (parts && parts->prope == "AB" && m_writing) {
            m_line.clear();
            AppendUgfDataLine(m_line, parts->data, true, "B1", 0);
            m_text.AppendLine(m_line);
        }
        m_lastStone.assign(stone);
        m_state.StepProgress();
    }

    // One move line per black or white move property of the node, numbered in one sequence.
    // Other properties of a node (comments, times) give nothing.
    void Node(std::string_view node) override {
        EndRoot();
        ForEachPiece(node, "]", true, [this](std::string_view piece) {
            const std::optional<TExtractedParts> parts = ExtractParts(piece, "[", "]");
            const std::string_view name = parts ? parts->prope : std::string_view();
            const char* colour = name == "B" || name == "Black"   ? "B1"
                                 : name == "W" || name == "White" ? "W1"
                                                                  : nullptr;
            if (colour == nullptr) {
                return;
            }
            ++m_moves;
            if (!m_writing) {
                return;
            }
            // Only the lower-case "tt" is the pass.
            const std::string_view point = parts->data;
            const bool pass = point == "tt";
            m_line.clear();
            AppendUgfDataLine(m_line, pass ? "YA" : point, !pass, colour,
                              static_cast<long long>(m_moves));
            m_text.AppendLine(m_line);
        });
        m_lastNode.assign(node);
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
    // After the root: the winner and the players' ranks, and the components as those steps and
    // the last stone leave them.
    void EndRoot() {
        if (m_rootEnded) {
            return;
        }
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
    bool m_rootEnded = false;
    bool m_anyNode = false;
    std::string m_lastStone;
    std::string m_lastNode;
};

// The end of every conversion, written or not: the bar full, the timer off.
void FinishProgress(TProgressService& progress) {
    progress.SetBar(TBar::ProgressBar1, TBarField::Position,
                    progress.GetBar(TBar::ProgressBar1, TBarField::Max));
    progress.SetTimer(false);
}

// The conversion of a record whose lines split hands to a sink (SplitSgfRecord): once to count
// the steps and see that the record can be split, once to build the output.
template <typename TSplit>
TConvertedRecord ConvertSplitRecord(TSplit split, TConversionState& state,
                                    TProgressService& progress) {
    progress.SetTimer(true);
    TConvertedRecord record;
    TCountingSink counting;
    if (!split(counting)) {
        state.FailureReason = texts::SGF_NOT_A_RECORD;
        FinishProgress(progress);
        return record;
    }
    progress.SetBar(TBar::ProgressBar1, TBarField::Max,
                    static_cast<int>(std::min<std::size_t>(counting.steps, INT_MAX)));

    TUgfBuilder builder(state, state.SGFConv == 0);
    (void)split(builder);
    record.text = builder.Finish();
    if (state.SGFConv != 0) {
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
    state.FailureReason.clear();
    state.SgfNotes.joined = HoldsSeveralGameTrees(source);
    return ConvertSplitRecord(
        [&source](TSgfSplitSink& sink) { return SplitSgfRecord(source, sink); }, state, progress);
}

TConvertedRecord ConvertSgfText(std::string_view text, TConversionState& state,
                                TProgressService& progress) {
    state.FailureReason.clear();
    state.SgfNotes.joined = HoldsSeveralGameTrees(text);
    return ConvertSplitRecord([text](TSgfSplitSink& sink) { return SplitSgfRecord(text, sink); },
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
