// m50-sim as a separate process: started by the test, driven over its pty and its control
// socket, stopped by its pid.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "sim/tests/SimChild.h"
#include "testsupport/Hex.h"
#include "testsupport/TempDir.h"

namespace {

using testsupport::hexBytes;
using namespace sim::test;

class SimProcess : public ::testing::Test {
protected:
    void SetUp() override {
        child.emplace(M50_SIM_PATH, std::vector<std::string>{"--pty", "--link", link(), "--panel", "5", "--control",
                                                             control(), "--log", log()});
        ready = child->ready();
    }
    void TearDown() override {
        if (line >= 0) ::close(line);
    }
    int stop() { return child->stop(); }
    std::string link() const { return (dir / "ttyPanel").string(); }
    std::string control() const { return (dir / "control").string(); }
    std::string log() const { return (dir / "wire.log").string(); }

    // Opens the line as the library would in speed mode 2: 19200 baud, ninth bit, 2 stop bits.
    void openLine() {
        line = ::open(link().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(line, 0);
        termios t{};
        ASSERT_EQ(::tcgetattr(line, &t), 0);
        ::cfmakeraw(&t);
        ::cfsetspeed(&t, B19200);
        t.c_cflag |= CSTOPB | PARENB | CMSPAR;
        ASSERT_EQ(::tcsetattr(line, TCSANOW, &t), 0);
    }
    std::string exchange(const std::string &frame, size_t answerBytes) {
        auto bytes = hexBytes(frame);
        EXPECT_EQ(::write(line, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        return readHex(line, answerBytes);
    }
    std::string command(const std::string &text) { return child->command(control(), text); }

    // The pty and the control socket are two channels: this waits, within the step limit,
    // until the simulator has seen what went over the line.
    bool waitForCommand(const std::string &text, const std::string &answer) {
        for (int i = 0; i < kChildStepMs; ++i) {
            if (command(text) == answer) return true;
            ::usleep(1000);
        }
        return false;
    }

    testsupport::TempDir dir;
    std::optional<SimChild> child;
    std::string ready;
    int line = -1;
};

TEST_F(SimProcess, AnswersPollsOverItsPtyAndObeysItsControlSocket) {
    ASSERT_EQ(ready.rfind("ready pty /dev/pts/", 0), 0u) << ready;
    EXPECT_EQ(std::filesystem::read_symlink(link()).string(), ready.substr(10));
    openLine();

    std::string startup = exchange("A4 05 56 F2", 11);
    ASSERT_EQ(startup.size(), 11 * 3 - 1u) << startup;
    EXPECT_EQ(startup.substr(0, 9), "AB 05 57 ");
    EXPECT_EQ(startup.substr(24, 5), "00 00") << "the start-up event is number 0";

    EXPECT_EQ(command("event 5 4 3 0"), "ok 1");
    EXPECT_EQ(command("fault 5 checksum times 1"), "ok");
    std::string faulty = exchange("A4 05 56 F2", 11);
    EXPECT_EQ(faulty.substr(24, 5), "00 01");
    EXPECT_FALSE(faulty.empty());

    // Bound to mode 1 while the line is in mode 2, the panel ignores the zone count request;
    // the next bytes on the line are then the answer to the poll after the fault is lifted.
    EXPECT_EQ(command("fault 5 mode 1"), "ok");
    auto request = hexBytes("A4 05 5D F9");
    ASSERT_EQ(::write(line, request.data(), request.size()), 4);
    EXPECT_TRUE(waitForCommand("counts 5", "ok heard 3 answered 2"));
    EXPECT_EQ(command("fault 5 off"), "ok");
    EXPECT_EQ(exchange("A4 05 56 F2", 11).substr(0, 9), "AB 05 57 ");

    EXPECT_EQ(stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link())));
    EXPECT_FALSE(std::filesystem::exists(control()));
    std::string wire = dir.read("wire.log");
    EXPECT_NE(wire.find("line 19200 8 space 2 (mode 2)"), std::string::npos) << wire;
    EXPECT_NE(wire.find("rx A4 05 5D F9"), std::string::npos);
    EXPECT_NE(wire.find("[checksum]"), std::string::npos);
    EXPECT_NE(wire.find("control: fault 5 mode 1"), std::string::npos);
}

TEST_F(SimProcess, RefusesABadCommandLine) {
    int status = 0;
    ASSERT_EQ(stop(), 0) << "the normal start of the fixture";
    pid_t refused = ::fork();
    if (refused == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::execl(M50_SIM_PATH, "m50-sim", "--panel", "300", nullptr);
        ::_exit(127);
    }
    ::waitpid(refused, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
