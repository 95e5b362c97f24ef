// ncx-sim run as a separate process: a plain TCP client and a pty client do the start-up
// exchange, the control socket drops and restarts the controller, and the simulator is
// stopped by its pid.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <string>

#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace sim::test {
namespace {

const std::string kStartNotice = "T1LFE102D00\r";

// Up to `count` characters, fewer when the simulator stops sending.
std::string readText(int fd, size_t count) {
    auto bytes = testsupport::hexBytes(readHex(fd, count));
    return std::string(bytes.begin(), bytes.end());
}

// Sends one line and reads an answer of the expected length.
std::string ask(int fd, const std::string &line, size_t answerChars) {
    if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "write failed";
    return readText(fd, answerChars);
}

class NcxSimProcess : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return (dir / name).string(); }
    // The status line once it shows `wanted`, or the last one seen.
    std::string statusShowing(SimChild &child, const std::string &wanted) {
        std::string status;
        for (int i = 0; i < 1000 && status.find(wanted) == std::string::npos; ++i)
            status = child.command(path("ctl"), "status");
        return status;
    }
    testsupport::TempDir dir;
};

TEST_F(NcxSimProcess, TcpClientLogsInAndIsDroppedAndRestartedOnRequest) {
    SimChild child(NCX_SIM_PATH, {"--tcp", "0", "--password", "secret", "--version-text", "NCX 2.5", "--control",
                                  path("ctl"), "--log", path("wire.log")});
    ASSERT_EQ(child.ready().rfind("ready tcp ", 0), 0u) << child.ready();
    uint16_t port = static_cast<uint16_t>(std::stoi(child.ready().substr(10)));
    int s = connectTcp(port);
    ASSERT_GE(s, 0);
    EXPECT_EQ(readText(s, 12), kStartNotice);
    EXPECT_EQ(ask(s, "T0LFG109D00\r", 19), "T1LFA109D07NCX 2.5\r");
    EXPECT_EQ(ask(s, "T0LFG101D00\r", 12), "T1LFE107D00\r");
    EXPECT_EQ(ask(s, std::string("T0LFS10CD10secret") + std::string(10, '\0') + "\r", 12), "T1LFA10CD00\r");
    EXPECT_EQ(ask(s, "T0LFS101D102939999999999999\r", 12), "T1LFA101D00\r");
    EXPECT_EQ(ask(s, "T0LFG101D00\r", 28), "T1LFA101D102939999999999999\r");
    EXPECT_EQ(child.command(path("ctl"), "status"),
              "ok connections=1 bytes=92 packets=5 malformed=0 unrouted=0 authorised=yes config=2939999999999999 "
              "pace=0 silent=off refuse-password=off");

    EXPECT_EQ(child.command(path("ctl"), "drop"), "ok");
    char byte;
    EXPECT_TRUE(readable(s));
    EXPECT_EQ(::read(s, &byte, 1), 0) << "the simulator closed the connection";
    ::close(s);

    s = connectTcp(port);
    ASSERT_GE(s, 0);
    EXPECT_EQ(readText(s, 12), kStartNotice);
    EXPECT_EQ(ask(s, "T0LFG101D00\r", 12), "T1LFE107D00\r") << "a new connection wants the password again";
    EXPECT_EQ(child.command(path("ctl"), "restart"), "ok");
    EXPECT_EQ(readText(s, 12), kStartNotice);
    EXPECT_EQ(child.command(path("ctl"), "malformed"), "ok");
    EXPECT_EQ(readText(s, 12), "T1LFXZZZD00\r");

    // A long unterminated line goes out without stalling the simulator.
    EXPECT_EQ(child.command(path("ctl"), "endless 100000"), "ok");
    std::string endless = readText(s, 100000);
    EXPECT_EQ(endless.size(), 100000u);
    EXPECT_EQ(endless.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(child.command(path("ctl"), "silent off"), "ok");
    EXPECT_EQ(ask(s, "T0LFG108D00\r", 12), "T1LFA108D00\r");
    EXPECT_NE(child.command(path("ctl"), "status").find("connections=2 "), std::string::npos);
    ::close(s);
    EXPECT_EQ(child.stop(), 0);
}

TEST_F(NcxSimProcess, PtyAnnouncesAtStartAndADropRestartsWithoutThePendingInput) {
    SimChild child(NCX_SIM_PATH, {"--pty", "--link", path("tty"), "--control", path("ctl"), "--log", path("wire.log")});
    ASSERT_EQ(child.ready().rfind("ready pty /dev/pts/", 0), 0u) << child.ready();
    int line = openRawTty(path("tty"));
    ASSERT_GE(line, 0);
    EXPECT_EQ(readText(line, 12), kStartNotice);
    EXPECT_EQ(ask(line, "T0LFG109D00\r", 23), "T1LFA109D0BNCX-SIM 1.0\r");

    // Half a packet, read by the simulator, then lost with the drop.
    ASSERT_EQ(::write(line, "T0LFG1", 6), 6);
    EXPECT_NE(statusShowing(child, " bytes=18 ").find(" bytes=18 "), std::string::npos);
    EXPECT_EQ(child.command(path("ctl"), "drop"), "ok");
    EXPECT_EQ(readText(line, 12), kStartNotice);
    EXPECT_EQ(ask(line, "09D00\rT0LFG108D00\r", 12), "T1LFA108D00\r");
    EXPECT_EQ(child.command(path("ctl"), "restart"), "ok");
    EXPECT_EQ(readText(line, 12), kStartNotice);
    EXPECT_EQ(child.command(path("ctl"), "status"),
              "ok connections=2 bytes=36 packets=2 malformed=1 unrouted=0 authorised=no config=9999999999999999 "
              "pace=0 silent=off refuse-password=off");
    ::close(line);
    EXPECT_EQ(child.stop(), 0);
}

TEST_F(NcxSimProcess, RefusedCommandLinesEndWithStatus1) {
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"--password", "12345678901234567"}, {"--password", ""}, {"--version-text"}, {"--pad", "13"}}) {
        SimChild child(NCX_SIM_PATH, args);
        EXPECT_EQ(child.ready(), "") << args[0];
        int status = child.stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << args[0];
    }
}

}  // namespace
}  // namespace sim::test
