#include "lintra/ports/intlcb/IntLcbMaster.h"

#include <gtest/gtest.h>

#include "lintra/ports/intlcb/tests/FakeTransport.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra {
namespace {

constexpr int kLine = 9;

class IntLcbMasterTest : public ::testing::Test {
protected:
    IntLcbMasterTest() {
        LineState::Reset();
        LineState::SetUnitCount(kLine, 8);
    }
    ~IntLcbMasterTest() override { LineState::Reset(); }

    TIntLCBMaster &master() {
        if (!master_) {
            master_ = std::make_unique<TIntLCBMaster>(
                kLine, transport, *queue, clock, policy,
                TIntLCBMaster::Hooks{[this](const PanelFrame &f) { delivered.push_back(testsupport::toHex(f.wire())); },
                                     nullptr});
            master_->setPolling(true);
        }
        return *master_;
    }
    static void inMask(std::initializer_list<uint8_t> units) {
        for (uint8_t u : units)
            LineState::SetUnitMaskByte(kLine, u / 8, static_cast<uint8_t>(LineState::UnitMaskByte(kLine, u / 8) | 1u << (u % 8)));
    }
    // The unit addresses of the frames sent so far.
    std::vector<std::string> polledUnits() const {
        std::vector<std::string> units;
        for (const auto &frame : transport.sent) units.push_back(frame.substr(3, 2));
        return units;
    }
    void serve(int steps) {
        for (int i = 0; i < steps; ++i) master().ServeContr();
    }

    tessel::ManualClock clock;
    test::FakeTransport transport;
    std::unique_ptr<TFrameQueue> queue = TFrameQueue::Create(16);
    PolicySettings policy;
    std::vector<std::string> delivered;
    std::unique_ptr<TIntLCBMaster> master_;
};

using Units = std::vector<std::string>;

TEST_F(IntLcbMasterTest, SilentUntilPollingIsOnAndThenPollsTheMaskInTurn) {
    inMask({1, 3, 4});
    master().setPolling(false);
    serve(2);
    EXPECT_TRUE(transport.sent.empty());
    master().setPolling(true);
    serve(4);
    EXPECT_EQ(polledUnits(), (Units{"01", "03", "04", "01"}));
    EXPECT_EQ(transport.sent[0], "A4 01 02 96");
}

TEST_F(IntLcbMasterTest, EveryFourthSelectionGoesToTheNextSpecialUnitOfTheMask) {
    inMask({0, 1, 2, 5, 7});
    policy.specialUnit[5] = true;
    policy.specialUnit[6] = true;  // not in the mask: never chosen
    serve(9);
    EXPECT_EQ(polledUnits(), (Units{"05", "01", "02", "05", "05", "07", "00", "01", "05"}));
}

TEST_F(IntLcbMasterTest, UnitWithAnEmptyQueueIsSkippedForSkipIfEmptySelections) {
    inMask({1, 2});
    policy.skipIfEmpty = 2;
    transport.answer("A4 01 00 00");
    serve(5);
    EXPECT_EQ(polledUnits(), (Units{"01", "02", "02", "02", "01"}));
}

TEST_F(IntLcbMasterTest, ExclusionFromTheEighthMissingAnswer) {
    struct Case {
        const char *name;
        std::vector<NoAnswerStep> steps;
        uint32_t skip;
        uint64_t exclusionMs;
    };
    const Case cases[] = {
        {"built-in rule", {}, 10, 0},
        {"step table", {{3, 2, 5000}, {7, 4, 30000}, {20, 50, 600000}}, 4, 30000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        master_.reset();
        transport.sent.clear();
        delivered.clear();
        policy.steps = c.steps;
        inMask({3});
        if (!c.steps.empty()) {
            // The first step applies from the fourth miss on.
            for (int i = 0; i < 4; ++i) master().CountUnit(PanelFrame::fromBytes(testsupport::hexBytes("A4 03 62")));
            EXPECT_EQ(master().units().skipCount(3), 2u);
            master_.reset();
        }
        for (int i = 0; i < 7; ++i) master().CountUnit(PanelFrame::fromBytes(testsupport::hexBytes("A4 03 62")));
        if (c.steps.empty()) {
            EXPECT_EQ(master().units().skipCount(3), 0u);
        }
        master().CountUnit(PanelFrame::fromBytes(testsupport::hexBytes("A4 03 62")));
        EXPECT_EQ(master().units().noAnswerCount(3), 8u);
        EXPECT_EQ(master().units().skipCount(3), c.skip);
        EXPECT_EQ(master().units().skipDeadline(3), c.exclusionMs ? clock.nowMs() + c.exclusionMs : 0);
        EXPECT_EQ(delivered.back(), "A4 03 62 FA");
    }
}

TEST_F(IntLcbMasterTest, MissingAndErrorAnswersAreCountedAndReported) {
    inMask({2});
    transport.silence();
    transport.answer("A5 02 03 01 00");
    serve(2);
    EXPECT_EQ(delivered, (Units{"A4 02 62 F8", "A4 02 03 99"}));
    EXPECT_EQ(master().units().noAnswerCount(2), 2u);
    EXPECT_EQ(master().units().totalMissing(), 2u);
}

TEST_F(IntLcbMasterTest, SpecialRepeatRequestAndRepeatDetection) {
    inMask({1});
    policy.special = true;
    transport.silence();                      // 1st poll: silent
    transport.answer("A6 01 2A 07 00");       // repeat request answered: unit back
    transport.silence();                      // silent again
    transport.answer("A6 01 2A 07 00");       // the same answer once more: a repeat
    serve(4);
    ASSERT_EQ(transport.sent.size(), 4u);
    EXPECT_EQ(transport.sent[0].substr(6, 2), "02");
    EXPECT_EQ(transport.sent[1].substr(6, 2), "12");
    EXPECT_EQ(transport.sent[3].substr(6, 2), "12");
    ASSERT_EQ(delivered.size(), 4u);
    EXPECT_EQ(delivered[1].substr(0, 8), "A4 01 10");  // connection with the unit restored
    EXPECT_EQ(delivered[2].substr(0, 8), "A6 01 2A");
    EXPECT_EQ(delivered[3].substr(0, 8), "A4 01 62");
    EXPECT_EQ(master().units().noAnswerCount(1), 1u);  // the repeat leaves it counted as silent
}

TEST_F(IntLcbMasterTest, ControllerReportingTheUnitSilentCountsItWithoutRecordLoss) {
    inMask({4});
    transport.answer("A4 04 62 00");
    serve(1);
    EXPECT_EQ(master().units().noAnswerCount(4), 1u);
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].substr(0, 8), "A4 04 62");
}

