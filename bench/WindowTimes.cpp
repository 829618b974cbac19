// bench_window KIFUCONV [viewer|start-up]: the window program against its baselines, measured in
// the same run, best of three rounds each, on Qt's offscreen platform:
// - start-up with a stored list of 10,000 existing files, from making the main window to its first
//   paint, against reading the same list and looking up each file; beside it the start-up of the
//   window with no list, and what the list adds to that as a ratio to the same reading;
// - a full run of the window over 1,000 typical records (half UGF, half SGF), against kifuconv
//   converting fresh copies of the same files, the two in turn, each first in every other round,
//   best of six rounds each;
// - the viewer showing a 50 MB record of 3,000,000 lines and a 16 MB record on one line, until the
//   first paint, against reading the same file, with the board pane hidden (the classic viewer)
//   and shown (the game read and the record converted in memory as well), and beside them the
//   whole text made at once, and a drag of the splitter (the text's width changing by a few
//   pixels at a time, each change painted) beside the first paint; alone with "viewer";
// - the board jumping to random moves of a record of 100,000 moves and painting the position,
//   against painting the same positions alone (a frame is 16 ms).

#include "bench/Records.h"
#include "conversion/FileOps.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "selection/Fonts.h"
#include "shell/BoardPane.h"
#include "shell/BoardView.h"
#include "shell/Dialogs.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/TextView.h"
#include "shell/Unattended.h"
#include "shell/ViewForm.h"

#include <QApplication>
#include <QProcess>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Seconds that work takes.
template <typename Work>
double Seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds of the fastest of three rounds; prepare runs untimed before each round.
double Best(const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        prepare();
        best = std::min(best, Seconds(work));
    }
    return best;
}

