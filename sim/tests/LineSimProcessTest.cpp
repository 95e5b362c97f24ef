// units-sim, lcb-sim and m50-sim as a TCP gateway front, each run as a separate process: one
// exchange over its line, one control command, stopped by its pid.
#include <gtest/gtest.h>

#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace sim::test {
namespace {

uint16_t tcpPortOf(const std::string &ready) {
    EXPECT_EQ(ready.rfind("ready tcp ", 0), 0u) << ready;
    return static_cast<uint16_t>(std::stoi(ready.substr(10)));
}

class LineSimProcess : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return (dir / name).string(); }
    testsupport::TempDir dir;
};

TEST_F(LineSimProcess, UnitsSimAnswersPollsOverItsPty) {
    SimChild child(UNITS_SIM_PATH, {"--units", "0-4", "--link", path("tty"), "--control", path("ctl"), "--log",
                                    path("wire.log")});
    ASSERT_EQ(child.ready().rfind("ready pty /dev/pts/", 0), 0u) << child.ready();
    EXPECT_EQ(child.command(path("ctl"), "event 4 0x1F 9"), "ok 1");
    int line = openRawTty(path("tty"));
    ASSERT_GE(line, 0);
    ASSERT_TRUE(writeHex(line, "A4 04 02 9C"));
    EXPECT_EQ(readHex(line, 5), "A5 04 1F 09 84");
    ::close(line);
    EXPECT_EQ(child.stop(), 0);
    EXPECT_NE(dir.read("wire.log").find("rx A4 04 02 9C"), std::string::npos);
}

TEST_F(LineSimProcess, UnitsSimFramesItsTcpAnswersAfterTheGreeting) {
    SimChild child(UNITS_SIM_PATH, {"--tcp", "0", "--units", "7", "--expect-greeting", "hi", "--control", path("ctl"),
                                    "--log", path("wire.log")});
    int s = connectTcp(tcpPortOf(child.ready()));
    ASSERT_GE(s, 0);
    ASSERT_TRUE(writeHex(s, "01 00 00 00 02 00 00 00 68 69  00 00 00 00 04 00 00 00 A4 07 02 A2"));
    EXPECT_EQ(readHex(s, 12), "00 00 00 00 04 00 00 00 A4 07 00 A0");
    EXPECT_EQ(child.command(path("ctl"), "greeting"), "ok 1 hi");
    ::close(s);
    EXPECT_EQ(child.stop(), 0);
}

TEST_F(LineSimProcess, LcbSimAcknowledgesAndForwardsOverItsPty) {
    SimChild child(LCB_SIM_PATH, {"--units", "3", "--polling", "--idle", "0", "--link", path("tty"), "--control",
                                  path("ctl"), "--log", path("wire.log")});
    ASSERT_EQ(child.ready().rfind("ready pty /dev/pts/", 0), 0u) << child.ready();
    int line = openRawTty(path("tty"));
    ASSERT_GE(line, 0);
    ASSERT_TRUE(writeHex(line, "A5 03 08 01 4A"));
    EXPECT_EQ(readHex(line, 4), "A4 03 64 FC");
    EXPECT_EQ(child.command(path("ctl"), "event 3 0x1F 5"), "ok 1");
    EXPECT_EQ(readHex(line, 5), "A5 03 1F 05 7C");
    ::close(line);
    EXPECT_EQ(child.stop(), 0);
}

TEST_F(LineSimProcess, M50SimBehindAGatewayPadsEveryAnswerTo13BytesAndHangsUpOnRequest) {
    SimChild child(M50_SIM_PATH, {"--tcp", "0", "--pad", "13", "--panel", "5", "--control", path("ctl"), "--log",
                                  path("wire.log")});
    int s = connectTcp(tcpPortOf(child.ready()));
    ASSERT_GE(s, 0);
    ASSERT_TRUE(writeHex(s, "A4 05 5D F9"));
    EXPECT_EQ(readHex(s, 13), "A5 05 5A 00 F5 00 00 00 00 00 00 00 00");
    EXPECT_EQ(child.command(path("ctl"), "counts 5"), "ok heard 1 answered 1");
    EXPECT_EQ(child.command(path("ctl"), "hangup"), "ok");
    char byte;
    EXPECT_TRUE(readable(s));
    EXPECT_EQ(::read(s, &byte, 1), 0) << "the gateway closed the connection";
    ::close(s);
    EXPECT_EQ(child.stop(), 0);
}

}  // namespace
}  // namespace sim::test
