// LCBCommand: unit tables, the frames each code makes, and its effect on panel lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/commands/LcbCommand.h"
#include "lintra/ports/commands/tests/CommandFixture.h"
#include "lintra/ports/panel/PultControl.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr int kLine = 7;

struct Call {
    uint16_t cmd;
    std::vector<uint8_t> params;
};

struct Case {
    const char *what;
    std::vector<Call> before;  // run first; their frames are not checked
    Call call;
    int result;
    std::vector<std::string> sent;
};

struct LcbCommandTest : test::CommandTest {
    tessel::ManualClock clock{0};

    int run(const Call &call) { return LCBCommand(clock, kLine, call.cmd, call.params); }
};

TEST_F(LcbCommandTest, FramesAndResultsOnAControllerLine) {
    const std::vector<Case> cases = {
        {"set unit 12: bit 4 of mask byte 1", {}, {1, {12}}, 0, {"A6 FB 61 01 10 D9"}},
        {"second parameter 0 updates without sending", {}, {1, {12, 0}}, 0, {}},
        {"second parameter non-zero sends", {}, {1, {12, 1}}, 0, {"A6 FB 61 01 10 D9"}},
        {"clear keeps the other bits", {{1, {12, 0}}, {1, {13, 0}}}, {2, {12}}, 0, {"A6 FB 61 01 20 E9"}},
        {"unit above 250", {}, {1, {251}}, 5, {}},
        {"set without unit", {}, {1, {}}, 2, {}},
        {"set with three parameters", {}, {1, {1, 2, 3}}, 3, {}},
        {"set past the limit", {{7, {100}}}, {1, {120}}, 0, {"A6 FB 61 20 FF 05"}},
        {"clear past the limit", {{7, {100}}}, {2, {120}}, 0, {"A6 FB 61 20 00 06"}},
        {"past the limit even when asked not to send", {{7, {100}}}, {1, {120, 0}}, 0, {"A6 FB 61 20 FF 05"}},
        {"unit count", {}, {3, {5}}, 0, {"A5 FB 60 05 DE"}},
        {"unit count above 250", {}, {3, {251}}, 5, {}},
        {"unit count without value", {}, {3, {}}, 2, {}},
        {"unit count with two values", {}, {3, {5, 6}}, 3, {}},
        {"code 4 passes its byte", {}, {4, {7}}, 0, {"A5 FB 62 07 E4"}},
        {"code 4 without byte", {}, {4, {}}, 2, {}},
        {"stop", {}, {5, {}}, 0, {"A4 FB 65 ED"}},
        {"stop with a parameter", {}, {5, {1}}, 3, {}},
        {"start", {}, {6, {}}, 0, {"A4 FB 66 EE"}},
        {"start with a parameter", {}, {6, {1}}, 3, {}},
        {"limit sends nothing", {}, {7, {100}}, 0, {}},
        {"limit with two values", {}, {7, {1, 2}}, 3, {}},
        {"whole mask up to the unit count, last byte twice",
         {{1, {1, 0}}, {1, {9, 0}}, {3, {10}}},
         {8, {}},
         0,
         {"A6 FB 61 00 02 C9", "A6 FB 61 01 02 CB", "A6 FB 61 01 02 CB"}},
        {"whole mask with a parameter", {}, {8, {1}}, 3, {}},
        {"unknown code", {}, {9, {}}, 1, {}},
        {"unknown code 0", {}, {0, {}}, 1, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LineState::Reset();
        auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
        for (const Call &call : c.before) run(call);
        line.sent.clear();
        EXPECT_EQ(run(c.call), c.result);
        EXPECT_EQ(line.sent, c.sent);
        LineTable::Take(kLine);
    }
}

TEST_F(LcbCommandTest, TablesFollowTheCommands) {
    open(std::make_shared<test::FakeControllerLine>(kLine));
    run({1, {12, 0}});
    EXPECT_EQ(LineState::UnitMaskByte(kLine, 1), 0x10);
    EXPECT_TRUE(LineState::UnitInMask(kLine, 12));
    run({1, {250}});  // the default limit itself: past the mask
    EXPECT_FALSE(LineState::UnitInMask(kLine, 250));
    run({3, {42}});
    EXPECT_EQ(LineState::UnitCount(kLine), 42);
    run({7, {100}});
    run({7, {}});
    EXPECT_EQ(LineState::UnitLimit(kLine), 100);
    run({2, {12}});
    EXPECT_FALSE(LineState::UnitInMask(kLine, 12));
}

TEST_F(LcbCommandTest, WholeMaskIsPacedAndStopsAtTheLimit) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    run({3, {200}});
    run({7, {20}});  // the count exceeds the limit: bytes up to unit 19
    line.sent.clear();
    const uint64_t start = clock.nowMs();
    EXPECT_EQ(run({8, {}}), 0);
    EXPECT_EQ(line.sent.size(), 4u);  // bytes 0, 1, 2 and byte 2 again
    EXPECT_EQ(clock.nowMs() - start, 3 * 50u);
}

TEST_F(LcbCommandTest, NearlyFullQueueOfASerialLineControllerSlowsTheCaller) {
    for (const auto &[link, pause] : {std::pair{ControllerLink::Serial, 50u}, std::pair{ControllerLink::Tcp, 0u}}) {
        LineTable::Take(kLine);
        auto &line = open(std::make_shared<test::FakeControllerLine>(kLine, link));
        for (int i = 0; i < 8324; ++i) line.outQueue().Put(PanelFrame{});
        const uint64_t start = clock.nowMs();
        run({5, {}});
        EXPECT_EQ(clock.nowMs() - start, pause);
    }
}

TEST_F(LcbCommandTest, MissingLineIsLogged) {
    EXPECT_EQ(run({5, {}}), 4);
    EXPECT_EQ(LCBCommand(clock, 256, 5, {}), 4);
    EXPECT_EQ(lineLog(kLine), (std::vector<std::string>{"6 LCBCommand(7, 5, 0, ...)",
                                                         "2 SendLCBCommand:: Линия не создана"}));
}

TEST_F(LcbCommandTest, SwitchesMessagePollingOfAPanelLine) {
    auto &panel = open(std::make_shared<TPultControl>(kLine, 5, clock));
    EXPECT_EQ(run({6, {}}), 0);
    EXPECT_TRUE(panel.reqenbld());
    EXPECT_EQ(run({5, {}}), 0);
    EXPECT_FALSE(panel.reqenbld());
    // Unit commands change the tables only; a panel line queues nothing for them.
    EXPECT_EQ(run({1, {3}}), 0);
    EXPECT_TRUE(LineState::UnitInMask(kLine, 3));
    EXPECT_EQ(panel.outQueue().Count(), 0u);
    // A stopped line does not start polling again.
    panel.StopLine();
    EXPECT_EQ(run({6, {}}), 4);
    EXPECT_FALSE(panel.reqenbld());
}

}  // namespace
}  // namespace lintra