// One line of the table, and the target line of the same ratio with its limit.
void Report(const char* what, double baseline, const char* baselineName, double measured,
            double limit) {
    std::printf("%-40s %9.3f s   %-28s %9.3f s   ratio %.2f\n", what, measured, baselineName,
                baseline, measured / baseline);
    char target[96];
    std::snprintf(target, sizeof target, "window, %s / %s", what, baselineName);
    std::printf("target  %-58s %6.2f   (at most %g)\n", target, measured / baseline, limit);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string part = argc == 3 ? argv[2] : "";
    const bool viewerOnly = part == "viewer";
    const bool startOnly = part == "start-up";
    if (argc != 2 && !viewerOnly && !startOnly) {
        std::fprintf(stderr, "usage: bench_window KIFUCONV [viewer|start-up]\n");
        return 2;
    }
    QApplication application(argc, argv);
    UseClassicFont();
    QTemporaryDir temporary;
    const std::string root = temporary.path().toStdString();
    TUnattendedMessages messages;
    TUnattendedDialogs dialogs;
    TDiskFileService files;

    // Start-up with 10,000 stored rows.
    if (!viewerOnly) {
        const std::string app = root + "/app/";
        fs::create_directories(app);
        fs::create_directories(root + "/list");
        TLineList paths;
        for (int i = 0; i < 10000; ++i) {
            paths.push_back(root + "/list/game" + std::to_string(i) + ".sgf");
            SaveBytes(paths.back(), "(;SZ[19])");
        }
        SaveLines(app + "flvback.dat", paths);
        std::size_t found = 0;
        const double read =
            Best([] {},
                 [&] {
                     found = 0;
                     for (const std::string& path : LoadLines(app + "flvback.dat")) {
                         found += FileExists(path) ? 1 : 0;
                     }
                 });
        // From making the window to its first paint; the shut-down (which stores the list and the
        // settings) is left out of the time.
        std::optional<TMainForm> form;
        const auto startUp = [&](const std::string& folder) {
            return Best([&] { form.reset(); },
                        [&] {
                            form.emplace(messages, dialogs, files, folder);
                            form->show();
                            QApplication::processEvents();
                        });
        };
        const double start = startUp(app);
        const std::size_t rows = static_cast<std::size_t>(form->RowCount());
        form.reset();
        if (rows != found || rows != paths.size()) {
            std::fprintf(stderr, "bench_window: %zu rows of %zu\n", rows, paths.size());
            return 1;
        }
        Report("start-up, 10,000 stored rows", read, "reading the list", start, 1.5);
        // The window's own start-up with no list, which no list can go below; what the list adds
        // to it is the reading above and the rows.
        const std::string bare = root + "/bare/";
        fs::create_directories(bare);
        const double alone = startUp(bare);
        form.reset();
        std::printf("%-40s %9.3f s   the list adds %.2f times reading it\n",
                    "start-up, no stored rows", alone, (start - alone) / read);
        if (startOnly) {
            return 0;
        }

        // A full run over 1,000 typical records.
        std::vector<std::pair<std::string, std::string>> records;
        for (unsigned i = 0; i < 1000; ++i) {
            const bool ugf = i % 2 == 0;
            char name[32];
            std::snprintf(name, sizeof name, ugf ? "u%04u.ugf" : "s%04u.sgf", i);
            records.emplace_back(name, ugf ? MakeUgfRecord(250, i) : MakeTypicalSgf(i));
        }
        // Every run converts fresh copies in a folder of its own, and nothing is deleted before
        // the end: on ext4 a file made soon after many were deleted waits for a free inode, by
        // turns fast and slow, which would fall on either of the two at random.
        int runs = 0;
        const auto fresh = [&] {
            const std::string work = root + "/work" + std::to_string(runs++);
            fs::create_directories(work);
            for (const auto& [name, bytes] : records) {
                SaveBytes(work + "/" + name, bytes);
            }
            return work;
        };
        // The two in turn, six rounds each. The window is made before its clock starts and ended
        // after it stops: its start-up and shut-down are timed above.
        double kifuconv = 1e9;
        double window = 1e9;
        std::size_t left = 1;
        fs::remove(app + "flvback.dat");
        const auto runKifuconv = [&] {
            const std::string work = fresh();
            QStringList arguments{"-q", "--"};
            for (const auto& record : records) {
                arguments << QString::fromStdString(work + "/" + record.first);
            }
            kifuconv = std::min(kifuconv, Seconds([&] {
                                    QProcess process;
                                    process.start(QString::fromLocal8Bit(argv[1]), arguments);
                                    process.waitForFinished(-1);
                                }));
        };
        const auto runWindow = [&] {
            const std::string work = fresh();
            form.emplace(messages, dialogs, files, app);
            std::vector<TCandidateRow> candidates;
            for (const auto& record : records) {
                candidates.push_back({record.first, work});
            }
            window = std::min(window, Seconds([&] {
                                  form->AppendRows(candidates);
                                  form->UpdateButtons();
                                  form->ConvBtnClick();
                              }));
            left = static_cast<std::size_t>(form->RowCount());
            form.reset();
        };
        // Each goes first in every other round, so whatever slows the disk by turns falls on both.
        for (int round = 0; round < 6; ++round) {
            if (round % 2 == 0) {
                runKifuconv();
                runWindow();
            } else {
                runWindow();
                runKifuconv();
            }
        }
        if (left != 0) {
            std::fprintf(stderr, "bench_window: %zu records failed\n", left);
            return 1;
        }
        Report("window full run, 1,000 records", kifuconv, "kifuconv, same files", window, 1.3);
    }

    // The viewer on large records.
    const std::tuple<const char*, const char*, std::string> large[] = {
        {"viewer, 50 MB in 3,000,000 lines", "/large.ugf", MakeLargeUgf(50'000'000, 7)},
        {"viewer, 16 MB on one line", "/large.sgf", MakeSingleLineSgf(16'000'000, 7)},
    };
    TViewForm viewer;
    for (const auto& [what, name, bytes] : large) {
        const std::string path = root + name;
        SaveBytes(path, bytes);
        const double load = Best([] {}, [&] { (void)LoadBytes(path); });
        for (const bool board : {false, true}) {
            viewer.ShowBoard(board);
            const double view = Best([] {},
                                     [&] {
                                         viewer.ViewFile(path);
                                         QApplication::processEvents();
                                     });
            Report((std::string(what) + (board ? ", board" : ", no board")).c_str(), load,
                   "reading the file", view, board ? 20 : 10);
        }
        // The rest of the text is made after the first paint; here all of it at once, as when
        // the user asks for the whole text: what the first paint leaves for later.
        auto* memo = viewer.findChild<TTextView*>("Memo1");
        const double whole = Best([] {},
                                  [&] {
                                      viewer.ViewFile(path);
                                      (void)memo->Text();
                                  });
        std::printf("%-40s %9.3f s   %-28s %9.3f s   ratio %.2f\n",
                    (std::string(what) + ", whole text").c_str(), whole, "reading the file", load,
                    whole / load);
        // A drag of the splitter: the text's width changes by a few pixels at a time, each change
        // painted, at the top of the text and half-way down it; beside it the first paint.
        viewer.ShowBoard(true);
        const double first = Best([] {},
                                  [&] {
                                      viewer.ViewFile(path);
                                      memo->viewport()->repaint();
                                  });
        auto* splitter = viewer.findChild<QSplitter*>("ViewSplitter");
        for (const bool middle : {false, true}) {
            viewer.ViewFile(path);
            if (middle) {
                (void)memo->Text();
                memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum() / 2);
            }
            memo->viewport()->repaint();
            QApplication::processEvents();
            double worst = 0;
            double total = 0;
            // Of each frame, the new width taken (the text's work) apart from the painting of
            // the window's widgets (Qt's, the text's rows a small part of it).
            double worstResize = 0;
            const int steps = 20;
            for (int step = 1; step <= steps; ++step) {
                const int width = 473 + (step % 2 == 0 ? 6 * step : -3 * step);
                const double resize = Seconds([&] {
                    splitter->setSizes({width, splitter->width() - width});
                });
                const double frame = resize + Seconds([&] { memo->viewport()->repaint(); });
                worst = std::max(worst, frame);
                worstResize = std::max(worstResize, resize);
                total += frame;
                QApplication::processEvents();
            }
            std::printf(
                "%-40s %9.3f ms  %-28s %9.3f ms  worst %.3f ms (a frame: 16 ms), of it the new "
                "width at most %.3f ms\n",
                (std::string(what) + (middle ? ", width change, middle" : ", width change, top"))
                    .c_str(),
                total / steps * 1000, "first paint", first * 1000, worst * 1000,
                worstResize * 1000);
        }
    }

    // Jumps on the board of a record of 100,000 moves, each to a random move and painted.
    const std::string path = root + "/100000.ugf";
    SaveBytes(path, MakeUgfRecord(100000, 2));
    viewer.ShowBoard(true);
    viewer.resize(1200, 900);
    viewer.ViewFile(path);
    QApplication::processEvents();
    TBoardPane& pane = viewer.BoardPane();
    auto* view = viewer.findChild<TBoardView*>("BoardView");
    std::mt19937 random(5);
    std::vector<std::size_t> targets(500);
    for (std::size_t& target : targets) {
        target = random() % 100001;
    }
    double paintTotal = 0;
    double paintWorst = 0;
    double jumpTotal = 0;
    double jumpWorst = 0;
    for (const std::size_t target : targets) {
        const double jump = Seconds([&] {
            pane.GoTo(target);
            view->repaint();
        });
        const double paint = Seconds([&] { view->repaint(); });
        jumpTotal += jump;
        jumpWorst = std::max(jumpWorst, jump);
        paintTotal += paint;
        paintWorst = std::max(paintWorst, paint);
    }
    const double count = static_cast<double>(targets.size());
    std::printf("%-40s %9.3f ms  %-28s %9.3f ms  ratio %.2f\n", "board jump, 100,000 moves, mean",
                jumpTotal / count * 1000, "painting the position", paintTotal / count * 1000,
                jumpTotal / paintTotal);
    std::printf("%-40s %9.3f ms  %-28s %9.3f ms  ratio %.2f (a frame: 16 ms)\n",
                "board jump, 100,000 moves, worst", jumpWorst * 1000, "painting the position",
                paintWorst * 1000, jumpWorst / paintWorst);
    return 0;
}
