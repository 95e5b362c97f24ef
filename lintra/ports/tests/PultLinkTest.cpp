#include "lintra/ports/PultLink.h"

#include <gtest/gtest.h>

#include <ctime>

#include "lintra/ports/tests/FakePort.h"
#include "lintra/ports/tests/FrameFixtures.h"

namespace lintra {
namespace {
using test::frameOf;

constexpr int kLine = 3;
constexpr uint8_t kAddress = 5;

// The calendar second at which the local clock shows 10 March, 09:45.
int64_t TenMarchQuarterToTen() {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 10;
    local.tm_hour = 9;
    local.tm_min = 45;
    local.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&local));
}

struct PultLinkTest : ::testing::Test {
    tessel::ManualClock clock{1000, TenMarchQuarterToTen()};
    test::FakePort port{clock};
    TPultLink link{port, clock, kLine, kAddress};

    void useMode(uint8_t mode) {
        port.setTimeouts(TPultLink::kTimeouts);
        link.SetConnParam(mode);
        port.clearTrace();
    }
    PanelFrame signedFrame(std::string_view hex) {
        PanelFrame frame = frameOf(hex);
        FrameChecksum(frame);
        return frame;
    }
};

TEST_F(PultLinkTest, SpeedModesSetTheLine) {
    const char *lines[] = {"line(10400,8,mark,2) dtr-", "line(19200,8,none,1) dtr-",
                           "line(19200,8,mark,2) dtr-"};
    for (uint8_t mode = 0; mode < 3; ++mode) {
        port.clearTrace();
        link.SetConnParam(mode);
        EXPECT_EQ(port.trace(), lines[mode]);
        EXPECT_EQ(link.speedMode(), mode);
    }
}

TEST_F(PultLinkTest, TransmitMarksOnlyTheFirstByteInNinthBitModes) {
    const struct {
        uint8_t mode;
        const char *frame;
        const char *trace;
    } cases[] = {
        {0, "A4 05 56 00", "purge rts+ A4/mark flush 05/space 56/space F2/space flush rts-"},
        {2, "A4 05 56 00", "purge rts+ A4/mark flush 05/space 56/space F2/space flush rts-"},
        {1, "A4 05 56 00", "purge rts+ A4/none 05/none 56/none F2/none flush rts-"},
        {0, "A6 05 57 00 06 00",
         "purge rts+ A6/mark flush 05/space 57/space 00/space 06/space F5/space flush rts-"},
    };
    for (const auto &c : cases) {
        useMode(c.mode);
        link.TransmitMsg(signedFrame(c.frame));
        EXPECT_EQ(port.trace(), c.trace) << "mode " << int(c.mode);
    }
    EXPECT_EQ(link.sends(), 4);
}

TEST_F(PultLinkTest, TransmitRefusesAFrameWithoutRoomForAChecksum) {
    useMode(0);
    link.TransmitMsg(frameOf("A1 05 56 F2"));
    EXPECT_EQ(port.trace(), "purge");
}

TEST_F(PultLinkTest, StateIsSavedEvery256Frames) {
    useMode(1);
    int saves = 0;
    link.setSaveState([&] { return ++saves, true; });
    const PanelFrame poll = signedFrame("A4 05 56 00");
    for (int i = 0; i < 600; ++i) link.TransmitMsg(poll);
    EXPECT_EQ(saves, 2);
}

struct AnswerCase {
    const char *why;
    std::vector<const char *> chunks;
    bool result;
    const char *buffer;  // the whole 16-byte buffer afterwards
    size_t unread;
};

