// liblintra.so as a client loads it, against m50-sim serving raw frames on TCP as a gateway
// that pads answers to 13 bytes: polled messages by callback, and a gateway that drops its
// connection.
#include <dlfcn.h>

#include <gtest/gtest.h>

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

    api.LCBCommand(kLine, 5, 0, nullptr);
    api.CloseCom(kLine);
}

}  // namespace
}  // namespace lintra
