// liblintra.so as a client loads it, against m50-sim on a pseudo-terminal: start, direct
// exchange, queued command, polled messages by callback, close with reqst.dat, a second
// process that takes its message number from that file, and the hunt for the panel's speed.
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string_view>
#include <vector>

#include "lintra/ports/lines/tests/LintraApi.h"
#include "lintra/ports/tests/LogRecords.h"
#include "platform/Registry.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {
using test::CallbackInbox;

constexpr int kLine = 1;
constexpr uint16_t kAddress = 5;
constexpr int kWaitMs = 20000;  // upper bound for a record to come; never a timing assertion
constexpr uint16_t kMessageCode = 0x57;
constexpr uint16_t kReadZoneCount = 93;
constexpr uint16_t kZoneCountAnswer = 90;

bool isMessage(const LintraEventRecord &r, uint8_t p1) { return r.code == kMessageCode && r.data[1] == p1; }

void setUserDword(std::string_view key, std::string_view name, uint32_t value) {
    auto k = tessel::RegKey::open(tessel::Hive::CurrentUser, key, true);
    ASSERT_TRUE(k && k->writeDword(name, value)) << key << "\\" << name;
}

// The probe's lines of output, the first read before the caller acts, the rest after.
struct Probe {
    pid_t pid = -1;
    int out = -1;
    Probe(const std::string &port) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::execl(LINTRA_LINE_PROBE, "lintra_line_probe", LINTRA_LIBRARY, port.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        out = pipeFds[0];
    }
    std::string line() { return sim::test::readLine(out); }
    int wait() {
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(out);
        return status;
    }
};

struct PanelLineProcessTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::string control = (host.dir().path() / "sim.ctl").string();
    sim::test::SimChild sim{M50_SIM_PATH, {"--pty", "--panel", "5", "--control", control, "--log",
                                           (host.dir().path() / "wire.log").string()}};
    std::string port = sim.ready().substr(sim.ready().rfind(' ') + 1);

    std::string simCommand(const std::string &text) { return sim.command(control, text); }
};

TEST_F(PanelLineProcessTest, PanelLineThroughTheLibraryAndAcrossProcesses) {
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    uint16_t savedNumber = 0;
    {
        test::LintraApi api(LINTRA_LIBRARY);
        ASSERT_TRUE(api.ok()) << ::dlerror();
        CallbackInbox &inbox = CallbackInbox::instance();
        inbox.window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
        ASSERT_EQ(api.StartPanel(kLine, port.c_str(), reinterpret_cast<intptr_t>(&CallbackInbox::callback), kAddress), 1);

        LintraEventRecord reply{};
        ASSERT_EQ(api.SendCmdGetReply(kLine, 0, kReadZoneCount, 0, nullptr, &reply), 0);
        EXPECT_EQ(reply.code, kZoneCountAnswer);
        EXPECT_EQ(reply.address, kAddress);

        ASSERT_EQ(api.LCBCommand(kLine, 6, 0, nullptr), 0);
        simCommand("event 5 3 0x11 0 2");
        EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));
        EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));

        EXPECT_LE(api.SendPultCommand(kLine, 0, kReadZoneCount, 0, nullptr), 0);  // minus the free places
        const auto answer = inbox.next([](auto &r) { return r.code == kZoneCountAnswer; }, kWaitMs);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->line, kLine);

        api.LCBCommand(kLine, 5, 0, nullptr);
        api.CloseCom(kLine);
        std::ifstream file("reqst.dat", std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
        ASSERT_EQ(bytes.size(), 10240u);
        savedNumber = static_cast<uint16_t>(bytes[9216 + 2 * kLine] | bytes[9216 + 2 * kLine + 1] << 8);
        EXPECT_GE(savedNumber, 2);
    }

    // A new process starts from the saved number: the messages it already delivered stay
    // behind, the next one is the first it receives.
    Probe probe(port);
    ASSERT_EQ(probe.line(), "polling");
    simCommand("event 5 3 0x22 0 1");
    EXPECT_EQ(probe.line(), "message 22");
    EXPECT_EQ(probe.wait(), 0);
}

// The line starts in its stored mode 1 and the panel understands only mode 2: the line counts
// the panel silent after ten unanswered polls and finds it with its first change of mode, three
// polls later. About 22 s, as every unanswered poll waits out the port's read time-out and the
// pauses after a miss.
TEST_F(PanelLineProcessTest, LineHuntsThePanelsSpeedMode) {
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    constexpr int kHuntWaitMs = 120000;  // an upper bound on a loaded machine, never a timing assertion
    setUserDword("Software\\Tessel\\Lintra\\Speeds", "UseAutoSpeed", 1);
    setUserDword("Software\\Tessel\\Logging", "MaxLevel", 9);
    setUserDword("Software\\Tessel\\Lintra\\Logging", "Line1", 9);
    auto ports = tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\Ports", true);
    ASSERT_TRUE(ports && ports->writeString("COM7", port));
    ASSERT_EQ(simCommand("fault 5 mode 2").rfind("ok", 0), 0u);
    ASSERT_EQ(simCommand("event 5 3 0x33 0 1").rfind("ok", 0), 0u);
    {
        test::LintraApi api(LINTRA_LIBRARY);
        ASSERT_TRUE(api.ok()) << ::dlerror();
        CallbackInbox &inbox = CallbackInbox::instance();
        inbox.window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
        ASSERT_EQ(api.StartPanel(kLine, "COM7", reinterpret_cast<intptr_t>(&CallbackInbox::callback), kAddress), 1);
        ASSERT_EQ(api.LCBCommand(kLine, 6, 0, nullptr), 0);
        EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x33); }, kHuntWaitMs));
        api.CloseCom(kLine);
    }  // the unload closes the line log

    std::vector<std::string> story;  // speeds, mode changes, loss and restore, in order
    for (const std::string &r : lintra::testing::logRecords(host.dir() / "Line1lintra.log"))
        if (r.find("SetConnParam") != std::string::npos || r.find("ChangePultMode") != std::string::npos ||
            r.find("связи") != std::string::npos)
            story.push_back(r);
    EXPECT_EQ(story, (std::vector<std::string>{
                         "6 TPultControl.SetConnParam:: 19200_8",
                         "7 TPultControl.ServePult::Выдача потери связи",
                         "9 TPultControl.ChangePultMode:: 1->2",
                         "6 TPultControl.SetConnParam:: 19200_9",
                         "7 TPultControl.ServePult::Выдача восстановления связи",
                     }));
}

TEST_F(PanelLineProcessTest, LoaderExampleFindsThePanel) {
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    const std::string command = std::string(LINTRA_OPEN_PANEL_EXAMPLE) + " " + port + " > example.out";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream out("example.out");
    std::string line;
    std::getline(out, line);
    EXPECT_EQ(line.rfind("panel 5 answered", 0), 0u) << line;
}

}  // namespace
}  // namespace lintra
