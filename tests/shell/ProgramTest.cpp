// The window program as a whole, started as a user starts it: each test copies it into a folder of
// its own (where it keeps its list and settings) and runs it on Qt's offscreen platform.

#include "shell/Instance.h"
#include "tests/support/TempDir.h"

#include <QProcess>
#include <QTest>

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/types.h>

namespace fs = std::filesystem;

namespace {

class TProgram {
public:
    TProgram() {
        fs::create_directory(m_dir.Path("program"));
        fs::create_directory(m_dir.Path("runtime"));
        fs::permissions(m_dir.Path("runtime"), fs::perms::owner_all);
        fs::create_directory(m_dir.Path("kifu"));
        fs::copy_file(MORVANE_PROGRAM, m_dir.Path("program/morvane"));
    }

    // A record file in the folder kifu, by its full path.
    std::string Record(const std::string& name) const {
        m_dir.Write("kifu/" + name, "(;SZ[19])");
        return m_dir.Path("kifu/" + name);
    }

    std::unique_ptr<QProcess> Start(const std::vector<std::string>& files) const {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(m_dir.Path("runtime")));
        environment.insert("HOME", QString::fromStdString(m_dir.root));
        // What the sanitizers find in Qt's own start-up is not this program's exit status.
        environment.insert("ASAN_OPTIONS", "detect_leaks=0");
        process->setProcessEnvironment(environment);
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

private:
    TTempDir m_dir;
};

bool Ended(QProcess& process) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(20000);
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
    const std::string a = program.Record("a.sgf");
    const std::string b = program.Record("b.sgf");
    for (int trial = 0; trial < 8; ++trial) {
        program.RemoveList();
        const auto first = program.Start({a});
        const auto second = program.Start({b});
        // One of the two hands its file over and ends; the other is the window.
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
        EXPECT_EQ(ended->exitCode(), 0) << trial;
        QProcess* window = ended == first.get() ? second.get() : first.get();
        EXPECT_EQ(window->state(), QProcess::Running) << trial;
        kill(static_cast<pid_t>(window->processId()), SIGTERM);
        ASSERT_TRUE(Ended(*window));
        const std::string list = program.List();
        EXPECT_TRUE(list == a + "\r\n" + b + "\r\n" || list == b + "\r\n" + a + "\r\n")
            << trial << ": " << list;
    }
}
