#include "cli/Check.h"

#include "board/Replay.h"

#include "cli/Console.h"
#include "conversion/CheckText.h"
#include "conversion/FileError.h"
#include "conversion/Services.h"

#include <string>
#include <utility>

namespace {

// Shift-JIS text of a record or of the conversion, as the terminal shows it.
std::string Shown(std::string_view text) { return ForTerminal(TUserText(std::string(text))); }

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
            std::string text =
                "not kept by design: " +
                Shown(DesignChangesText(check.changes, source.notes, TWording::English)) + " (" +
                MovesText(source.moves.size());
            if (check.difference.what != TGameDifference::TWhat::None) {
                text += "; first change: " +
                        Shown(DifferenceText(source, output, check.difference, TWording::English));
            }
            return text + ")";
        }
        case TCheckVerdict::Differs:
            break;
    }
    if (!check.reason.empty()) {
        return "output cannot be read back: " + Shown(check.reason);
    }
    return Shown(DifferenceText(source, output, check.difference, TWording::English));
}

int RunCheck(const TOptions& options, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    const TConversionSettings& settings = options.settings;
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
