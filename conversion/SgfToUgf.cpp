#include "conversion/SgfToUgf.h"

#include "conversion/KeyTable.h"
#include "conversion/SgfEncoding.h"
#include "conversion/SgfNode.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"
#include "conversion/UgfRecord.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
    TLineList handicapLines;
    TLineList moveLines;
};

// Runs PatExtract on expr with the given one-character patterns. On false, Prope and Data are
// empty, which is all most callers need.
bool Extract(TPatExtract& extract, const std::string& expr, char open = '[', char close = ']') {
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

void TakeRootProperties(const TLineList& properties, TConversionState& state, TUgfValues& values) {
    for (const std::string& property : properties) {
        Extract(state.PatExtract, property);
        state.ClassifyKey(state.PatExtract.Prope);
        if (std::string* value = ValueFor(values, state.KeyCode)) {
            *value = state.PatExtract.Data;
        }
        values.sizeGiven = values.sizeGiven || state.KeyCode == keys::SZ;
        state.StepProgress();
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

void TakeHandicapStones(const TLineList& stones, TConversionState& state, TUgfValues& values) {
    for (const std::string& stone : stones) {
        Extract(state.PatExtract, stone);
        if (state.PatExtract.Prope == "AB") {
            values.handicapLines.push_back(
                WriteUgfDataLine(AnsiUpper(state.PatExtract.Data), "B1", 0));
        }
        state.StepProgress();
    }
}

// One move line per black or white move property of the nodes, numbered in one sequence. Other
// properties of a node (comments, times) give nothing. Each node is taken apart as StringSplit and
// PatExtract would (ForEachSgfValue), on views rather than copies; the two components are then
// left as the last node and its last piece set them.
void TakeMoves(const TLineList& nodes, TConversionState& state, TUgfValues& values) {
    values.moveLines.reserve(nodes.size());  // most nodes hold one move
    for (const std::string& node : nodes) {
        ForEachSgfValue(node, [&values](std::string_view name, std::string_view point) {
            const char colour = SgfMoveColour(name);
            if (colour == '\0') {
                return;
            }
            // Only the lower-case "tt" is the pass.
            const long long number = static_cast<long long>(values.moveLines.size()) + 1;
            const bool pass = point == "tt";
            std::string& line = values.moveLines.emplace_back(
                WriteUgfDataLine(pass ? "YA" : point, colour == 'B' ? "B1" : "W1", number));
            if (!pass) {
                AnsiUpperPrefix(line, point.size());
            }
        });
        state.StepProgress();
    }
    if (!nodes.empty()) {
        TStringSplit& split = state.StringSplit;
        split.pattern = ']';
        split.patterncut = false;
        split.expr = nodes.back();
        split.Split();
        if (!split.items.empty()) {
            Extract(state.PatExtract, split.items.back());
        }
    }
}

// The UGF record of the values in the program's own layout.
TLineList BuildUgfLines(TUgfValues& values) {
    TUgfWrittenHeader header;
    header.title =
        (values.event.empty() ? std::string(texts::UGF_DEFAULT_TITLE) : values.event) + ",,";
    header.place = values.place;
    header.rule = values.rule.empty() || values.rule == "Japanese" ? "JPN" : "";
    // A record without a size is 19 x 19 by the SGF standard; a size given stays as it is, even
    // empty.
    header.size = values.sizeGiven ? values.size : "19";
    header.winner = values.winner;
    header.bMemb1 = values.blackName + "," + values.blackRank;
    header.wMemb1 = values.whiteName + "," + values.whiteRank;
    header.user = values.user;
    header.copyright = values.copyright;
    return WriteUgfRecord(header, std::move(values.handicapLines), std::move(values.moveLines));
}

// The end of every conversion, written or not: the bar full, the timer off.
void FinishProgress(TProgressService& progress) {
    progress.SetBar(TBar::ProgressBar1, TBarField::Position,
                    progress.GetBar(TBar::ProgressBar1, TBarField::Max));
    progress.SetTimer(false);
}

}  // namespace

TConvertedRecord ConvertSgfRecord(TLineList source, TConversionState& state,
                                  TProgressService& progress) {
    state.FailureReason.clear();
    state.SgfNotes.joined = HoldsSeveralGameTrees(source);
    TSGFAdjust& adjust = state.SGFAdjust;
    adjust.Input = std::move(source);
    progress.SetTimer(true);
    TConvertedRecord record;
    if (!adjust.Adjust()) {
        state.FailureReason = texts::SGF_NOT_A_RECORD;
        FinishProgress(progress);
        return record;
    }
    const std::size_t steps =
        adjust.OutputHD.size() + adjust.OutputHA.size() + adjust.OutputCK.size();
    progress.SetBar(TBar::ProgressBar1, TBarField::Max,
                    static_cast<int>(std::min<std::size_t>(steps, INT_MAX)));

    TUgfValues values;
    TakeRootProperties(adjust.OutputHD, state, values);
    values.winner = WinnerOf(values.result, state);
    SplitBracketedRank(values.blackName, state.PatExtract);
    SplitBracketedRank(values.whiteName, state.PatExtract);
    if (!adjust.OutputHA.empty()) {
        TakeHandicapStones(adjust.OutputHA, state, values);
    }
    TakeMoves(adjust.OutputCK, state, values);

    if (state.SGFConv != 0) {
        state.FailureReason = texts::SGF_CONVERSION_OFF;
    } else {
        record.ready = true;
        record.lines = BuildUgfLines(values);  // takes the data lines out of values
    }
    FinishProgress(progress);
    return record;
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
    return ConvertSgfRecord(SplitLines(bytes), state, progress);
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
    return record.ready && WriteOutput(path, ".ugf", record.lines, state, files);
}
