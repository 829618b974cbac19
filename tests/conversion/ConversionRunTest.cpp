#include "conversion/ConversionRun.h"
#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Texts.h"
#include "tests/support/FakeServices.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

// The folder of the rows, in the platform's own path style, and a file in it.
const std::string KIFU = NATIVE_PATH_STYLE == TPathStyle::Windows ? "C:\\kifu" : "/kifu";
std::string P(const char* name) { return JoinPath(KIFU, name); }

enum class TScript { Converts, Fails, Throws, RunsOutOfMemory };

// Converters that answer from a script by path and log each call with the ProgressCount seen.
class TScriptedConverters : public TConverterService {
public:
    TScriptedConverters(TLog& log, TConversionState& state) : m_log(log), m_state(state) {}
    bool ConvertUgfToSgf(const std::string& path) override { return Run("ugf->sgf", path); }
    bool ConvertSgfToUgf(const std::string& path) override { return Run("sgf->ugf", path); }

    std::map<std::string, TScript> script;

private:
    bool Run(const std::string& what, const std::string& path) {
        m_log.push_back(what + " " + path + " count=" + std::to_string(m_state.ProgressCount));
        m_state.StepProgress();
        switch (script[path]) {
            case TScript::Converts:
                return true;
            case TScript::Fails:
                m_state.FailureReason = "no record: " + path;
                return false;
            case TScript::Throws:
                throw TFileError(TFileErrorKind::Open, path);
            case TScript::RunsOutOfMemory:
                throw std::bad_alloc();
        }
        return false;
    }

    TLog& m_log;
    TConversionState& m_state;
};

struct TRunFixture {
    TFakeServices fake;
    TConversionState state;
    TScriptedConverters converters{fake.log, state};
    TConversionRun run{state, fake.candidates, fake.progress, fake.messages, converters};

    explicit TRunFixture(std::vector<std::string> names, std::string directory = KIFU) {
        for (const std::string& name : names) {
            fake.candidates.rows.emplace_back(name, directory);
        }
        state.ProgressCount = 42;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& row : fake.candidates.rows) {
            names.push_back(row.first);
        }
        return names;
    }
};

const std::string CAPTION = texts::PROGRESS_CAPTION;
const std::string INFO_OK = std::string("Info ") + texts::CONVERTED;
const std::string INFO_ALL = std::string("Info ") + texts::ALL_CONVERTED;
const std::string ERROR_FAILED = std::string("Error ") + texts::FAILED;

}  // namespace

TEST(ConversionRun, SelectedRowThatConvertsIsReplacedByTheNextRow) {
    TRunFixture f({"a.ugf", "b.ugf", "c.sgf", "d.ugf", "e.ugf"});
    f.fake.candidates.selected = 2;
    f.converters.script[P("c.sgf")] = TScript::Converts;
    f.run.SelConvBtnClick();
    EXPECT_EQ(f.fake.log, (TLog{
                              "ProgressBar2.Min=0",
                              "ProgressBar2.Max=1",
                              "ProgressBar2.Position=0",
                              "Show",
                              "Caption " + CAPTION + "c.sgf",
                              "sgf->ugf " + P("c.sgf") + " count=0",
                              "ProgressBar2.Position=1",
                              INFO_OK,
                              "Close",
                              "Delete 2",
                              "Focus",
                              "Select 2",
                              "UpdateStatusLine",
                              "UpdateButtons",
                          }));
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf", "b.ugf", "d.ugf", "e.ugf"}));
}

TEST(ConversionRun, SaysUnderTheMessageWhatTheOutputOfAnSgfRecordLeavesOut) {
    for (const char* name : {"a.sgf", "b.ugf"}) {
        SCOPED_TRACE(name);
        TRunFixture f({name});
        f.fake.candidates.selected = 0;
        f.converters.script[P(name)] = TScript::Converts;
        // As an SGF conversion leaves them; a UGF conversion leaves those of the SGF before it.
        f.state.SgfNotes = {"", 0, 3, 1};
        f.run.SelConvBtnClick();
        const std::string leftOut = std::string("\n") + texts::VARIATIONS_LEFT_OUT_BEFORE + "3" +
                                    texts::VARIATIONS_LEFT_OUT_AFTER +
                                    texts::GAMES_LEFT_OUT_BEFORE + "1" +
                                    texts::GAMES_LEFT_OUT_AFTER;
        const TLog& log = f.fake.log;
        EXPECT_NE(std::find(log.begin(), log.end(),
                            INFO_OK + (std::string(name) == "a.sgf" ? leftOut : "")),
                  log.end());
    }
}

