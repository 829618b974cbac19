#include "shell/Instance.h"

#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

TEST(Instance, ASecondStartHandsItsFilesToTheProgramThatRuns) {
    const QString name =
        InstanceName("/tmp/morvane-instance-test-" + std::to_string(getpid()) + "/");
    EXPECT_FALSE(HandOver(name, {"/k/a.sgf"}));
    std::vector<std::vector<std::string>> received;
    TInstanceServer server(
        name, [&](const std::vector<std::string>& paths) { received.push_back(paths); });
    ASSERT_TRUE(server.Listening());
    // Names in any bytes, and a start without files, which only wakes the program.
    EXPECT_TRUE(HandOver(name, {"/k/a.sgf", "/k/\x95\x5C.ugf"}));
    EXPECT_TRUE(HandOver(name, {}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }));
    EXPECT_EQ(received,
              (std::vector<std::vector<std::string>>{{"/k/a.sgf", "/k/\x95\x5C.ugf"}, {}}));
    EXPECT_NE(InstanceName("/a/"), InstanceName("/b/"));

    // A start that comes while this one runs leaves the name to it.
    std::vector<std::vector<std::string>> taken;
    TInstanceServer second(name,
                           [&](const std::vector<std::string>& paths) { taken.push_back(paths); });
    EXPECT_FALSE(second.Listening());
    EXPECT_TRUE(HandOver(name, {"/k/b.sgf"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 3; }));
    EXPECT_TRUE(taken.empty());
}