TEST_F(PultLinkTest, GetAnswerReadsAtMostTheAnnouncedFrame) {
    const AnswerCase cases[] = {
        {"message, format 0", {"AB 05 57 4E AC 42 11 0E 00 07 3C"}, true,
         "AB 05 57 4E AC 42 11 0E 00 07 3C EE EE EE EE EE", 0},
        {"message, format 1", {"AD 05 57 12 31 23 59 01 02 03 00 09 77"}, true,
         "AD 05 57 12 31 23 59 01 02 03 00 09 77 EE EE EE", 0},
        {"longest frame, nothing read beyond it", {"AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 27 99"},
         true, "AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 27 EE", 1},
        {"in two chunks", {"A4 05", "00 A9"}, true, "A4 05 00 A9 EE EE EE EE EE EE EE EE EE EE EE EE", 0},
        {"silence", {}, false, "EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE", 0},
        {"cut short", {"A6 05 57 00"}, false, "A6 05 57 00 EE EE EE EE EE EE EE EE EE EE EE EE", 0},
        {"length 0 announces nothing", {"A0 05 56 F2"}, false,
         "A0 EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE", 3},
        {"length 1 announces nothing", {"A1 05 56 F2"}, false,
         "A1 EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE", 3},
        {"no length marker", {"54 05 56 F2"}, false, "54 EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE", 3},
    };
    for (const auto &c : cases) {
        test::FakePort casePort{clock};
        TPultLink caseLink{casePort, clock, kLine, kAddress};
        casePort.setTimeouts(TPultLink::kTimeouts);
        for (const char *chunk : c.chunks) casePort.scriptHex(chunk);
        PanelFrame buffer;
        EXPECT_EQ(caseLink.GetAnswer(buffer), c.result) << c.why;
        EXPECT_EQ(testsupport::toHex(buffer.bytes), c.buffer) << c.why;
        EXPECT_EQ(casePort.unread(), c.unread) << c.why;
        EXPECT_EQ(caseLink.answerCounter(), c.result ? 1 : -1) << c.why;
        EXPECT_EQ(casePort.trace(), c.result ? "" : "purge") << c.why;
    }
}

TEST_F(PultLinkTest, FailedReadPausesHalfASecondAfterItsTimeOut) {
    useMode(0);
    PanelFrame buffer;
    EXPECT_FALSE(link.GetAnswer(buffer));
    EXPECT_EQ(clock.nowMs(), 1000u + 100 + (20 + 1000) + 500);  // after SetConnParam's 100 ms
}

TEST_F(PultLinkTest, AnswerCounterCountsRunsOfGoodAndFailedReads) {
    useMode(1);
    PanelFrame buffer;
    std::vector<int32_t> seen;
    for (bool good : {true, true, false, false, false, true}) {
        if (good) port.scriptHex("A4 05 00 A9");
        link.GetAnswer(buffer);
        seen.push_back(link.answerCounter());
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, -1, -2, -3, 1}));
}

TEST_F(PultLinkTest, RestartMessageOfTheWPollRequestsAReset) {
    useMode(0);
    PanelFrame buffer;
    port.scriptHex("AB 05 57 4E AC 1C 11 0E 00 07 00");  // byte 5 = 28
    link.GetAnswer(buffer);
    EXPECT_FALSE(link.resetRequest());
    port.scriptHex("AB 05 57 4E AC 1D 11 0E 00 07 00");  // byte 5 = 29
    link.GetAnswer(buffer);
    EXPECT_TRUE(link.resetRequest());
}