TEST(ConversionRun, ConvertingTheLastRowSelectsTheNewLastRow) {
    TRunFixture f({"a.ugf", "b.ugf"});
    f.fake.candidates.selected = 1;
    f.run.SelConvBtnClick();
    EXPECT_EQ(f.fake.candidates.selected, 0);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf"}));

    TRunFixture only({"a.ugf"});
    only.fake.candidates.selected = 0;
    only.run.SelConvBtnClick();
    EXPECT_TRUE(only.Names().empty());
    EXPECT_FALSE(only.fake.candidates.selected);
    const TLog& log = only.fake.log;
    EXPECT_EQ(std::count(log.begin(), log.end(), "Focus"), 0);
    EXPECT_EQ(log.back(), "UpdateButtons");
}

TEST(ConversionRun, SelectedRowThatFailsStaysSelectedAfterTheErrorBox) {
    TRunFixture f({"a.ugf", "b.ugf"});
    f.fake.candidates.selected = 1;
    f.converters.script[P("b.ugf")] = TScript::Fails;
    f.fake.progress.SetBar(TBar::ProgressBar1, TBarField::Max, 17);
    f.fake.log.clear();
    f.run.SelConvBtnClick();
    EXPECT_EQ(f.fake.log, (TLog{
                              "ProgressBar2.Min=0",
                              "ProgressBar2.Max=1",
                              "ProgressBar2.Position=0",
                              "Show",
                              "Caption " + CAPTION + "b.ugf",
                              "ugf->sgf " + P("b.ugf") + " count=0",
                              "ProgressBar1.Position=17",
                              // The converter's reason under the message, and on the row.
                              ERROR_FAILED + "\nno record: " + P("b.ugf"),
                              "Close",
                              "SetReason 1 no record: " + P("b.ugf"),
                              "Focus",
                              "Select 1",
                              "UpdateStatusLine",
                              "UpdateButtons",
                          }));
    EXPECT_EQ(f.fake.progress.GetBar(TBar::ProgressBar2, TBarField::Position), 0);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf", "b.ugf"}));
}

TEST(ConversionRun, SelectedRowWhoseFileCannotBeReadShowsTheError) {
    TRunFixture f({"a.ugf"});
    f.fake.candidates.selected = 0;
    f.converters.script[P("a.ugf")] = TScript::Throws;
    f.run.SelConvBtnClick();
    const std::string error = TFileError(TFileErrorKind::Open, P("a.ugf")).what();
    EXPECT_NE(std::find(f.fake.log.begin(), f.fake.log.end(), ERROR_FAILED + "\n" + error),
              f.fake.log.end());
    EXPECT_EQ(f.fake.log.back(), "UpdateButtons");
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf"}));
}

TEST(ConversionRun, SingleRunWithoutAConvertibleSelectionOnlyUpdatesButtons) {
    TRunFixture none({"a.ugf"});
    none.run.SelConvBtnClick();
    EXPECT_EQ(none.fake.log, (TLog{"UpdateButtons"}));

    TRunFixture empty({});
    empty.run.SelConvBtnClick();
    EXPECT_EQ(empty.fake.log, (TLog{"UpdateButtons"}));

    TRunFixture other({"notes.txt", "a.ugf.bak"});
    for (int row : {0, 1}) {
        other.fake.candidates.selected = row;
        other.run.SelConvBtnClick();
    }
    EXPECT_EQ(other.fake.log, (TLog{"UpdateButtons", "UpdateButtons"}));
    EXPECT_EQ(other.Names(), (std::vector<std::string>{"notes.txt", "a.ugf.bak"}));
}

TEST(ConversionRun, ConvertsExtensionsOfAnyLetterCaseAndTheUgiName) {
    TRunFixture f({"GAME.SGF", "b.Ugf", "review.ugi", "c.UGI", "d.txt"});
    f.run.ConvBtnClick();
    const std::vector<std::string> calls(f.fake.log.begin(), f.fake.log.end());
    for (const std::string& call :
         {"sgf->ugf " + P("GAME.SGF") + " count=0", "ugf->sgf " + P("b.Ugf") + " count=0",
          "ugf->sgf " + P("review.ugi") + " count=0", "ugf->sgf " + P("c.UGI") + " count=0"}) {
        EXPECT_NE(std::find(calls.begin(), calls.end(), call), calls.end()) << call;
    }
    EXPECT_TRUE(f.Names().empty());
}

