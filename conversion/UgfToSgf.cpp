#include "conversion/UgfToSgf.h"

#include "conversion/KeyTable.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"
#include "conversion/UgfLayout.h"
#include "conversion/UgfRecord.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// A packed move line of dialect 1 is emitted once it is longer than this.
constexpr std::size_t PACKED_LINE_BYTES = 200;

// What the root node of the SGF is made of.
struct TSgfRoot {
    std::string size;
    std::string komi;
    std::int32_t handicap = 0;
    std::string rule;
    std::string result;
    TUgfPlayer black;
    TUgfPlayer white;
    std::string stones;
};

// The bar's maximum: the "[Comment]" line, or the last line; never below 0.
int ProgressMax(const TUgfSections& sections, std::size_t lineCount) {
    if (sections.comment >= 0) {
        return sections.comment;
    }
    if (lineCount == 0) {
        return 0;
    }
    constexpr std::size_t LARGEST = std::numeric_limits<int>::max();
    return static_cast<int>(std::min(lineCount - 1, LARGEST));
}

// Ends a conversion whose header line was read: the bar at its maximum, the timer off.
TConvertedRecord Finish(TConvertedRecord record, TProgressService& progress) {
    progress.SetBar(TBar::ProgressBar1, TBarField::Position,
                    progress.GetBar(TBar::ProgressBar1, TBarField::Max));
    progress.SetTimer(false);
    return record;
}

// Ends a conversion that gives no output, with the reason.
TConvertedRecord Fail(std::string reason, TConversionState& state, TProgressService& progress) {
    state.FailureReason = std::move(reason);
    return Finish(TConvertedRecord{}, progress);
}

// The player of the "BMemb1" or "WMemb1" line (code); without such a line, that of the newer
// form's "PlayerB" or "PlayerW" line (newer), when there is one.
TUgfPlayer ReadPlayer(const TUgfHeader& header, std::uint8_t code, TUgfNewerKey newer,
                      TStringSplit& split) {
    const std::optional<std::string>& player = header.Value(newer);
    if (header.Has(code) || !player) {
        return ReadUgfPlayer(header.Value(code), split);
    }
    return ReadUgfNewerPlayer(*player, split);
}

// 'Taro(3d)'.
std::string Player(const TUgfPlayer& player) { return player.name + "(" + player.rank + ")"; }

// The lines of the dialect (0 to 3) before the moves. Kept as designed: dialect 0 repeats "AB"
// before every stone, and dialect 2 writes the stone values right after "VW[]" without a property
// name of their own, as their applications expect.
void WriteRoot(std::int32_t dialect, const TSgfRoot& root, TOutputText& out) {
    const std::string handicap = IntToText(root.handicap);
    switch (dialect) {
        case 0:
            out.AppendLine("(;");
            out.AppendLine("SZ[" + root.size + "]PB[" + Player(root.black) + "]PW[" +
                           Player(root.white) + "]BS[0]WS[0]KM[" + root.komi + "]HA[" + handicap +
                           "]RU[" + root.rule + "]AP[The strongest game of Go 2.0]VW[]");
            if (root.handicap == 0) {
                out.AppendLine("RE[" + root.result + "]PL[B];");
            } else {
                out.AppendLine("RE[" + root.result + "]PL[W]" + root.stones + ";");
            }
            break;
        case 1:
            out.AppendLine("(;SZ[" + root.size + "]BS[0]WS[0]PB[" + Player(root.black) + "]PW[" +
                           Player(root.white) + "]KM[" + root.komi + "]HA[" + handicap + "]C[]" +
                           root.stones + ";");
            break;
        case 2:
            out.AppendLine("(;");
            out.AppendLine("FF[4]SZ[" + root.size + "]BS[0]WS[1]PB[" + root.black.name + "]PW[" +
                           root.white.name + "]KM[" + root.komi + "]HA[" + handicap + "]RU[" +
                           root.rule + "]AP[AIIGO /AGS]VW[]" + root.stones + ";");
            break;
        default:
            out.AppendLine("(;");
            out.AppendLine(texts::FAMILY_GAME_NAME);
            out.AppendLine("PB[" + root.black.name + "]PW[" + root.white.name + "]GM[1]SZ[" +
                           root.size + "]BS[0]WS[2]KM[" + root.komi + "]HA[" + handicap + "]" +
                           root.stones + ";");
            break;
    }
}

// Writes the moves of a dialect as they come: in dialects 0, 2 and 3 one move a line, each
// followed by ";" and the last one by ")"; in dialect 1 packed, each move followed by ";", a line
// ended as soon as it is longer than PACKED_LINE_BYTES, and the last move followed by ")" ending
// the last line. A move is held until the next one shows whether it is the last.
class TMoveWriter {
public:
    TMoveWriter(std::int32_t dialect, TOutputText& out) : m_packed(dialect == 1), m_out(out) {}

    // Takes the next move: 'B[pd]', "W[tt]" for a pass; only ASCII letters of the point are
    // lower-cased.
    void Add(char colour, std::string_view point, bool pass) {
        if (m_held) {
            Write(';');
        }
        m_pending.clear();
        m_pending += colour;
        m_pending += '[';
        if (pass) {
            m_pending += "tt";
        } else {
            AppendAnsiLower(m_pending, point);
        }
        m_pending += ']';
        m_held = true;
    }

