// The master over a scripted controller: acknowledgement and the one repeat, and supervision.
#include <gtest/gtest.h>

#include "lintra/ports/lcb/LcbMaster.h"
#include "lintra/ports/lcb/LcbReceiver.h"
#include "lintra/ports/lcb/tests/LcbFixture.h"

namespace lintra::test {
namespace {

struct MasterTest : ::testing::Test {
    tessel::ManualClock clock{1000};
    FakePort wire{clock};
    HandshakePort port{wire};
    SteppingClock stepping{clock};
    RecordingMasterLine line;
    TLCBMaster master{line, port, stepping};
    TLcbReceiver receiver{port, clock, 1};

    MasterTest() {
        // The receive thread, run at every pause of the master: its reads wait at most 1 ms
        // here, or they would hold up the master's clock.
        port.setTimeouts(PortTimeouts{0, 0, 1, 0, 0});
        stepping.onSleep = [this] {
            if (auto frame = receiver.Receive(); frame && IsValidFrame(*frame)) master.FrameReceived(*frame);
        };
    }
    PanelFrame frame(std::vector<uint8_t> bytes) { return PanelFrame::fromBytes(signedFrame(std::move(bytes))); }
};

TEST_F(MasterTest, AcknowledgedCommandsAreSentOnceAndOthersOnceMore) {
    const struct {
        const char *what;
        std::vector<uint8_t> frame;
        std::optional<uint64_t> ackAfterMs;  // from the send on
        int writes;
    } cases[] = {
        {"acknowledged in time", {0xA5, 0x07, 0x08, 0x01, 0}, 150, 1},
        {"no acknowledgement", {0xA5, 0x07, 0x08, 0x01, 0}, std::nullopt, 2},
        {"acknowledged too late, the repeat is", {0xA5, 0x07, 0x08, 0x01, 0}, 250, 2},
        {"to all units", {0xA5, 0xFE, 0x08, 0x01, 0}, std::nullopt, 1},
        {"outside the set", {0xA5, 0x07, 0x09, 0x01, 0}, std::nullopt, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        port.clearTrace();
        const int before = port.writes();
        if (c.ackAfterMs) wire.script(signedFrame({0xA4, 0x07, 0x64, 0}), clock.nowMs() + 10 + *c.ackAfterMs);
        master.TransmitMsg(frame(c.frame));
        EXPECT_EQ(port.writes() - before, c.writes) << port.trace();
        EXPECT_FALSE(master.awaitingAck());
        clock.advance(1000);
        while (wire.unread() > 0) stepping.onSleep();
    }
}

TEST_F(MasterTest, RepeatAsksForTheLineAgain) {
    const PanelFrame command = frame({0xA5, 0x07, 0x0B, 0x02, 0});
    master.TransmitMsg(command);
    const std::string w = "w:" + compactHex(command.wire());
    EXPECT_EQ(port.trace(), w + " rts- rts+ " + w + " rts-");
}

TEST_F(MasterTest, FramesTooShortForAChecksumAreNotSent) {
    PanelFrame junk;
    junk.bytes[0] = 0xA1;
    master.TransmitMsg(junk);
    EXPECT_EQ(port.writes(), 0);
}

TEST_F(MasterTest, ControllerStuckHoldingTheLineDoesNotHoldTheMaster) {
    port.fixDsr(std::optional<bool>(true));
    stepping.onSleep = nullptr;
    const uint64_t start = clock.nowMs();
    master.TransmitMsg(frame({0xA4, 0x07, 0x09, 0}));
    EXPECT_LE(clock.nowMs() - start, TLCBMaster::kReleaseWaitMs + 20);
}

// Periods: 'f' saw a frame, '-' was silent. The loss is reported at the second silent period
// in a row, the return at the first period with a frame; every silent period reopens.
TEST_F(MasterTest, SupervisionReportsLossAfterTwoSilentPeriodsAndTheReturnAtOnce) {
    const struct {
        char period;
        std::vector<std::string> delivered;
        int reopened;
    } periods[] = {
        {'f', {}, 0},
        {'-', {}, 1},
        {'-', {"06 FB 65"}, 2},
        {'-', {"06 FB 65"}, 3},
        {'f', {"06 FB 65", "06 FB 66"}, 3},
        {'-', {"06 FB 65", "06 FB 66"}, 4},
        {'f', {"06 FB 65", "06 FB 66"}, 4},
    };
    int i = 0;
    for (const auto &p : periods) {
        SCOPED_TRACE(i++);
        if (p.period == 'f') {
            master.FrameReceived(frame({0xA4, 0x07, 0x00, 0}));
            line.delivered.pop_back();
        }
        master.SupervisionStep();
        EXPECT_EQ(line.delivered, p.delivered);
        EXPECT_EQ(line.reopened, p.reopened);
    }
}

}  // namespace
}  // namespace lintra::test
