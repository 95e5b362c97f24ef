#include <gtest/gtest.h>

#include "lintra/ports/netrs/tests/ScriptedGateway.h"

namespace lintra {
namespace {

using test::padded;
constexpr uint8_t kAddr = test::kGatewayAddress;
constexpr uint16_t kLost = PanelFrame::kCodeConnectionLost;
constexpr uint16_t kErrorAnswer = PanelFrame::kCodeErrorAnswer;

struct NetRSLineTest : ::testing::Test, test::GatewayFixture {};

TEST_F(NetRSLineTest, EachAnswerIsOneFrameOfItsOwnLengthPaddedOrNot) {
    const struct {
        const char *name;
        std::vector<uint8_t> (*answer)(std::vector<uint8_t>);
    } gateways[] = {{"as they come", test::frame}, {"padded", padded}};
    for (const auto &g : gateways) {
        test::GatewayFixture f;
        f.pollingOn();
        f.script.answers = {g.answer({0xA5, kAddr, 0x30, 7, 0})};
        EXPECT_EQ(f.step(), std::vector<uint16_t>{0x30}) << g.name;
        // Whatever the first answer left does not run into the second.
        f.script.answers = {g.answer({0xA5, kAddr, 0x31, 8, 0})};
        EXPECT_EQ(f.step(), std::vector<uint16_t>{0x31}) << g.name;
        EXPECT_EQ(f.script.sent, (std::vector<std::string>{"A4 05 56 F2", "A4 05 56 F2"})) << g.name;
        EXPECT_EQ(f.script.opens, 1) << g.name;
    }
}

TEST_F(NetRSLineTest, AnswerCutShortClosesAndTheNextSendReconnects) {
    pollingOn();
    std::vector<uint8_t> cut = test::frame({0xA5, kAddr, 0x30, 7, 0});
    cut.pop_back();
    script.answers = {cut};
    const uint64_t before = clock.nowMs();
    EXPECT_TRUE(step().empty());
    // Only the gateway's pause after closing: no half-second pause of a serial read, no
    // answer counter.
    EXPECT_EQ(clock.nowMs() - before, GatewayPort::kClosePauseMs);
    EXPECT_EQ(line->answerCounter(), 0);
    script.answers = {padded({0xA5, kAddr, 0x31, 8, 0})};
    EXPECT_EQ(step(), std::vector<uint16_t>{0x31});
    EXPECT_EQ(script.opens, 2);
}

TEST_F(NetRSLineTest, BrokenSendIsClosedByTheAnswersReadAndTheNextSendReconnects) {
    pollingOn();
    script.answers = {padded({0xA5, kAddr, 0x30, 7, 0})};
    EXPECT_EQ(step(), std::vector<uint16_t>{0x30});
    script.sendFails = true;
    const uint64_t before = clock.nowMs();
    EXPECT_TRUE(step().empty());
    EXPECT_EQ(clock.nowMs() - before, GatewayPort::kClosePauseMs);
    script.sendFails = false;
    script.answers = {padded({0xA5, kAddr, 0x31, 8, 0})};
    EXPECT_EQ(step(), std::vector<uint16_t>{0x31});
    EXPECT_EQ(script.opens, 2);
}

TEST_F(NetRSLineTest, UnreachableGatewayIsLostOnTheSecondFailedPoll) {
    script.reachable = false;
    pollingOn();
    EXPECT_TRUE(step().empty());
    EXPECT_EQ(step(), std::vector<uint16_t>{kLost});
    EXPECT_TRUE(line->silent());
    // Nothing reached the gateway, not even the bytes a serial line resyncs its panel with.
    EXPECT_TRUE(script.sent.empty());

    // Once answered, the countdown is that of a serial line: five counted misses.
    script.reachable = true;
    script.answers = {padded({0xA5, kAddr, 0x30, 7, 0})};
    EXPECT_EQ(step(), (std::vector<uint16_t>{PanelFrame::kCodeConnectionRestored, 0x30}));
    EXPECT_EQ(line->restoreCountdown(), 5);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(step().empty()) << i;
    EXPECT_EQ(step(), std::vector<uint16_t>{kLost});
}

TEST_F(NetRSLineTest, ErrorAnswerToACommandIsRepeatedWhateverItsCode) {
    const struct {
        const char *name;
        std::vector<std::vector<uint8_t>> answers;  // to the send and to its repeat
        std::vector<uint16_t> delivered;
        bool silent;  // a lost line goes on to poll in the same step
    } cases[] = {
        {"error 2, then answered", {padded({0xA5, kAddr, 3, 2, 0}), padded({0xA4, kAddr, 0x00, 0})},
         {PanelFrame::kCodeEmptyAnswer}, false},
        {"error 3, then answered", {padded({0xA5, kAddr, 3, 3, 0}), padded({0xA6, kAddr, 0x5A, 7, 0, 0})}, {0x5A}, false},
        // The repeat takes error codes 2 and 3 as answers, as a serial line does.
        {"error 2 twice", {padded({0xA5, kAddr, 3, 2, 0}), padded({0xA5, kAddr, 3, 2, 0})}, {kErrorAnswer}, false},
        {"error 1 twice", {padded({0xA5, kAddr, 3, 1, 0}), padded({0xA5, kAddr, 3, 1, 0})}, {kErrorAnswer}, true},
    };
    for (const auto &c : cases) {
        test::GatewayFixture f;
        f.pollingOn();
        f.command();
        f.script.answers = {c.answers.begin(), c.answers.end()};
        EXPECT_EQ(f.step(), c.delivered) << c.name;
        EXPECT_EQ(f.script.sent[1], f.script.sent[0]) << c.name;  // the command repeated
        EXPECT_EQ(f.script.sent.size(), c.silent ? 3u : 2u) << c.name;
        EXPECT_EQ(f.line->silent(), c.silent) << c.name;
    }
}

TEST_F(NetRSLineTest, SilentLineReportsNoLossForANewCommand) {
    script.reachable = false;
    pollingOn();
    step();
    step();
    ASSERT_TRUE(line->silent());
    command();
    EXPECT_TRUE(step().empty());  // a serial line would report the loss again here
}

TEST_F(NetRSLineTest, EveryRecordCarriesThePanelAddress) {
    pollingOn();
    command();
    script.answers = {padded({0xA4, kAddr, 0x00, 0}), padded({0xA5, kAddr, 0x30, 7, 0})};
    EXPECT_EQ(step(), (std::vector<uint16_t>{PanelFrame::kCodeEmptyAnswer}));
    EXPECT_EQ(step(), std::vector<uint16_t>{0x30});
    for (int i = 0; i < 10; ++i) step();  // five counted misses after an answer
    ASSERT_EQ(delivered.size(), 3u);
    EXPECT_EQ(delivered.back().code, kLost);
    for (const EventRecord &record : delivered) {
        EXPECT_EQ(record.address, kAddr) << record.code;
        EXPECT_EQ(record.line, 3) << record.code;
    }
}

TEST_F(NetRSLineTest, InternalFramesActOnTheLineAndCommandsAreQueuedAsTheyAre) {
    PanelFrame unitCount = PanelFrame::internal(5, PanelFrame::kCodeUnitCount);
    unitCount.bytes[3] = 42;
    EXPECT_EQ(line->SendComMsg(unitCount, 0), 0);
    EXPECT_EQ(LineState::UnitCount(3), 42);
    EXPECT_EQ(line->SendComMsg(PanelFrame::internal(4, 0x61), 0), 0);  // ignored, not queued
    pollingOn();
    EXPECT_TRUE(line->reqenbld());
    line->SendComMsg(PanelFrame::connectionLost(), 0);
    EXPECT_FALSE(line->reqenbld());
    EXPECT_EQ(line->outQueue().Count(), 0u);
    EXPECT_EQ(line->SendComMsg(PanelFrame::command(7, 4, {}), 0), 0);  // another address stays
    script.answers = {padded({0xA4, 7, 0x00, 0})};
    step();
    PanelFrame sent = PanelFrame::command(7, 4, {});
    FrameChecksum(sent);
    EXPECT_EQ(script.sent, std::vector<std::string>{testsupport::toHex(sent.wire())});
}

TEST_F(NetRSLineTest, NumberAfterTheLastOfFormatZeroIsNotWrapped) {
    line->setCurrentMsgNumber(2049);
    pollingOn();
    script.answers = {padded({0xAB, kAddr, 0x57, 0x21, 0x43, 0x10, 0, 0, 0x08, 0x03, 0})};
    step();  // format 0 answer, number 2051: a gap, so the next poll asks by number
    ASSERT_TRUE(line->numberRequestMode());
    script.answers = {padded({0xAB, kAddr, 0x57, 0x21, 0x43, 0x10, 0, 0, 0x08, 0x02, 0})};
    step();
    EXPECT_EQ(script.sent.back().substr(0, 14), "A6 05 57 08 02");
}

}  // namespace
}  // namespace lintra
