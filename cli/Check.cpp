#include "cli/Check.h"

#include "board/Replay.h"

#include "cli/Console.h"
#include "conversion/FileError.h"
#include "conversion/Services.h"

#include <string>
#include <utility>

namespace {

// What the conversion's design changes, as the report says it.
constexpr std::pair<unsigned, const char*> DESIGN_CHANGES[] = {
    {design::VARIATIONS_LEFT_OUT, "variations left out"},
    {design::GAMES_LEFT_OUT, "more games in the file left out"},
    {design::ROOT_MOVES, "a move in the root node is not taken"},
    {design::OTHER_SETUP, "setup stones other than the root's AB have no place in UGF"},
    {design::HANDICAP_AS_MOVES,
     "handicap stones read back as black moves (no Hdcp line is written)"},
    {design::CAPITAL_POINTS, "points in capital letters read back in small letters"},
    {design::PASS_FORM, "\"tt\" is a pass in one format and a point in the other"},
    {design::BARE_STONES, "the SGF of this application gives handicap stones no property name"},
};

// Shift-JIS text of a record or of the conversion, as the terminal shows it.
std::string Shown(std::string_view text) { return ForTerminal(TUserText(std::string(text))); }

std::string ColourName(TColour colour) { return colour == TColour::Black ? "black" : "white"; }

std::string PointText(const TGame& game, const TGamePoint& point) {
    switch (point.kind) {
        case TPointKind::Pass:
            return "pass";
        case TPointKind::On:
            return CoordinateOf(point, game.boardSize);
        case TPointKind::Off:
            break;
    }
    // Built step by step: "'" + a temporary string makes GCC 12 warn falsely (-Wrestrict).
    std::string text(1, '\'');
    text += Shown(game.Text(point));
    text += "' (off the board)";
    return text;
}

std::string SetupText(const TGame& game, std::size_t index) {
    if (index >= game.setup.size()) {
        return "none";
    }
    const TSetupStone& stone = game.setup[index];
    const char* kind = stone.kind == TSetupKind::Black   ? "black "
                       : stone.kind == TSetupKind::White ? "white "
                                                         : "empty ";
    return kind + PointText(game, stone.point);
}

// "source Q16, output Q4", with the colours when they differ.
std::string MoveTexts(const TGame& source, const TGame& output, std::size_t index) {
    const bool both = index < source.moves.size() && index < output.moves.size();
    const bool colours = both && source.moves[index].colour != output.moves[index].colour;
    const auto text = [&](const TGame& game) {
        if (index >= game.moves.size()) {
            return std::string("none");
        }
        const TGameMove& move = game.moves[index];
        return (colours ? ColourName(move.colour) + " " : "") + PointText(game, move.point);
    };
    return "source " + text(source) + ", output " + text(output);
}

std::string DifferenceText(const TGame& source, const TGame& output,
                           const TGameDifference& difference) {
    switch (difference.what) {
        case TGameDifference::TWhat::Size:
            return "size: source " + Shown(source.size) + ", output " + Shown(output.size);
        case TGameDifference::TWhat::Setup:
            return "setup stone " + std::to_string(difference.index + 1) + ": source " +
                   SetupText(source, difference.index) + ", output " +
                   SetupText(output, difference.index);
        case TGameDifference::TWhat::Move:
            return "move " + std::to_string(difference.index + 1) + ": " +
                   MoveTexts(source, output, difference.index);
        case TGameDifference::TWhat::None:
            break;
    }
    return {};
}

// The first point where the final positions of two games of one board differ, or nothing.
std::string FinalPositionText(const TGame& source, const TGame& output) {
    if (source.boardSize == 0) {
        return {};
    }
    const TBoard a = FinalPosition(source).board;
    const TBoard b = FinalPosition(output).board;
    for (int row = 0; row < a.Size(); ++row) {
        for (int column = 0; column < a.Size(); ++column) {
            if (a.At(column, row) != b.At(column, row)) {
                const auto name = [](TStone stone) {
                    return stone == TStone::Black   ? "black"
                           : stone == TStone::White ? "white"
                                                    : "empty";
                };
                TGamePoint point;
                point.kind = TPointKind::On;
                point.column = static_cast<std::uint8_t>(column);
                point.row = static_cast<std::uint8_t>(row);
                return "final position at " + CoordinateOf(point, source.boardSize) + ": source " +
                       name(a.At(column, row)) + ", output " + name(b.At(column, row));
            }
        }
    }
    return {};
}

// A change of the design as the report says it: the variations and games left out with their
// count ("3 variations left out", "1 more game in the file left out").
std::string CountedChange(unsigned change, std::string_view why, const TGameNotes& notes) {
    const std::size_t count = change == design::VARIATIONS_LEFT_OUT ? notes.variations
                              : change == design::GAMES_LEFT_OUT    ? notes.games
                                                                    : 0;
    if (count == 0) {
        return std::string(why);
    }
    std::string text = std::to_string(count) + " ";
    if (count == 1) {
        // "variations left out" becomes "variation left out", "more games" "more game".
        const std::size_t plural = why.find("s ");
        text += why.substr(0, plural);
        text += why.substr(plural + 1);
        return text;
    }
    return text += why;
}

std::string MovesText(std::size_t moves) {
    return std::to_string(moves) + (moves == 1 ? " move" : " moves");
}

}  // namespace

