// liblintra.so as a client loads it, against lcb-sim on a pseudo-terminal: a StartCom line
// whose controller forwards a unit's event to the callback, acknowledges a command, and is
// told to stop polling when the line closes.
#include <gtest/gtest.h>

#include <string>

#include "lintra/ports/lines/tests/LintraApi.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {
using test::CallbackInbox;

constexpr int kLine = 2;
constexpr uint16_t kUnit = 1;
constexpr int kWaitMs = 20000;  // upper bound for something to happen; never a timing assertion

struct LcbLineProcessTest : ::testing::Test {
    testsupport::IsolatedHost host;
    std::string control = (host.dir().path() / "sim.ctl").string();
    sim::test::SimChild sim{LCB_SIM_PATH, {"--pty", "--units", "1", "--polling", "--idle", "200", "--control",
                                           control, "--log", (host.dir().path() / "wire.log").string()}};
    std::string port = sim.ready().substr(sim.ready().rfind(' ') + 1);

    std::string simCommand(const std::string &text) { return sim.command(control, text); }
    // Asks the simulator until its answer contains what is wanted.
    bool simShows(const std::string &text, const std::string &wanted) {
        for (int i = 0; i < kWaitMs / 50; ++i) {
            if (simCommand(text).find(wanted) != std::string::npos) return true;
            ::usleep(50 * 1000);
        }
        return false;
    }
};

TEST_F(LcbLineProcessTest, ControllerLineThroughTheLibrary) {
    ASSERT_EQ(sim.ready().rfind("ready pty ", 0), 0u) << sim.ready();
    test::LintraApi api(LINTRA_LIBRARY);
    ASSERT_TRUE(api.ok() && api.StartCom && api.SendContrCommand) << ::dlerror();
    CallbackInbox &inbox = CallbackInbox::instance();
    inbox.window = api.LintraRegisterWindow(CallbackInbox::ignore, nullptr);
    ASSERT_EQ(api.StartCom(kLine, port.c_str(), reinterpret_cast<intptr_t>(&CallbackInbox::callback)), 1);

    simCommand("event 1 0x21 0x05 0x06");
    const auto event = inbox.next([](auto &r) { return r.code == 0x21; }, kWaitMs);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->line, kLine);
    EXPECT_EQ(event->address, kUnit);

    const uint8_t params[] = {1, 2};  // command 5 is acknowledged by the controller
    ASSERT_EQ(api.SendContrCommand(kLine, kUnit, 5, 2, params), 0);
    EXPECT_TRUE(simShows("counts", "acks 1"));

    api.CloseCom(kLine);
    EXPECT_TRUE(simShows("state", "polling off"));
}

}  // namespace
}  // namespace lintra
