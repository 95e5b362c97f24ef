// liblintra.so as a client loads it, behind two kinds of transparent gateway: m50-sim serving
// raw frames on TCP and padding answers to 13 bytes, and socat passing the bytes of m50-sim's
// pseudo-terminal as they come. Polled messages by callback, a gateway that drops its
// connection or goes away and comes back, and the commands a client sends.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/lines/tests/LintraApi.h"
#include "lintra/ports/netrs/tests/SocatGateway.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {
using test::CallbackInbox;

constexpr int kLine = 2;
constexpr uint16_t kAddress = 5;
constexpr int kWaitMs = 20000;  // upper bound for a record to come; never a timing assertion
constexpr uint16_t kMessageCode = 0x57;
constexpr uint16_t kSetClock = 3;

bool isMessage(const LintraEventRecord &r, uint8_t p1) {
    return r.code == kMessageCode && r.data[1] == p1 && r.line == kLine;
}
auto hasCode(uint16_t code) {
    return [code](const LintraEventRecord &r) { return r.code == code && r.line == kLine; };
}

struct NetRSProcessTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::string control = (host.dir().path() / "sim.ctl").string();
    sim::test::SimChild sim{M50_SIM_PATH, {"--tcp", "0", "--pad", "13", "--panel", "5", "--control", control,
                                           "--log", (host.dir().path() / "wire.log").string()}};
    std::string simCommand(const std::string &text) { return sim.command(control, text); }
};

TEST_F(NetRSProcessTest, MessagesThroughTheGatewayAndAfterItHangsUp) {
    ASSERT_EQ(sim.ready().rfind("ready tcp ", 0), 0u) << sim.ready();
    const std::string port = "127.0.0.1:" + sim.ready().substr(sim.ready().rfind(' ') + 1) + ":hello";

    std::filesystem::remove("reqst.dat");  // the library keeps it in the current directory
    test::LintraApi api(LINTRA_LIBRARY);
    ASSERT_TRUE(api.ok()) << ::dlerror();
    auto startNetRS = reinterpret_cast<decltype(&::StartNetRS)>(::dlsym(api.handle, "StartNetRS"));
    ASSERT_NE(startNetRS, nullptr);
    CallbackInbox &inbox = CallbackInbox::instance();
    inbox.window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
    const auto callback = reinterpret_cast<intptr_t>(&CallbackInbox::callback);

    EXPECT_EQ(startNetRS(kLine, "127.0.0.1", callback, kAddress), -4);  // no port, no greeting
    ASSERT_EQ(startNetRS(kLine, port.c_str(), callback, kAddress), 1);
    EXPECT_EQ(startNetRS(kLine, port.c_str(), callback, kAddress), -1);

    ASSERT_EQ(api.LCBCommand(kLine, 6, 0, nullptr), 0);
    simCommand("event 5 3 0x11 0 2");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));

    // The gateway drops the connection; the next send reconnects and polling goes on.
    EXPECT_EQ(simCommand("hangup").rfind("ok", 0), 0u);
    simCommand("event 5 3 0x12 0 1");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x12); }, kWaitMs));

    // Clients reach the panel as a line controller: its commands are queued, the panel
    // exports are not for this line kind.
    const uint8_t clock[] = {0x12, 0x10, 0x15, 0x30, 0x26};  // month, day, hour, minute, year
    EXPECT_EQ(api.SendContrCommand(kLine, kAddress, kSetClock, sizeof clock, clock), 0);
    const auto done = inbox.next([](auto &r) { return r.code == PanelFrame::kCodeEmptyAnswer; }, kWaitMs);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->address, kAddress);
    EXPECT_EQ(api.SendPultCommand(kLine, 0, kSetClock, sizeof clock, clock), 1);
    LintraEventRecord reply{};
    EXPECT_EQ(api.SendCmdGetReply(kLine, 0, kSetClock, sizeof clock, clock, &reply), 1);
    auto resetPultBuffer = reinterpret_cast<decltype(&::ResetPultBuffer)>(::dlsym(api.handle, "ResetPultBuffer"));
    ASSERT_NE(resetPultBuffer, nullptr);
    EXPECT_EQ(resetPultBuffer(kLine), 1);

    api.LCBCommand(kLine, 5, 0, nullptr);
    api.CloseCom(kLine);
    // A gateway line keeps no message number: closing it leaves the panel lines' state alone.
    EXPECT_FALSE(std::filesystem::exists("reqst.dat"));
}

struct NetRSSocatTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::string control = (host.dir().path() / "sim.ctl").string();
    sim::test::SimChild sim{M50_SIM_PATH, {"--pty", "--panel", "5", "--control", control, "--log",
                                           (host.dir().path() / "wire.log").string()}};
    std::string device = sim.ready().substr(sim.ready().rfind(' ') + 1);
    test::SocatGateway gateway{device, host.dir().path() / "socat.log"};
    test::LintraApi api{LINTRA_LIBRARY};
    CallbackInbox &inbox = CallbackInbox::instance();

    std::string simCommand(const std::string &text) { return sim.command(control, text); }
    // Opens the line to the gateway on `port` and switches message polling on.
    void startPolling(uint16_t port) {
        ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
        ASSERT_NE(port, 0) << "socat did not listen (./setup installs it); see its log in " << host.dir().path();
        ASSERT_TRUE(api.ok() && api.StartNetRS && api.SendContrCommand) << ::dlerror();
        inbox.window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
        const std::string address = "127.0.0.1:" + std::to_string(port) + ":hello";
        ASSERT_EQ(api.StartNetRS(kLine, address.c_str(), reinterpret_cast<intptr_t>(&CallbackInbox::callback), kAddress), 1);
        ASSERT_EQ(api.LCBCommand(kLine, 6, 0, nullptr), 0);
    }
};

TEST_F(NetRSSocatTest, AnswersAsTheyComeInPieces) {
    ASSERT_NO_FATAL_FAILURE(startPolling(gateway.port()));
    // At the line's pace every answer comes byte by byte, most bytes in a segment of their own.
    EXPECT_EQ(simCommand("pace on").rfind("ok", 0), 0u);
    simCommand("event 5 3 0x11 0 2");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));
    // The panel acknowledges a command with 4 bytes.
    const uint8_t clock[] = {0x12, 0x10, 0x15, 0x30, 0x26};
    EXPECT_EQ(api.SendContrCommand(kLine, kAddress, kSetClock, sizeof clock, clock), 0);
    EXPECT_TRUE(inbox.next(hasCode(PanelFrame::kCodeEmptyAnswer), kWaitMs));
    simCommand("event 5 3 0x12 0 1");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x12); }, kWaitMs));
    api.CloseCom(kLine);
}

TEST_F(NetRSSocatTest, GatewayGoneAndBackOnTheSamePort) {
    ASSERT_NO_FATAL_FAILURE(startPolling(gateway.port()));
    simCommand("event 5 3 0x11 0 1");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x11); }, kWaitMs));

    const uint16_t port = gateway.port();
    gateway.stop();
    EXPECT_TRUE(inbox.next(hasCode(PanelFrame::kCodeConnectionLost), kWaitMs));
    test::SocatGateway again(device, host.dir().path() / "socat-again.log", port);
    ASSERT_EQ(again.port(), port);
    EXPECT_TRUE(inbox.next(hasCode(PanelFrame::kCodeConnectionRestored), kWaitMs));
    simCommand("event 5 3 0x12 0 1");
    EXPECT_TRUE(inbox.next([](auto &r) { return isMessage(r, 0x12); }, kWaitMs));
    api.CloseCom(kLine);
}

}  // namespace
}  // namespace lintra
