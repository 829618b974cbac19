// The window program as a whole, started as a user starts it: each test copies it into a folder of
// its own (where it keeps its list and settings) and runs it on Qt's offscreen platform.

#include "shell/Instance.h"
#include "tests/shell/WindowTestSupport.h"
#include "tests/support/TempDir.h"

#include <QProcess>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/types.h>

namespace fs = std::filesystem;

namespace {

class TProgram {
public:
    // program: the executable that is copied (the window program, or the same with a click).
    explicit TProgram(const char* program = MORVANE_PROGRAM) {
        fs::create_directory(m_dir.Path("program"));
        fs::create_directory(m_dir.Path("runtime"));
        fs::permissions(m_dir.Path("runtime"), fs::perms::owner_all);
        fs::create_directory(m_dir.Path("kifu"));
        fs::copy_file(program, m_dir.Path("program/morvane"));
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_dir.Path("runtime")));
        m_environment.remove("XDG_CACHE_HOME");
        m_environment.insert("HOME", QString::fromStdString(m_dir.root));
        // What the sanitizers find in Qt's own start-up is not this program's exit status.
        m_environment.insert("ASAN_OPTIONS", "detect_leaks=0");
    }

    // A record file in the folder kifu, by its full path.
    std::string Record(const std::string& name, const std::string& bytes = "(;SZ[19])") const {
        m_dir.Write("kifu/" + name, bytes);
        return m_dir.Path("kifu/" + name);
    }

    std::unique_ptr<QProcess> Start(const std::vector<std::string>& files) const {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_environment);
        QStringList arguments;
        for (const std::string& file : files) {
            arguments << QString::fromStdString(file);
        }
        process->start(QString::fromStdString(m_dir.Path("program/morvane")), arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    }

    // Waits until the program that runs for the folder answers, as a later start would.
    bool Answers() const {
        return HandOver(InstanceName(m_dir.Path("runtime") + "/", m_dir.Path("program") + "/"), {},
                        20000);
    }

    std::string List() const {
        return fs::exists(m_dir.Path("program/flvback.dat")) ? m_dir.Read("program/flvback.dat")
                                                             : "";
    }
    void RemoveList() const { fs::remove(m_dir.Path("program/flvback.dat")); }

    const TTempDir& Dir() const { return m_dir; }
    QProcessEnvironment& Environment() { return m_environment; }

private:
    TTempDir m_dir;
    QProcessEnvironment m_environment;
};

bool Ended(QProcess& process) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(20000);
}

// Starts the program twice at once, with a file each: one of the two hands its file over and
// ends, the other is the window, which keeps both files when a signal ends it.
void TwoStartsGiveOneWindow(const TProgram& program) {
    const std::string a = program.Record("a.sgf");
    const std::string b = program.Record("b.sgf");
    program.RemoveList();
    const auto first = program.Start({a});
    const auto second = program.Start({b});
    QProcess* ended = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QProcess* process : {first.get(), second.get()}) {
                if (process->state() == QProcess::NotRunning) {
                    ended = process;
                }
            }
            return ended != nullptr;
        },
        20000));
    EXPECT_EQ(ended->exitCode(), 0);
    QProcess* window = ended == first.get() ? second.get() : first.get();
    ASSERT_EQ(window->state(), QProcess::Running);
    kill(static_cast<pid_t>(window->processId()), SIGTERM);
    ASSERT_TRUE(Ended(*window));
    const std::string list = program.List();
    EXPECT_TRUE(list == a + "\r\n" + b + "\r\n" || list == b + "\r\n" + a + "\r\n") << list;
}

}  // namespace

TEST(Program, AskedToEndBySignalOrSessionItKeepsItsListAsACloseDoes) {
    TProgram program;
    const std::string record = program.Record("a.sgf");
    for (const int signal : {SIGTERM, SIGHUP}) {
        program.RemoveList();
        const auto process = program.Start({record});
        ASSERT_TRUE(program.Answers());
        kill(static_cast<pid_t>(process->processId()), signal);
        ASSERT_TRUE(Ended(*process));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process->exitCode(), 0) << signal;
        EXPECT_EQ(program.List(), record + "\r\n") << signal;
    }
}

TEST(Program, TwoStartsAtOnceGiveOneWindowThatKeepsTheFilesOfBoth) {
    TProgram program;
    for (int trial = 0; trial < 8; ++trial) {
        SCOPED_TRACE(trial);
        TwoStartsGiveOneWindow(program);
    }
}

TEST(Program, WithoutItsRuntimeFolderTwoStartsStillGiveOneWindow) {
    // No runtime folder, and the cache folder's place for the channel spoilt: a folder of the
    // user's that others may enter, or a plain file where the cache folder would be.
    const std::pair<const char*, std::function<void(const TTempDir&)>> spoilt[] = {
        {"a folder open to others",
         [](const TTempDir& home) {
             fs::create_directories(home.Path(".cache/morvane-session"));
             fs::permissions(home.Path(".cache/morvane-session"),
                             fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
         }},
        {"a file for the cache folder",
         [](const TTempDir& home) { home.Write(".cache", "the user's own"); }},
    };
    for (const auto& [name, spoil] : spoilt) {
        SCOPED_TRACE(name);
        TProgram program;
        program.Environment().remove("XDG_RUNTIME_DIR");
        spoil(program.Dir());
        TwoStartsGiveOneWindow(program);
    }
}

TEST(Program, ARowAddedIsOnDiskBeforeTheProgramIsKilled) {
    TProgram program;
    const std::string record = program.Record("a.sgf");
    const auto process = program.Start({});
    ASSERT_TRUE(program.Answers());
    // A second start adds the row.
    const auto second = program.Start({record});
    ASSERT_TRUE(Ended(*second));
    EXPECT_EQ(second->exitCode(), 0);
    // Within about a second, the list holds it; then the program ends with no chance to store.
    EXPECT_TRUE(QTest::qWaitFor([&] { return program.List() == record + "\r\n"; }, 10000));
    kill(static_cast<pid_t>(process->processId()), SIGKILL);
    ASSERT_TRUE(Ended(*process));
    // The next start has the row: it stores it again when it ends.
    const auto next = program.Start({});
    ASSERT_TRUE(program.Answers());
    kill(static_cast<pid_t>(next->processId()), SIGTERM);
    ASSERT_TRUE(Ended(*next));
    EXPECT_EQ(program.List(), record + "\r\n");
}

TEST(Program, EndedDuringARunItFinishesTheRecordStoresAndEndsWithoutABox) {
    TProgram program(MORVANE_DRIVEN);
    // Records that take a while each, so that the run is under way when the signal comes.
    const std::string ugf = UgfOfMoves(50000);
    std::vector<std::string> records;
    for (int i = 0; i < 20; ++i) {
        records.push_back(program.Record("r" + std::to_string(100 + i) + ".ugf", ugf));
    }
    const auto converted = [](const std::string& record) {
        return fs::exists(record.substr(0, record.size() - 3) + "sgf");
    };
    program.Environment().insert("MORVANE_CLICK", "ConvBtn");
    const auto process = program.Start(records);
    ASSERT_TRUE(QTest::qWaitFor([&] { return converted(records.front()); }, 20000));
    kill(static_cast<pid_t>(process->processId()), SIGTERM);
    // No message waits for an answer.
    ASSERT_TRUE(Ended(*process));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
    // The rows not converted are stored, in order; the converted ones are not.
    std::string unconverted;
    for (const std::string& record : records) {
        if (!converted(record)) {
            unconverted += record + "\r\n";
        }
    }
    EXPECT_EQ(program.List(), unconverted);
}
