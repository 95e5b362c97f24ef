#include <gtest/gtest.h>

#include "lintra/ports/lines/tests/PultFixture.h"

namespace lintra {
namespace {
using test::codes;
using test::messageAnswer;
using test::signedBytes;

constexpr uint16_t kLost = PanelFrame::kCodeConnectionLost;
constexpr uint16_t kRestored = PanelFrame::kCodeConnectionRestored;

struct PultPollingTest : ::testing::Test, test::PultFixture {};

TEST_F(PultPollingTest, IdleLineOnlyPauses) {
    const auto step = this->step();
    EXPECT_TRUE(step.idle);
    EXPECT_EQ(step.count, 0u);
    EXPECT_EQ(port->writtenHex(), "");
}

TEST_F(PultPollingTest, PollFrameMarksOnlyItsFirstByte) {
    panelPort->setMode(0);
    pollingOn();
    answer(messageAnswer(0));
    step();
    EXPECT_NE(port->trace().find("A4/mark flush 05/space 56/space F2/space"), std::string::npos) << port->trace();
}

TEST_F(PultPollingTest, GapInNumbersIsFetchedOneByOne) {
    line->setCurrentMsgNumber(5);
    pollingOn();
    answer(messageAnswer(7));
    EXPECT_EQ(step().count, 0u);  // nothing delivered, the missing number is asked for
    EXPECT_TRUE(line->numberRequestMode());

    answer(messageAnswer(6));
    auto delivered = step();
    EXPECT_EQ(port->writtenHex().substr(0, 17), "A6 05 57 00 06 F5");
    EXPECT_EQ(delivered.count, 1u);
    EXPECT_EQ(line->currentMsgNumber(), 6);
    EXPECT_TRUE(line->numberRequestMode());

    answer(messageAnswer(7));
    EXPECT_EQ(step().count, 1u);
    EXPECT_EQ(line->currentMsgNumber(), 7);
    EXPECT_FALSE(line->numberRequestMode());  // the requested number came

    answer(messageAnswer(7));
    EXPECT_EQ(step().count, 0u);  // the current message is not delivered again
    EXPECT_EQ(port->writtenHex().substr(0, 2), "A4");
}

// Polling on, and a message after a gap: number-request mode, with the answer format fixed.
void enterNumberRequest(test::PultFixture &f, int format) {
    f.pollingOn();
    f.line->setCurrentMsgNumber(10);
    f.answer(messageAnswer(20, format));
    f.step();
}

TEST_F(PultPollingTest, NumberRequestedAfterTheCurrentOne) {
    const struct {
        int format;
        uint16_t current;
        const char *request;
    } cases[] = {
        {0, 2047, "A6 05 57 08 00"},
        {0, 2048, "A6 05 57 08 01"},
        {0, 2049, "A6 05 57 00 00"},
        {1, 2049, "A6 05 57 08 02"},
        {1, 65534, "A6 05 57 FF FF"},
        {1, 65535, "A6 05 57 00 00"},
    };
    for (const auto &c : cases) {
        test::PultFixture f;
        enterNumberRequest(f, c.format);
        f.line->setCurrentMsgNumber(c.current);
        f.step();
        EXPECT_EQ(f.port->writtenHex().substr(0, 14), c.request) << "format " << c.format << " after " << c.current;
    }
}

// A status answer with error code 2 to a number request past the middle of the store: the
// panel's numbering wrapped, and the next request is for number 0 in either answer format.
TEST_F(PultPollingTest, MissingNumberPastMidStoreWrapsToZero) {
    const struct {
        int format;
        uint16_t current;
        uint8_t error;
        uint16_t after;  // the current number after the status answer
        const char *next;
    } cases[] = {
        {0, 1500, 2, 65535, "A6 05 57 00 00"},
        {1, 1500, 2, 65535, "A6 05 57 00 00"},
        {1, 40000, 2, 65535, "A6 05 57 00 00"},
        {1, 1023, 2, 65535, "A6 05 57 00 00"},
        {1, 1022, 2, 1022, "A6 05 57 03 FF"},
        {1, 1500, 1, 1500, "A6 05 57 05 DD"},
    };
    for (const auto &c : cases) {
        test::PultFixture f;
        enterNumberRequest(f, c.format);
        f.line->setCurrentMsgNumber(c.current);
        f.answer(signedBytes({0xA5, test::kAddress, 0x03, c.error, 0}));
        EXPECT_EQ(codes(f.step()), std::vector<uint16_t>{3}) << "format " << c.format << " at " << c.current;
        EXPECT_EQ(f.line->currentMsgNumber(), c.after) << "format " << c.format << " at " << c.current;
        f.step();
        EXPECT_EQ(f.port->writtenHex().substr(0, 14), c.next) << "format " << c.format << " at " << c.current;
    }
}

TEST_F(PultPollingTest, LossAfterTheRestoreCountdownThenRestore) {
    pollingOn();
    int steps = 0;
    std::vector<uint16_t> reported;
    while (!line->silent() && steps < 20) {
        ++steps;
        for (uint16_t code : codes(step())) reported.push_back(code);
    }
    EXPECT_EQ(steps, 10);  // every second miss counts down from 5
    EXPECT_EQ(reported, std::vector<uint16_t>{kLost});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(step().count, 0u);  // reported once

    answer(messageAnswer(0));
    EXPECT_EQ(codes(step()), std::vector<uint16_t>{kRestored});
    EXPECT_FALSE(line->silent());
    EXPECT_EQ(line->restoreCountdown(), 5);
}

TEST_F(PultPollingTest, CommandQueuedWhileSilentRepeatsTheLossReport) {
    pollingOn();
    loseConnection();
    ASSERT_TRUE(line->silent());
    line->SendComMsg(PanelFrame::command(test::kAddress, 80, std::vector<uint8_t>{1, 2}), 0);
    const auto step = this->step();
    EXPECT_EQ(codes(step), std::vector<uint16_t>{kLost});
    EXPECT_EQ(port->writtenHex().substr(0, 2), "A4");  // only the poll went out
    EXPECT_EQ(line->outQueue().Count(), 1u);
}

TEST_F(PultPollingTest, OneStepCanReportLossRestoreAndAMessage) {
    pollingOn();
    loseConnection();
    line->SendComMsg(PanelFrame::command(test::kAddress, 80, std::vector<uint8_t>{1, 2}), 0);
    answer(messageAnswer(1));  // the poll after the repeated loss report is answered
    EXPECT_EQ(codes(step()), (std::vector<uint16_t>{kLost, kRestored, 0x61}));
}

TEST_F(PultPollingTest, CommandAnswers) {
    const struct {
        const char *name;
        std::vector<std::vector<uint8_t>> answers;  // to the send and to its repeat
        std::vector<uint16_t> delivered;
        size_t left;  // commands still queued
        bool silent;
    } cases[] = {
        {"answer", {signedBytes({0xA6, test::kAddress, 0x5A, 7, 0, 0})}, {0x5A}, 0, false},
        {"empty answer", {signedBytes({0xA4, test::kAddress, 0x00, 0})}, {PanelFrame::kCodeEmptyAnswer}, 0, false},
        {"error 2 counts as an answer", {signedBytes({0xA5, test::kAddress, 3, 2, 0})}, {3}, 0, false},
        {"answered on the repeat",
         {signedBytes({0xA5, test::kAddress, 3, 1, 0}), signedBytes({0xA4, test::kAddress, 0x00, 0})},
         {PanelFrame::kCodeEmptyAnswer}, 0, false},
        {"error twice", {signedBytes({0xA5, test::kAddress, 3, 1, 0}), signedBytes({0xA5, test::kAddress, 3, 1, 0})},
         {3}, 0, true},
        {"no answer twice", {}, {kLost}, 1, true},
    };
    for (const auto &c : cases) {
        test::PultFixture f;
        f.pollingOn();
        f.line->SendComMsg(PanelFrame::command(test::kAddress, 80, std::vector<uint8_t>{1}), 0);
        for (const auto &a : c.answers) f.answer(a);
        // A lost connection ends with a poll the fake leaves unanswered; only the command's
        // records are compared.
        auto step = f.step();
        auto got = codes(step);
        EXPECT_EQ(got, c.delivered) << c.name;
        EXPECT_EQ(f.line->outQueue().Count(), c.left) << c.name;
        EXPECT_EQ(f.line->silent(), c.silent) << c.name;
    }
}

TEST_F(PultPollingTest, InternalFramesSwitchPollingAndAreNotQueued) {
    EXPECT_EQ(line->SendComMsg(PanelFrame::connectionRestored(4), 0), 0);
    EXPECT_TRUE(line->reqenbld());
    EXPECT_EQ(line->SendComMsg(PanelFrame::connectionLost(), 0), 0);
    EXPECT_FALSE(line->reqenbld());
    EXPECT_EQ(line->SendComMsg(PanelFrame::internal(4, 0x60), 0), -1);
    EXPECT_EQ(line->outQueue().Count(), 0u);
    EXPECT_EQ(line->SendComMsg(PanelFrame::command(test::kAddress, 80, {}), 0),
              int(TPortControl::kOutQueueCapacity - 1));
    EXPECT_EQ(test::wireHex(*line->outQueue().Peek()), "A4 05 50 EC");
}

}  // namespace
}  // namespace lintra
