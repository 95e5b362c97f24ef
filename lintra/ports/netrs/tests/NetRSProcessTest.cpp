// liblintra.so as a client loads it, against m50-sim serving raw frames on TCP as a gateway
// that pads answers to 13 bytes: polled messages by callback, a gateway that drops its
// connection, and the commands a client sends.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/lines/tests/LintraApi.h"
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

}  // namespace
}  // namespace lintra