    // Writes the last move, or ")" alone when there was none: nothing else closes the game tree.
    void Finish() {
        if (!m_held) {
            m_out.AppendLine(")");
            return;
        }
        Write(')');
        if (m_packed) {
            m_out.Append("\r\n");
        }
    }

private:
    // The held move with its terminator, written in one piece.
    void Write(char terminator) {
        const std::size_t size = m_pending.size();
        m_pending += terminator;
        if (!m_packed) {
            m_pending += "\r\n";
        } else {
            m_lineBytes += size + 1;
            if (terminator == ';' && m_lineBytes > PACKED_LINE_BYTES) {
                m_pending += "\r\n";
                m_lineBytes = 0;
            }
        }
        m_out.Append(m_pending);
    }

    bool m_packed;
    TOutputText& m_out;
    std::string m_pending;
    bool m_held = false;
    std::size_t m_lineBytes = 0;
};

}  // namespace

TConvertedRecord ConvertUgfRecord(std::string_view text, TConversionState& state,
                                  TProgressService& progress) {
    state.FailureReason.clear();
    const TUgfSections sections = FindUgfSections(text);
    progress.SetBar(TBar::ProgressBar1, TBarField::Max, ProgressMax(sections, sections.lineCount));
    progress.SetBar(TBar::ProgressBar1, TBarField::Position, 0);
    progress.SetTimer(true);
    state.ProgressCount = 0;

    TUgfLayout layout = ReadUgfLayout(text, sections, state);
    switch (layout.fault) {
        case TUgfFault::NoHeaderLine:
            state.FailureReason = UgfFaultReason(layout);
            progress.SetTimer(false);
            return {};
        case TUgfFault::NotPlain:
            state.TempMemo.push_back(layout.header.Value(keys::CRYPT));
            return Fail(UgfFaultReason(layout), state, progress);
        case TUgfFault::NotSjis:
            return Fail(UgfFaultReason(layout), state, progress);
        default:
            break;
    }
    // The newer form's next section line takes the place of "[Comment]", also as the bar's end.
    if (*layout.form == TUgfForm::Newer) {
        const int max = ProgressMax(layout.dataSections, sections.lineCount);
        if (max != progress.GetBar(TBar::ProgressBar1, TBarField::Max)) {
            progress.SetBar(TBar::ProgressBar1, TBarField::Max, max);
        }
    }
    if (layout.fault == TUgfFault::BadHandicap) {
        std::string reason = UgfFaultReason(layout);
        state.TempMemo.push_back(reason);
        return Fail(std::move(reason), state, progress);
    }

    const TUgfHeader& header = layout.header;
    TStringSplit& split = state.StringSplit;
    TSgfRoot root;
    root.handicap = layout.handicap.count;
    root.komi = std::move(layout.handicap.komi);
    root.size = header.Value(keys::SIZE);
    const std::string& rule = header.Value(keys::RULE);
    root.rule = rule == "JPN" || rule.empty() ? "Japanese" : "";
    root.result = ReadUgfResult(header.Value(keys::WINNER), split);
    root.black = ReadPlayer(header, keys::BMEMB1, TUgfNewerKey::PlayerB, split);
    root.white = ReadPlayer(header, keys::WMEMB1, TUgfNewerKey::PlayerW, split);
    for (TUgfPlayer* player : {&root.black, &root.white}) {
        if (player->rank.empty()) {
            player->rank = texts::UNKNOWN_RANK;
        }
    }

    const std::int32_t dialect = state.Settings.USGFApli;
    // Whether an output is written is settled now, so the moves go straight into it.
    const bool writing = state.Settings.UGFConv == 0 && dialect >= 0 && dialect <= 3;
    const TUgfDataLines& data = layout.data;
    TLineCursor& lines = layout.lines;
    std::string_view line;
    std::string mirrored;
    const bool bareStones = dialect == 1 || dialect == 2;
    for (std::size_t i = data.handicapBegin; i < data.moveBegin; ++i) {
        (void)lines.Next(line);
        if (const std::optional<std::string_view> point =
                UgfHandicapPoint(line, layout.igsRows, mirrored)) {
            root.stones += bareStones ? "[" : "AB[";
            AppendAnsiLower(root.stones, *point);
            root.stones += ']';
        }
        state.StepProgress();
    }
    // One "AB" for all the values; none without a value, which would leave an empty property.
    if (dialect == 1 && !root.stones.empty()) {
        root.stones.insert(0, "AB");
    }

    TConvertedRecord record;
    if (writing) {
        WriteRoot(dialect, root, record.text);
    }
    TMoveWriter moves(dialect, record.text);
    for (std::size_t i = data.moveBegin; i < data.end; ++i) {
        (void)lines.Next(line);
        if (writing) {
            if (const std::optional<TUgfStone> move =
                    UgfMoveStone(line, layout.igsRows, mirrored)) {
                moves.Add(move->colour, move->point, move->pass);
            }
        }
        state.StepProgress();
    }
    // The data lines were cut on views; StringSplit is left as the last of them would leave it.
    if (data.end > data.handicapBegin) {
        LeaveSplitAsLineLeftIt(line, ',', split);
    }

    if (state.Settings.UGFConv != 0) {
        return Fail(texts::UGF_CONVERSION_OFF, state, progress);
    }
    if (dialect < 0 || dialect > 3) {
        return Fail(texts::UNKNOWN_SGF_DIALECT + IntToText(dialect), state, progress);
    }
    moves.Finish();
    record.ready = true;
    return Finish(std::move(record), progress);
}

bool ConvertUgfToSgf(const std::string& path, TConversionState& state, TProgressService& progress,
                     TFileService& files) {
    state.FailureReason.clear();
    const std::optional<std::string> bytes = LoadRecord(path, state, files);
    if (!bytes) {
        return false;
    }
    const TConvertedRecord record = ConvertUgfRecord(*bytes, state, progress);
    return record.ready && WriteOutput(path, ".sgf", record.text, state, files);
}