TEST_F(IntLcbMasterTest, WrongChecksumAnswerIsDropped) {
    inMask({4});
    transport.fixChecksum = false;
    transport.answer("A6 04 2A 07 00 00");
    serve(1);
    EXPECT_TRUE(delivered.empty());
}

struct CommandCase {
    const char *name;
    std::vector<const char *> answers;  // nullptr: no answer
    size_t sends;
    std::vector<std::string> delivered;
};

TEST_F(IntLcbMasterTest, CommandAnswers) {
    const CommandCase cases[] = {
        {"answered", {"A5 06 41 01 00"}, 1, {"A5 06 41 01 C8"}},
        {"done without data", {"A4 06 00 00"}, 1, {"A4 FB 64 EC"}},
        {"not supported: at once", {"A5 06 03 02 00"}, 1, {"A5 06 03 02 4D"}},
        {"busy: repeated once", {"A5 06 03 04 00", "A5 06 41 01 00"}, 2, {"A5 06 41 01 C8"}},
        {"unanswered twice", {nullptr, nullptr}, 2, {"A4 06 62 00"}},
        {"error after the repeat", {nullptr, "A5 06 03 01 00"}, 2, {"A4 06 03 A1"}},
    };
    for (const CommandCase &c : cases) {
        SCOPED_TRACE(c.name);
        master_.reset();
        transport.sent.clear();
        delivered.clear();
        transport.script.clear();
        for (const char *a : c.answers) a ? transport.answer(a) : transport.silence();
        PanelFrame command = PanelFrame::fromBytes(testsupport::hexBytes("A5 06 41 09"));
        FrameChecksum(command);
        queue->Put(command);
        serve(1);
        EXPECT_EQ(transport.sent.size(), c.sends);
        EXPECT_EQ(delivered, c.delivered);
    }
}

TEST_F(IntLcbMasterTest, BroadcastIsSentOnceWithItsPauseAndNoRead) {
    struct Case {
        const char *frame;
        uint64_t pauseMs;
    };
    for (const Case &c : {Case{"A6 FE 08 02 00", 150}, Case{"A6 FE 08 05 00", 250}, Case{"A4 FE 13", 100}}) {
        SCOPED_TRACE(c.frame);
        transport.sent.clear();
        transport.script.clear();
        transport.answer("A4 FE 00 00");
        PanelFrame command = PanelFrame::fromBytes(testsupport::hexBytes(c.frame));
        FrameChecksum(command);
        queue->Put(command);
        const uint64_t before = clock.nowMs();
        serve(1);
        EXPECT_EQ(transport.sent.size(), 1u);
        EXPECT_EQ(transport.script.size(), 1u);  // nothing read
        EXPECT_EQ(clock.nowMs() - before, c.pauseMs);
    }
}

TEST_F(IntLcbMasterTest, InternalFramesAndAddressesPastTheTablesNeverIndexThem) {
    queue->Put(PanelFrame::connectionRestored(4));
    PanelFrame command = PanelFrame::fromBytes(testsupport::hexBytes("A4 FF 41"));
    FrameChecksum(command);
    queue->Put(command);
    master().setPolling(false);
    serve(2);
    EXPECT_EQ(transport.sent.size(), 2u);  // the command and its repeat; the internal frame dropped
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].substr(0, 8), "A4 FF 62");
    EXPECT_EQ(master().units().totalMissing(), 1u);
}

TEST_F(IntLcbMasterTest, NothingHappensWhileServingIsDisabled) {
    inMask({1});
    master().setServing(false);
    serve(3);
    EXPECT_TRUE(transport.sent.empty());
}

}  // namespace
}  // namespace lintra
