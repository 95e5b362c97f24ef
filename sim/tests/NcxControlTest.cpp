// The control language of ncx-sim against a controller behind its stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "sim/ncx/NcxControl.h"
#include "sim/tests/NcxWire.h"

namespace sim::test {
namespace {

struct NcxControlTest : ::testing::Test {
    NcxControlTest() { wire.open(); }
    NcxWire wire{NcxSettings{"secret"}};
    int quits = 0;
    int drops = 0;
    NcxControl control{wire.controller, ControlHooks{.quit = [this] { ++quits; }}, [this] { ++drops; }};
};

TEST_F(NcxControlTest, StatusShowsCountersSessionAndFaults) {
    wire.send("T0LFS10AD020A\rjunk\r");
    EXPECT_EQ(control.execute("refuse-password on"), "ok\n");
    EXPECT_EQ(control.execute("status"),
              "ok connections=1 bytes=19 packets=1 malformed=1 unrouted=0 authorised=no config=9999999999999999 "
              "pace=10 silent=off refuse-password=on\n");
    EXPECT_EQ(control.execute("silent on"), "ok\n");
    EXPECT_EQ(control.execute("refuse-password off"), "ok\n");
    EXPECT_NE(control.execute("status").find(" silent=on refuse-password=off\n"), std::string::npos);
}

TEST_F(NcxControlTest, MalformedAndRestartSendOnceOfTheirOwnAccord) {
    EXPECT_FALSE(control.hasOutput());
    EXPECT_EQ(control.execute("malformed"), "ok\n");
    wire.send(std::string("T0LFS10CD10secret") + std::string(10, '\0') + "\r");
    ASSERT_TRUE(wire.controller.authorised());
    EXPECT_EQ(control.execute("restart"), "ok\n");
    EXPECT_FALSE(wire.controller.authorised());
    EXPECT_TRUE(control.hasOutput());
    EXPECT_EQ(control.takeOutput(), "T1LFXZZZD00\rT1LFE102D00\r");
    EXPECT_EQ(control.takeOutput(), "");
}

TEST_F(NcxControlTest, EndlessSendsLettersWithoutTerminatorThenFallsSilent) {
    EXPECT_EQ(control.execute("endless 100000"), "ok\n");
    std::string out = control.takeOutput();
    EXPECT_EQ(out.size(), 100000u);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
    EXPECT_TRUE(wire.controller.faults.silent);
    EXPECT_EQ(wire.send("T0LFG109D00\r"), "");
}

TEST_F(NcxControlTest, BurstSendsWellFormedControllerPacketsWithoutFallingSilent) {
    const std::string packet = "T1LFA109D0BNCX-SIM 1.0";
    auto parsed = parsePacket(packet);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->line, NcxPacket::kControllerLine);
    EXPECT_EQ(control.execute("burst 3"), "ok 3\n");
    EXPECT_EQ(control.takeOutput(), packet + "\r" + packet + "\r" + packet + "\r");
    EXPECT_EQ(control.execute("burst 1000000"), "ok 1000000\n");
    EXPECT_EQ(control.takeOutput().size(), 1000000 * (packet.size() + 1));
    EXPECT_EQ(wire.send("T0LFG108D00\r"), "T1LFA108D00\r");
}

TEST_F(NcxControlTest, DropAndTheServerCommandsReachTheirHooks) {
    EXPECT_EQ(control.execute("drop"), "ok\n");
    EXPECT_EQ(control.execute("quit"), "ok\n");
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(NcxControlTest, RefusesMalformedCommandsAndChangesNothing) {
    for (const char *command : {"", "status now", "drop all", "silent", "silent yes", "refuse-password", "malformed x",
                                "endless", "endless 0", "endless 1000001", "endless -5", "endless 1 2", "burst", "burst 0",
                                "burst 1000001", "burst x", "burst 1 2", "restart now", "frobnicate"}) {
        EXPECT_EQ(control.execute(command).rfind("error ", 0), 0u) << command;
    }
    EXPECT_FALSE(control.hasOutput());
    EXPECT_EQ(drops, 0);
    EXPECT_FALSE(wire.controller.faults.silent);
}

}  // namespace
}  // namespace sim::test
