// The window program as a whole on Windows, started as a user starts it: a copy in a folder of its
// own, on Qt's Windows platform with no display. That the window stores the files handed to it
// when a user ends it, tests/windows/morvane-end-to-end checks on a display.

#include "tests/support/TempDir.h"

#include <QProcess>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(WindowsProgram, TwoStartsAtOnceGiveOneWindow) {
    TTempDir dir;
    fs::create_directory(dir.Path("program"));
    fs::copy_file(MORVANE_PROGRAM, dir.Path("program/morvane.exe"));
    const std::string a = dir.Path("a.sgf");
    const std::string b = dir.Path("b.sgf");
    for (const std::string& record : {a, b}) {
        std::ofstream(record) << "(;SZ[19])";
    }
    const auto start = [&](const std::string& file) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("QT_QPA_PLATFORM");
        process->setProcessEnvironment(environment);
        process->start(QString::fromStdString(dir.Path("program/morvane.exe")),
                       {QString::fromStdString(file)});
        EXPECT_TRUE(process->waitForStarted(10000));
        return process;
    };
    for (int trial = 0; trial < 3; ++trial) {
        const auto first = start(a);
        const auto second = start(b);
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
        ASSERT_EQ(window->state(), QProcess::Running) << trial;
        // A later start finds the window and hands over to it too.
        const auto later = start(b);
        ASSERT_TRUE(later->waitForFinished(20000)) << trial;
        EXPECT_EQ(later->exitCode(), 0) << trial;
        EXPECT_EQ(window->state(), QProcess::Running) << trial;
        window->kill();
        window->waitForFinished(20000);
    }
}
