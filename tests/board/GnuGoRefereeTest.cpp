// GNU Go, which nobody here wrote, referees the game that the project reads from an SGF record:
// the final position of the main line as the viewer and the check read it, and of the UGF that the
// conversion writes read back, against the position GNU Go reaches after loading the record
// (`gnugo --mode gtp`, loadsgf, list_stones). Records GNU Go cannot load (boards above 19, texts
// it cannot parse) or plays otherwise (it stops at a move onto a stone or off the board, and
// plays moves in the root node, which the conversion does not take) are skipped, named and
// counted. The records are the project's own generated games, and the corpus beside the project
// when there is one.

#include "board/Replay.h"

#include "conversion/GameCheck.h"
#include "conversion/LineList.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// GNU Go as Debian installs it, or from the path; empty when there is none.
std::string GnuGo() {
    for (const char* path : {"/usr/games/gnugo", "/usr/bin/gnugo"}) {
        if (fs::exists(path)) {
            return path;
        }
    }
    return {};
}

// The stones of a position, one text per colour: "black A9 B8 ... white C7 ...", points sorted.
std::string StonesOf(const TBoard& board) {
    std::string text;
    for (const TStone colour : {TStone::Black, TStone::White}) {
        std::vector<std::string> points;
        for (int row = 0; row < board.Size(); ++row) {
            for (int column = 0; column < board.Size(); ++column) {
                if (board.At(column, row) == colour) {
                    TGamePoint point;
                    point.kind = TPointKind::On;
                    point.column = static_cast<std::uint8_t>(column);
                    point.row = static_cast<std::uint8_t>(row);
                    points.push_back(CoordinateOf(point, board.Size()));
                }
            }
        }
        std::sort(points.begin(), points.end());
        text += colour == TStone::Black ? "black" : " white";
        for (const std::string& point : points) {
            text += " " + point;
        }
    }
    return text;
}

// What GNU Go made of one record: its stones as StonesOf writes them, or why it is not to be
// compared.
struct TRefereed {
    std::string stones;
    std::string skipped;
};

TRefereed Referee(const std::string& gnugo, const fs::path& record, const fs::path& work) {
    const fs::path commands = work / "commands.gtp";
    const fs::path answers = work / "answers.txt";
    const fs::path warnings = work / "warnings.txt";
    std::ofstream(commands) << "loadsgf " << record.string()
                            << "\nlist_stones black\nlist_stones white\nquit\n";
    const std::string command = gnugo + " --mode gtp < " + commands.string() + " > " +
                                answers.string() + " 2> " + warnings.string();
    const int status = std::system(command.c_str());
    std::stringstream said;
    said << std::ifstream(warnings).rdbuf();
    if (said.str().find("Unsupported board size") != std::string::npos) {
        return {{}, "GNU Go plays no board above 19"};
    }
    if (said.str().find("WARNING") != std::string::npos) {
        return {{}, "GNU Go stops at a move onto a stone or off the board"};
    }
    std::ifstream in(answers);
    std::vector<std::string> replies;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            replies.push_back(line);
        }
    }
    if (status != 0 || replies.size() < 3 || replies[0].starts_with("?")) {
        return {{}, "GNU Go cannot load it"};
    }
    std::string stones;
    for (std::size_t i : {1, 2}) {
        std::istringstream points(replies[i].substr(1));
        std::vector<std::string> sorted;
        for (std::string point; points >> point;) {
            sorted.push_back(point);
        }
        std::sort(sorted.begin(), sorted.end());
        stones += i == 1 ? "black" : " white";
        for (const std::string& point : sorted) {
            stones += " " + point;
        }
    }
    return {stones, {}};
}

// A letter of an SGF point.
char Letter(int value) { return static_cast<char>('a' + value); }

