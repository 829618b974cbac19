#include "cli/Kifuconv.h"

#include "cli/Check.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "conversion/ConversionRun.h"
#include "conversion/ConversionState.h"
#include "conversion/Paths.h"
#include "conversion/RecordConverters.h"
#include "conversion/Services.h"

#include <chrono>
#include <string>

namespace {

// The project's version, from the top-level CMakeLists.txt.
constexpr char VERSION[] = MORVANE_VERSION;

constexpr char USAGE[] =
    "Usage: kifuconv [--app N] [--sgf-conv N] [--ugf-conv N] [-q|--quiet] FILE...\n"
    "       kifuconv --check [--app N] [--sgf-conv N] [--ugf-conv N] [-q|--quiet] FILE...\n"
    "       kifuconv --help | --version\n"
    "\n"
    "Converts Go game records (囲碁棋譜ファイル変換 Morvane): each FILE.ugf or FILE.ugi becomes\n"
    "FILE.sgf and each FILE.sgf becomes FILE.ugf, beside the source. The letter case of the\n"
    "extension does not matter, and the output's extension is lower case (GAME.SGF becomes\n"
    "GAME.ugf). An output that exists already is kept as FILE.bak. Files with any other\n"
    "extension are skipped. An SGF record in UTF-8, in UTF-16 with a byte-order mark, or in\n"
    "another encoding that its CA property names, is written as Shift-JIS UGF; a character\n"
    "that Shift-JIS has no form for becomes \"?\".\n"
    "\n"
    "  --app N        the application the SGF is written for (default 0):\n"
    "                   0  お父さんの囲碁３\n"
    "                   1  Ｔｈｅ囲碁\n"
    "                   2  ＡＩ囲碁\n"
    "                   3  ファミリー囲碁２\n"
    "  --sgf-conv N   0 converts SGF records to UGF (default); other values write nothing\n"
    "  --ugf-conv N   0 converts UGF records to SGF (default); other values write nothing\n"
    "  -q, --quiet    no progress line on standard error\n"
    "  --check        write nothing: convert each FILE in memory, read the output back and\n"
    "                 compare the two games (size, setup stones, moves, final position);\n"
    "                 one line per FILE: \"same game (N moves)\", the first difference\n"
    "                 (\"move 57: source Q16, output Q4\"), or what the conversion cannot keep\n"
    "                 by design (\"not kept by design: ...\"); then a count of each\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "  --            every later argument is a FILE\n"
    "\n"
    "One line per FILE on standard output: converted, failed (with the reason) or skipped.\n"
    "A converted SGF record's line says the encoding it was read in, when not Shift-JIS, and\n"
    "says what the UGF leaves out: the variations off the main line (\"(3 variations left\n"
    "out)\") and the games after the first (\"(2 more games in the file left out)\").\n"
    "Exit status: 0 every FILE converted, 1 some FILE failed or was skipped, 2 usage error.\n"
    "With --check: 0 every FILE keeps its game or loses part of it only by design, 1 some FILE\n"
    "differs, was not converted or was skipped, 2 usage error.\n";

// Keeps one progress line up to date on a terminal.
class TProgressLine {
public:
    TProgressLine(std::ostream& err, bool shown) : m_err(err), m_shown(shown) {}
    void Show(std::size_t count, std::size_t total, const std::string& file) {
        if (m_shown) {
            m_err << "\r\x1b[K[" << count << "/" << total << "] " << file << std::flush;
        }
    }
    void Clear() {
        if (m_shown) {
            m_err << "\r\x1b[K" << std::flush;
        }
    }

private:
    std::ostream& m_err;
    bool m_shown;
};

// True when everything written to out arrived; says so on err when it did not, since the report
// of what was converted is then lost.
bool Written(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) {
        return true;
    }
    err << "kifuconv: cannot write to standard output\n";
    return false;
}

// What the report line of a converted SGF record adds: the encoding its text was read in (and that
// no CA named it, when its bytes told it) and the characters that became "?", when it was not
// Shift-JIS; the variations and games left out.
std::string SgfNotesText(const TSgfNotes& notes) {
    std::string text;
    if (!notes.encoding.empty()) {
        text += " (read as " + Printable(notes.encoding);
        if (notes.toldFromBytes) {
            text += " (no CA)";
        }
        if (notes.replaced > 0) {
            text += ", " + std::to_string(notes.replaced) +
                    (notes.replaced == 1 ? " character" : " characters") +
                    " with no Shift-JIS form written as ?";
        }
        text += ")";
    }
    if (notes.variations > 0) {
        text += " (" + std::to_string(notes.variations) +
                (notes.variations == 1 ? " variation" : " variations") + " left out)";
    }
    if (notes.games > 0) {
        text += " (" + std::to_string(notes.games) +
                (notes.games == 1 ? " more game" : " more games") + " in the file left out)";
    }
    return text;
}

std::string FailureText(const TRowOutcome& outcome) {
    return outcome.reason.Empty() ? "not converted" : ForTerminal(outcome.reason);
}

}  // namespace

int RunKifuconv(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                bool errIsTerminal) {
    std::string error;
    const std::optional<TOptions> options = ParseOptions(arguments, error);
    if (!options) {
        err << "kifuconv: " << error << "\nTry 'kifuconv --help'.\n";
        return 2;
    }
    if (options->help || options->version) {
        if (options->help) {
            out << USAGE;
        } else {
            out << "kifuconv (Morvane) " << VERSION << "\n";
        }
        return Written(out, err) ? 0 : 1;
    }

    if (options->check) {
        const int status = RunCheck(*options, out, err, errIsTerminal);
        return Written(out, err) ? status : 1;
    }

    TConversionState state;
    state.Settings = options->settings;
    TSilentProgress progress;
    TDiskFileService files;
    TRecordConverters converters(state, progress, files);
    const bool showingProgress = errIsTerminal && !options->quiet && options->files.size() > 1;
    TProgressLine progressLine(err, showingProgress);
    // The report reaches a reader a line at a time, as each record is done, but a long batch is not
    // one write to the system a record: lines that come within a few hundredths of a second go out
    // together. Beside a progress line on the terminal each goes out at once.
    using TClock = std::chrono::steady_clock;
    constexpr auto GATHERED = std::chrono::milliseconds(50);
    TClock::time_point flushed = TClock::now();

    int status = 0;
    const std::size_t total = options->files.size();
    for (std::size_t i = 0; i < total; ++i) {
        const std::string& path = options->files[i];
        const std::string file = Printable(path);
        const TRecordKind kind = RecordKindOf(path);
        if (kind == TRecordKind::Other) {
            out << "skipped: " << file << ": not a .ugf, .ugi or .sgf file\n" << std::flush;
            status = 1;
            continue;
        }
        progressLine.Show(i + 1, total, file);
        const TRowOutcome outcome = ConvertRow(path, kind, state, converters);
        progressLine.Clear();
        if (outcome.converted) {
            out << "converted: " << file << " -> "
                << ChangeFileExt(file, kind == TRecordKind::Ugf ? ".sgf" : ".ugf")
                << (kind == TRecordKind::Sgf ? SgfNotesText(state.SgfNotes) : "") << "\n";
        } else {
            out << "failed: " << file << ": " << FailureText(outcome) << "\n";
            status = 1;
        }
        if (showingProgress || TClock::now() - flushed >= GATHERED) {
            out << std::flush;
            flushed = TClock::now();
        }
    }
    out << std::flush;
    return Written(out, err) ? status : 1;
}
