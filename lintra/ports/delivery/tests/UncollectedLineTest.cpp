// A shared-memory line whose records nobody collects (the loader's batch mode opens its line so)
// keeps its polling thread waiting in the delivery; direct exchanges on its port go on.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "lintra/include/lintra.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"
#include "sim/tests/SimChild.h"
#include "testsupport/TempDir.h"

namespace {

// Answers the panel has sent, from the simulator's "ok heard H answered A".
int answered(sim::test::SimChild &sim, const std::string &control) {
    std::istringstream fields(sim.command(control, "counts 5"));
    std::string ok, heard, answeredWord;
    int h = 0, a = -1;
    fields >> ok >> heard >> h >> answeredWord >> a;
    return a;
}

TEST(UncollectedLine, DirectExchangeGoesOnWhileThePollingThreadWaitsForACollector) {
    testsupport::IsolatedHost host;
    lintra::CommonProcLoad();
    lintra::ComUnitLoad();
    const std::string control = (host.dir() / "sim.sock").string();
    sim::test::SimChild sim(M50_SIM_PATH, {"--pty", "--panel", "5", "--control", control, "--log",
                                           (host.dir() / "wire.log").string()});
    const std::string pty = sim.ready().substr(std::string("ready pty ").size());
    ASSERT_EQ(sim.command(control, "event 5 3 1 0").rfind("ok", 0), 0u);

    ASSERT_EQ(StartPanel(1, pty.c_str(), 0, 5), 1);
    ASSERT_EQ(LCBCommand(1, 6, 0, nullptr), 0);
    // The first poll fetches message 1; its record then waits for a ResumeLine nobody sends.
    for (int tries = 0; answered(sim, control) < 1 && tries < 1000; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_GE(answered(sim, control), 1);

    for (int exchange = 0; exchange < 3; ++exchange) {
        LintraEventRecord reply{};
        EXPECT_EQ(SendCmdGetReply(1, 0, 86, 0, nullptr, &reply), 0);
        EXPECT_EQ(reply.code, 0x57) << "the panel's newest message, not a lost connection";
    }
    CloseCom(1);
    lintra::ComUnitUnload();
    lintra::CommonProcUnload();
}

}  // namespace