// Random games of the project's own, legal move by move, in the shapes that readings of SGF get
// wrong: values holding ";", "(", ")", "[" and escaped "]", variations whose moves must not join
// the main line, a main line that nests a variation a move, passes, handicap stones, captures.
std::vector<std::string> GeneratedRecords(std::size_t count) {
    std::mt19937 random(26);
    const char* comments[] = {"C[a;b]", "C[try (;W[aa\\]) instead]", "C[esc \\] ;B[bb\\]]",
                              "C[line\r\nbreak;]", "GN[x]"};
    std::vector<std::string> records;
    for (std::size_t n = 0; n < count; ++n) {
        const int size = std::vector<int>{9, 13, 19}[random() % 3];
        TBoard board(size);
        std::string record = "(;GM[1]FF[4]SZ[" + std::to_string(size) + "]PB[kazi;wami]" +
                             comments[random() % std::size(comments)];
        if (random() % 3 == 0) {
            record += "AB";
            for (int stone = 0; stone < 2; ++stone) {
                const int column = 2 + stone * (size - 5);
                record += std::string("[") + Letter(column) + Letter(column) + "]";
                board.Set(column, column, TStone::Black);
            }
        }
        // The main line opens a "(" before its first move, before every move when nested (each
        // move in a variation of its own), now and then else; after the "(" that closes each, a
        // variation may stand beside it, whose moves are not played.
        const bool nested = random() % 4 == 0;
        const std::size_t moves = 20 + random() % 120;
        std::vector<char> opened;  // the colour of the move after each "("
        TStone colour = TStone::Black;
        for (std::size_t m = 0; m < moves; ++m) {
            std::string move;
            if (random() % 40 == 0) {
                move = "[tt]";  // a pass
            } else {
                for (int tries = 0; tries < 100 && move.empty(); ++tries) {
                    const int column = static_cast<int>(random() % size);
                    const int row = static_cast<int>(random() % size);
                    TBoard after = board;
                    if (board.At(column, row) != TStone::Empty ||
                        after.Play(colour, column, row).lost > 0) {
                        continue;
                    }
                    board = after;
                    move = std::string("[") + Letter(column) + Letter(row) + "]";
                }
            }
            if (move.empty()) {
                break;
            }
            const char name = colour == TStone::Black ? 'B' : 'W';
            if (m == 0 || nested || random() % 15 == 0) {
                record += "(";
                opened.push_back(name);
            }
            record += std::string(";") + name + move +
                      (random() % 8 == 0 ? comments[random() % std::size(comments)] : "");
            colour = colour == TStone::Black ? TStone::White : TStone::Black;
        }
        while (!opened.empty()) {
            record += ")";
            if (random() % 2 == 0) {
                record += std::string("(;") + opened.back() + "[aa];" +
                          (opened.back() == 'B' ? "W" : "B") + "[ab]C[(;)])";
            }
            opened.pop_back();
        }
        record += ")\r\n";
        // A second game after the first, never played.
        if (random() % 4 == 0) {
            record += "(;SZ[9];B[ee];W[ff])\r\n";
        }
        records.push_back(record);
    }
    return records;
}

}  // namespace

TEST(GnuGoReferee, TheMainLineAndTheUgfWrittenEndInGnuGosPosition) {
    const std::string gnugo = GnuGo();
    if (gnugo.empty()) {
        GTEST_SKIP() << "no GNU Go here (scripts/setup installs it)";
    }
    TTempDir dir;
    const fs::path work = dir.Path("");
    std::vector<std::pair<std::string, std::string>> records;  // name, bytes
    const std::vector<std::string> generated = GeneratedRecords(150);
    for (std::size_t i = 0; i < generated.size(); ++i) {
        records.emplace_back("generated-" + std::to_string(i), generated[i]);
    }
    const fs::path corpus = MORVANE_CORPUS;
    std::size_t corpusRecords = 0;
    if (fs::is_directory(corpus)) {
        std::vector<fs::path> paths;
        for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
            if (entry.is_regular_file() &&
                RecordKindOf(entry.path().string()) == TRecordKind::Sgf) {
                paths.push_back(entry.path());
            }
        }
        std::sort(paths.begin(), paths.end());
        for (const fs::path& path : paths) {
            records.emplace_back(fs::relative(path, corpus).string(), LoadBytes(path.string()));
        }
        corpusRecords = paths.size();
    } else {
        std::cout << "no corpus at " << corpus << ": the generated records only\n";
    }

    std::map<std::string, std::size_t> skips;
    std::size_t compared = 0;
    std::size_t outputsCompared = 0;
    const TConversionSettings settings;
    for (const auto& [name, bytes] : records) {
        SCOPED_TRACE(name);
        const TGameCheck check = CheckRecordGame(bytes, TRecordKind::Sgf, settings);
        const auto skip = [&](const std::string& why) {
            std::cout << "skipped " << name << ": " << why << "\n";
            ++skips[why];
        };
        if (!check.source.ok) {
            skip("the project reads no game in it");
            continue;
        }
        const TGame& game = check.source.game;
        if (game.boardSize == 0 || game.boardSize > 19) {
            skip("GNU Go plays no board above 19 (or of no size)");
            continue;
        }
        if (game.notes.rootMoves > 0) {
            skip("a move in the root node, which GNU Go plays and the conversion does not take");
            continue;
        }
        if (game.notes.laterSetup) {
            skip(
                "setup stones after the root, which GNU Go plays and the conversion does not take");
            continue;
        }
        const fs::path record = work / "record.sgf";
        std::ofstream(record, std::ios::binary) << bytes;
        const TRefereed refereed = Referee(gnugo, record, work);
        if (!refereed.skipped.empty()) {
            skip(refereed.skipped);
            continue;
        }
        EXPECT_EQ(StonesOf(FinalPosition(game).board), refereed.stones) << "the record's main line";
        ++compared;
        // The UGF written, read back: where the design keeps the position.
        const unsigned moving =
            design::OTHER_SETUP | design::ROOT_MOVES | design::PASS_FORM | design::CAPITAL_POINTS;
        if (check.output.ok && (check.changes & moving) == 0) {
            EXPECT_EQ(StonesOf(FinalPosition(check.output.game).board), refereed.stones)
                << "the UGF written";
            ++outputsCompared;
        }
    }
    std::cout << records.size() << " records (" << generated.size() << " generated, "
              << corpusRecords << " of the corpus): " << compared << " compared with GNU Go, "
              << outputsCompared << " of their UGF outputs too";
    for (const auto& [why, count] : skips) {
        std::cout << "; " << count << " skipped: " << why;
    }
    std::cout << "\n";
    EXPECT_GE(compared, generated.size() * 9 / 10);
}
