// The real library in two processes against m50-sim: one opens a panel line with Wnd = 0, the
// other collects the panel's messages from the shared slots.
#include <gtest/gtest.h>

#include <sstream>

#include "lintra/host/tests/ChildProcess.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

TEST(PanelLineProcesses, CollectorInAnotherProcessGetsEveryPanelMessageOnce) {
    constexpr int kMessages = 40;
    testsupport::IsolatedHost host;
    const std::string control = (host.dir() / "sim.sock").string();
    sim::test::SimChild sim(M50_SIM_PATH, {"--pty", "--panel", "5", "--control", control, "--log",
                                           (host.dir() / "wire.log").string()});
    const std::string prefix = "ready pty ";
    ASSERT_EQ(sim.ready().rfind(prefix, 0), 0u) << sim.ready();
    const std::string pty = sim.ready().substr(prefix.size());

    ChildProcess opener(LINTRA_CLIENT_PROBE, {"open", "1", pty, "5"});
    ASSERT_EQ(opener.readLine(), "started 1");
    ASSERT_EQ(opener.readLine(), "polling 0");
    ChildProcess collector(LINTRA_CLIENT_PROBE, {"collect", "1", std::to_string(kMessages)});
    ASSERT_EQ(collector.readLine(), "ready");

    for (int n = 1; n <= kMessages; ++n)
        ASSERT_EQ(sim.command(control, "event 5 3 " + std::to_string(n) + " 0").rfind("ok", 0), 0u) << n;

    for (int n = 1; n <= kMessages; ++n) {
        auto line = collector.readLine();
        ASSERT_TRUE(line) << "message " << n;
        std::istringstream fields(*line);
        std::string word;
        int p1 = 0;
        fields >> word >> p1;
        ASSERT_EQ(word, "msg") << *line;
        EXPECT_EQ(p1, n) << "in order, none lost, none repeated";
    }
    EXPECT_EQ(collector.readLine(), "done");
    EXPECT_EQ(collector.wait(), 0);
}

}  // namespace