TEST_F(PultLinkTest, ResyncSendsTwentyZeroBytes) {
    useMode(1);
    link.ResyncLine();
    EXPECT_EQ(port.writtenHex(), "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(port.trace().substr(0, 5), "rts+ ");
    EXPECT_EQ(port.trace().substr(port.trace().size() - 11), " flush rts-");
}

TEST_F(PultLinkTest, DirectExchangeSendsLikeTransmit) {
    const struct {
        uint8_t mode;
        const char *trace;
    } cases[] = {
        {0, "purge rts+ A4/mark flush 05/space 5D/space F9/space flush rts-"},
        {1, "purge rts+ A4/none 05/none 5D/none F9/none flush rts-"},
    };
    for (const auto &c : cases) {
        useMode(c.mode);
        port.scriptHex("A5 05 5A 10 00");
        link.SendCmdGetRepl(frameOf("04 05 5D"));  // checksum set by the exchange
        EXPECT_EQ(port.trace(), c.trace) << int(c.mode);
    }
}

TEST_F(PultLinkTest, DirectAnswerBecomesTheReplyRecord) {
    useMode(1);
    port.scriptHex("A5 05 5A 10 00");  // zone count answer
    const auto reply = link.SendCmdGetRepl(frameOf("A4 05 5D"));
    EXPECT_EQ(reply.outcome, TPultLink::Outcome::Answered);
    EXPECT_EQ(reply.record.line, kLine);
    EXPECT_EQ(reply.record.address, kAddress);
    EXPECT_EQ(reply.record.code, 90);
    EXPECT_EQ(reply.record.data_length, 1);
    EXPECT_EQ(reply.record.data[0], 0x10);
    EXPECT_EQ(link.sends(), 1);
    // Stamped with the line's clock.
    EXPECT_EQ(reply.record.month, 3);
    EXPECT_EQ(reply.record.day, 10);
    EXPECT_EQ(reply.record.hour, 9);
    EXPECT_EQ(reply.record.minute, 45);
}

TEST_F(PultLinkTest, EmptyDirectAnswerGivesTheInternalEmptyAnswer) {
    useMode(1);
    port.scriptHex("A4 05 00 A9");
    const auto reply = link.SendCmdGetRepl(frameOf("A5 05 5F 01"));
    EXPECT_EQ(reply.outcome, TPultLink::Outcome::Answered);
    EXPECT_EQ(reply.record.line, kLine);
    EXPECT_EQ(reply.record.address, 0xFB);
    EXPECT_EQ(reply.record.code, 0x64);
}

struct DirectCase {
    const char *why;
    std::vector<std::pair<const char *, uint64_t>> chunks;  // hex, available from (ms after start)
    TPultLink::Outcome outcome;
    uint16_t code;
    int sends, noAnswers, errorAnswers;
};

TEST_F(PultLinkTest, DirectExchangeRepeatsOnceThenReports) {
    using O = TPultLink::Outcome;
    const DirectCase cases[] = {
        {"silent twice", {}, O::NoAnswer, 0x65, 2, 2, 0},
        {"answer on the repeat", {{"A5 05 5A 10 00", 4000}}, O::Answered, 90, 2, 1, 0},
        {"late first byte within 2 s", {{"A5 05 5A 10 00", 1900}}, O::Answered, 90, 1, 0, 0},
        {"error twice", {{"A5 05 03 01 00", 0}, {"A5 05 03 01 00", 1000}}, O::ErrorAnswer, 3, 2, 0, 2},
        {"error code 2 is an answer", {{"A5 05 03 02 00", 0}}, O::Answered, 3, 1, 0, 0},
        {"error code 3 is an answer", {{"A5 05 03 03 00", 0}}, O::Answered, 3, 1, 0, 0},
        {"error code 2 on the repeat is not", {{"A5 05 03 02 00", 3000}}, O::ErrorAnswer, 3, 2, 1, 1},
        {"cut short, then answered", {{"A6 05 5A", 0}, {"A5 05 5A 10 00", 1500}}, O::Answered, 90, 2, 1, 0},
        {"length 0 byte twice", {{"A0", 0}, {"A0", 1000}}, O::NoAnswer, 0x65, 2, 2, 0},
    };
    for (const auto &c : cases) {
        tessel::ManualClock caseClock{0};
        test::FakePort casePort{caseClock};
        TPultLink caseLink{casePort, caseClock, kLine, kAddress};
        casePort.setTimeouts(TPultLink::kTimeouts);
        caseLink.SetConnParam(1);
        for (const auto &[hex, at] : c.chunks) casePort.scriptHex(hex, at);
        const auto reply = caseLink.SendCmdGetRepl(frameOf("A4 05 5D"));
        EXPECT_EQ(reply.outcome, c.outcome) << c.why;
        EXPECT_EQ(reply.record.code, c.code) << c.why;
        EXPECT_EQ(reply.record.line, kLine) << c.why;
        EXPECT_EQ(caseLink.sends(), c.sends) << c.why;
        EXPECT_EQ(caseLink.noAnswers(), c.noAnswers) << c.why;
        EXPECT_EQ(caseLink.errorAnswers(), c.errorAnswers) << c.why;
        EXPECT_EQ(casePort.timeouts().readTotalConstantMs, TPultLink::kTimeouts.readTotalConstantMs) << c.why;
        if (c.outcome != O::Answered) {
            EXPECT_EQ(reply.record.address, 0xFB) << c.why;
        }
    }
}

TEST_F(PultLinkTest, DirectExchangeRefusesAFrameWithoutRoomForAChecksum) {
    useMode(0);
    const auto reply = link.SendCmdGetRepl(frameOf("A0 05 56"));
    EXPECT_EQ(reply.outcome, TPultLink::Outcome::NoAnswer);
    EXPECT_EQ(reply.record.code, 0x65);
    EXPECT_EQ(port.trace(), "");
}

TEST_F(PultLinkTest, DirectRestartMessageLeavesTheResetRequest) {
    useMode(1);
    port.scriptHex("AB 05 57 4E AC 1D 11 0E 00 07 00");
    link.SendCmdGetRepl(frameOf("A6 05 57 00 06"));
    EXPECT_FALSE(link.resetRequest());
}

}  // namespace
}  // namespace lintra