TEST(ConversionRun, FullRunLeavesTheFailedRowsInTheirOrder) {
    TRunFixture f({"a.ugf", "b.sgf", "c.txt", "d.ugf"});
    f.converters.script[P("b.sgf")] = TScript::Fails;
    f.converters.script[P("d.ugf")] = TScript::Fails;
    f.run.ConvBtnClick();
    EXPECT_EQ(f.fake.log, (TLog{
                              "ProgressBar2.Min=0",
                              "ProgressBar2.Max=4",
                              "ProgressBar2.Position=0",
                              "Show",
                              "Caption " + CAPTION + "a.ugf",
                              "ugf->sgf " + P("a.ugf") + " count=0",
                              "ProgressBar2.Position=1",
                              "Caption " + CAPTION + "b.sgf",
                              "sgf->ugf " + P("b.sgf") + " count=0",
                              "ProgressBar2.Position=2",
                              "Caption " + CAPTION + "c.txt",
                              "Caption " + CAPTION + "d.ugf",
                              "ugf->sgf " + P("d.ugf") + " count=0",
                              "ProgressBar2.Position=3",
                              "ProgressBar2.Position=4",
                              INFO_ALL,
                              "Close",
                              "Clear",
                              "Append b.sgf | " + KIFU,
                              "SetReason 0 no record: " + P("b.sgf"),
                              "Append d.ugf | " + KIFU,
                              "SetReason 1 no record: " + P("d.ugf"),
                              "UpdateStatusLine",
                              "UpdateButtons",
                          }));
    EXPECT_TRUE(f.state.TempMemo.empty());
}

TEST(ConversionRun, FullRunRewritesTheDirectoryOfAFailedRow) {
    TRunFixture f({"a.ugf", "GAME.UGF"}, JoinPath(KIFU, ""));
    f.converters.script[P("a.ugf")] = TScript::Fails;
    f.run.ConvBtnClick();
    EXPECT_EQ(f.fake.log[5], "ugf->sgf " + P("a.ugf") + " count=0");
    EXPECT_EQ(f.fake.candidates.rows,
              (std::vector<std::pair<std::string, std::string>>{{"a.ugf", KIFU}}));
}

TEST(ConversionRun, FullRunKeepsARowWhoseFileCannotBeReadAndNotesTheError) {
    TRunFixture f({"a.ugf", "b.ugf"});
    f.converters.script[P("a.ugf")] = TScript::Throws;
    f.run.ConvBtnClick();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf"}));
    ASSERT_EQ(f.state.TempMemo,
              (TDiagnosticLines{TFileError(TFileErrorKind::Open, P("a.ugf")).text}));
    // The path stays a piece of its own, for a window to decode by the file system's rule.
    const std::vector<TUserText::TPiece>& pieces = f.state.TempMemo[0].Pieces();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1], (TUserText::TPiece{P("a.ugf"), true}));
    EXPECT_FALSE(pieces[0].isName || pieces[2].isName);
    EXPECT_NE(std::find(f.fake.log.begin(), f.fake.log.end(), INFO_ALL), f.fake.log.end());
}

TEST(ConversionRun, AnErrorOtherThanAFileErrorFailsOnlyItsRow) {
    TRunFixture f({"a.ugf", "b.ugf"});
    f.converters.script[P("a.ugf")] = TScript::RunsOutOfMemory;
    f.converters.script[P("b.ugf")] = TScript::Converts;
    f.run.ConvBtnClick();
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"a.ugf"}));
    ASSERT_EQ(f.state.TempMemo.size(), 1u);
    EXPECT_EQ(f.state.TempMemo[0].Bytes(), std::bad_alloc().what());

    TRunFixture single({"a.ugf"});
    single.fake.candidates.selected = 0;
    single.converters.script[P("a.ugf")] = TScript::RunsOutOfMemory;
    single.run.SelConvBtnClick();
    EXPECT_NE(std::find(single.fake.log.begin(), single.fake.log.end(),
                        ERROR_FAILED + "\n" + std::bad_alloc().what()),
              single.fake.log.end());
    EXPECT_EQ(single.Names(), (std::vector<std::string>{"a.ugf"}));
}

TEST(ConversionRun, FullRunOnAnEmptyListDoesNothing) {
    TRunFixture f({});
    f.run.ConvBtnClick();
    EXPECT_TRUE(f.fake.log.empty());
}

TEST(ConversionRun, DispatchIsByTheExtensionWhateverItsLetterCase) {
    struct Row {
        const char* path;
        TPathStyle style;
        TRecordKind kind;
    };
    const Row rows[] = {
        {"/k/a.sgf", TPathStyle::Posix, TRecordKind::Sgf},
        {"/k/GAME.SGF", TPathStyle::Posix, TRecordKind::Sgf},
        {"/k/.Ugf", TPathStyle::Posix, TRecordKind::Ugf},
        {"/k/REVIEW.ugI", TPathStyle::Posix, TRecordKind::Ugf},
        {"/k/棋譜.SGF", TPathStyle::Posix, TRecordKind::Sgf},
        {"C:\\k\\\x8A\xFB\x95\x88.UGI", TPathStyle::Windows, TRecordKind::Ugf},  // 棋譜
        {"/k/a.ugf.txt", TPathStyle::Posix, TRecordKind::Other},
        {"/k.ugf/a", TPathStyle::Posix, TRecordKind::Other},
        {"/k/a.sgff", TPathStyle::Posix, TRecordKind::Other},
        {"C:\\k.sgf\\a", TPathStyle::Windows, TRecordKind::Other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(RecordKindOf(row.path, row.style), row.kind);
    }
}