std::string CheckText(const TGameCheck& check) {
    const TGame& source = check.source.game;
    const TGame& output = check.output.game;
    switch (check.verdict) {
        case TCheckVerdict::NotConverted:
            return "not converted: " + Shown(check.reason);
        case TCheckVerdict::Same:
            return "same game (" + MovesText(source.moves.size()) + ")";
        case TCheckVerdict::ByDesign: {
            std::string text = "not kept by design: ";
            const char* separator = "";
            for (const auto& [change, why] : DESIGN_CHANGES) {
                if (check.changes & change) {
                    text += separator;
                    text += CountedChange(change, why, source.notes);
                    separator = "; ";
                }
            }
            text += " (" + MovesText(source.moves.size());
            if (check.difference.what != TGameDifference::TWhat::None) {
                text += "; first change: " + DifferenceText(source, output, check.difference);
            }
            return text + ")";
        }
        case TCheckVerdict::Differs:
            break;
    }
    if (!check.reason.empty()) {
        return "output cannot be read back: " + Shown(check.reason);
    }
    return DifferenceText(source, output, check.difference);
}

int RunCheck(const TOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    TConversionState settings;
    settings.USGFApli = options.app;
    settings.SGFConv = options.sgfConv;
    settings.UGFConv = options.ugfConv;
    TDiskFileService files;
    const bool progress = errIsTerminal && !options.quiet && options.files.size() > 1;
    int status = 0;
    std::size_t counts[4] = {};  // by verdict
    std::size_t skipped = 0;
    std::size_t moves = 0;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        const std::string& path = options.files[i];
        const std::string file = Printable(path);
        const TRecordKind kind = RecordKindOf(path);
        if (kind == TRecordKind::Other) {
            out << file << ": skipped: not a .ugf, .ugi or .sgf file\n" << std::flush;
            ++skipped;
            status = 1;
            continue;
        }
        if (progress) {
            err << "\r\x1b[K[" << i + 1 << "/" << options.files.size() << "] " << file
                << std::flush;
        }
        std::string text;
        TGameCheck check;
        try {
            check = CheckRecordGame(files.Load(path), kind, settings);
            text = CheckText(check);
            // Equal games end in equal positions; a board that says otherwise would show a fault
            // of the comparison itself.
            if (check.verdict == TCheckVerdict::Same) {
                if (std::string final = FinalPositionText(check.source.game, check.output.game);
                    !final.empty()) {
                    check.verdict = TCheckVerdict::Differs;
                    text = std::move(final);
                }
            }
        } catch (const TUserError& error) {
            check.verdict = TCheckVerdict::NotConverted;
            text = "not converted: " + ForTerminal(error.text);
        }
        if (progress) {
            err << "\r\x1b[K" << std::flush;
        }
        ++counts[static_cast<int>(check.verdict)];
        moves += check.source.game.moves.size();
        if (check.verdict == TCheckVerdict::Differs ||
            check.verdict == TCheckVerdict::NotConverted) {
            status = 1;
        }
        out << file << ": " << text << "\n" << std::flush;
    }
    out << "checked " << options.files.size() - skipped << " records (" << MovesText(moves)
        << "): " << counts[static_cast<int>(TCheckVerdict::Same)] << " same game, "
        << counts[static_cast<int>(TCheckVerdict::ByDesign)] << " not kept by design, "
        << counts[static_cast<int>(TCheckVerdict::Differs)] << " differ, "
        << counts[static_cast<int>(TCheckVerdict::NotConverted)] << " not converted";
    if (skipped > 0) {
        out << ", " << skipped << " skipped";
    }
    out << "\n";
    return status;
}
