// A line-controller line on a scripted port, its steps run by the test: the RTS/DSR transmit
// steps, LCBCommand frames on the wire, the reopening, and the controller mailbox.
#include <gtest/gtest.h>

#include <cstring>

#include "lintra/ports/commands/LcbCommand.h"
#include "lintra/ports/lcb/LcbControl.h"
#include "lintra/ports/lcb/tests/LcbFixture.h"
#include "lintra/ports/lines/SharedObjects.h"
#include "lintra/ports/lines/com_unit.h"
#include "testsupport/TempDir.h"

namespace lintra::test {
namespace {

constexpr int kLine = 4;

struct LcbControlTest : ::testing::Test {
    testsupport::IsolatedHost host;
    tessel::ManualClock clock{1000};
    SteppingClock stepping{clock};
    FakePort wire{clock};
    HandshakePort *port = nullptr;
    std::shared_ptr<TLCBControl> line = std::make_shared<TLCBControl>(kLine, stepping);

    int opens = 0;
    bool deviceThere = true;

    LcbControlTest() {
        ComUnitLoad();
        LineState::Reset();
        // Each opening makes a new device in front of the same wire, as a reopened tty is.
        auto opener = [this](int *error) -> std::unique_ptr<Port> {
            if (!deviceThere) return *error = ENOENT, nullptr;
            ++opens;
            auto device = std::make_unique<HandshakePort>(wire);
            port = device.get();
            return device;
        };
        EXPECT_TRUE(line->Open(opener, false));
        EXPECT_TRUE(LineTable::Put(kLine, line));
        port->clearTrace();
    }
    ~LcbControlTest() override {
        LineTable::Take(kLine);
        line.reset();
        ComUnitUnload();
    }
    // Transmit steps 10 ms apart until the queue is empty and the line let go.
    void sendAll() {
        for (int i = 0; i < 100 && (line->outQueue().Count() > 0 || line->transmitter().rtsRaised()); ++i) {
            clock.advance(10);
            line->TransmitStep();
        }
    }
    std::string sent() {
        std::string out;
        const std::string trace = port->trace();
        for (size_t at = trace.find("w:"); at != std::string::npos; at = trace.find("w:", at + 1))
            out += (out.empty() ? "" : " ") + trace.substr(at + 2, trace.find(' ', at) - at - 2);
        return out;
    }
};

TEST_F(LcbControlTest, TransmitStepsFollowTheHandshake) {
    using Dsr = std::optional<std::optional<bool>>;
    const Dsr follows = std::nullopt, off = std::optional<bool>(false);
    const std::string frame = compactHex(signedFrame({0xA4, 0x07, 0x09, 0}));
    const struct {
        Dsr dsr;
        uint64_t advanceMs;
        bool queue;
        std::string trace;
    } steps[] = {
        {off, 10, false, ""},                   // nothing queued, nothing asked
        {off, 0, true, "rts+"},                 // a frame waits: ask for the line
        {off, 0, false, "rts+"},                // not granted, and no time stamp yet: ask again
        {off, 3, false, ""},                    // not granted, not late
        {off, 3, false, "rts+"},                // late: ask again
        {follows, 6, false, "w:" + frame + " rts-"},  // granted: send, let go
        {follows, 6, false, "rts+"},            // the controller let go too: the flag still asks
        {follows, 1, false, "rts-"},            // granted with nothing queued: let go
    };
    int i = 0;
    for (const auto &s : steps) {
        SCOPED_TRACE(i++);
        port->fixDsr(s.dsr);
        if (s.queue) line->SendComMsg(PanelFrame::fromBytes(signedFrame({0xA4, 0x07, 0x09, 0})), 0);
        clock.advance(s.advanceMs);
        port->clearTrace();
        line->TransmitStep();
        EXPECT_EQ(port->trace(), s.trace);
    }
}

TEST_F(LcbControlTest, PortWithoutModemLinesGrantsTheLineAtOnce) {
    port->fixDsr(std::optional<bool>(std::nullopt));
    line->SendComMsg(PanelFrame::fromBytes(signedFrame({0xA4, 0x07, 0x09, 0})), 0);
    sendAll();
    EXPECT_EQ(sent(), compactHex(signedFrame({0xA4, 0x07, 0x09, 0})));
}

TEST_F(LcbControlTest, LcbCommandFramesReachTheController) {
    const struct {
        const char *what;
        std::vector<std::pair<uint16_t, std::vector<uint8_t>>> calls;
        int lastResult;
        std::vector<uint8_t> wire;  // unsigned; empty: nothing sent
    } cases[] = {
        {"unit 12 sets bit 4 of byte 1", {{1, {12}}}, 0, {0xA6, 0xFB, 0x61, 0x01, 0x10, 0}},
        {"update only", {{1, {12, 0}}}, 0, {}},
        {"unit past the limit", {{7, {100}}, {1, {120}}}, 0, {0xA6, 0xFB, 0x61, 32, 0xFF, 0}},
        {"unit above 250", {{1, {251}}}, 5, {}},
        {"stop", {{5, {}}}, 0, {0xA4, 0xFB, 0x65, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LineState::Reset();
        port->clearTrace();
        int result = -1;
        for (const auto &[cmd, params] : c.calls) result = LCBCommand(stepping, kLine, cmd, params);
        EXPECT_EQ(result, c.lastResult);
        sendAll();
        EXPECT_EQ(sent(), c.wire.empty() ? "" : compactHex(signedFrame(c.wire)));
    }
    EXPECT_EQ(LineState::UnitMaskByte(kLine, 1), 0);  // the last case started afresh
}

TEST_F(LcbControlTest, ReopeningOpensTheDeviceAgainPulsesAndKeepsAskingForTheLine) {
    EXPECT_TRUE(line->ReInitCom());
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(port->trace(), "line dtr+ rts+ dtr- rts-");
    EXPECT_EQ(port->timeouts().readTotalConstantMs, TControllerPort::kTimeouts.readTotalConstantMs);
    EXPECT_FALSE(line->paused());

    port->fixDsr(std::optional<bool>(false));
    line->SendComMsg(PanelFrame::fromBytes(signedFrame({0xA4, 0x07, 0x09, 0})), 0);
    line->TransmitStep();
    port->clearTrace();
    line->ReInitCom();
    EXPECT_EQ(port->trace(), "line dtr+ rts+ dtr- rts- rts+");
}

TEST_F(LcbControlTest, DeviceGoneAtAReopeningIsTriedAgainAtTheNext) {
    deviceThere = false;
    EXPECT_FALSE(line->ReInitCom());
    EXPECT_FALSE(line->paused());
    // Without a device the steps reach no wire and nothing breaks.
    line->SendComMsg(PanelFrame::fromBytes(signedFrame({0xA4, 0x07, 0x09, 0})), 0);
    line->TransmitStep();
    line->ReceiveStep();
    deviceThere = true;
    EXPECT_TRUE(line->ReInitCom());
    sendAll();
    EXPECT_EQ(sent(), compactHex(signedFrame({0xA4, 0x07, 0x09, 0})));
}

TEST_F(LcbControlTest, MailboxCommandsAreQueuedOnceAndOverlongOnesNotAtAll) {
    ControllerMailbox &box = SharedObjects::Controllers()->mailbox;
    auto post = [&](int32_t target, uint16_t count) {
        std::memset(&box, 0, sizeof box);
        box.targetLine = target;
        box.address = 7;
        box.command = 9;
        box.paramCount = count;
        box.params[0] = 3;
    };
    post(kLine + 1, 1);  // another line's
    line->ServeMailbox();
    EXPECT_EQ(line->outQueue().Count(), 0u);
    EXPECT_EQ(int32_t{box.targetLine}, kLine + 1);

    post(kLine, 1);
    line->ServeMailbox();
    line->ServeMailbox();
    EXPECT_EQ(int32_t{box.targetLine}, ControllerMailbox::kEmpty);
    ASSERT_EQ(line->outQueue().Count(), 1u);
    EXPECT_EQ(compactHex(line->outQueue().Get()->wire()), compactHex(signedFrame({0xA5, 0x07, 0x09, 0x03, 0})));

    post(kLine, 200);  // more than the mailbox holds
    line->ServeMailbox();
    EXPECT_EQ(int32_t{box.targetLine}, ControllerMailbox::kEmpty);
    EXPECT_EQ(line->outQueue().Count(), 0u);

    // A closed line takes its command out too, so the next line of its number never sends it.
    line->StopLine();
    const size_t queued = line->outQueue().Count();
    post(kLine, 1);
    line->ServeMailbox();
    EXPECT_EQ(int32_t{box.targetLine}, ControllerMailbox::kEmpty);
    EXPECT_EQ(line->outQueue().Count(), queued);
}

std::vector<EventRecord> delivered;
intptr_t collect(void *record, intptr_t) {
    if (record) delivered.push_back(*static_cast<EventRecord *>(record));
    return 0;
}

TEST_F(LcbControlTest, ReceivedFramesBecomeRecordsAndKeepTheLineAlive) {
    delivered.clear();
    line->setEventTarget(TEventTarget{DeliveryMode::Callback, 0, &collect});
    wire.script(signedFrame({0xA4, 0x07, 0x21, 0}));
    for (int i = 0; i < 10; ++i) line->ReceiveStep();
    line->SupervisionStep();
    line->SupervisionStep();  // a first silent period
    wire.scriptHex("A4 07 21 00");  // wrong checksum: no record, but a sign of life
    for (int i = 0; i < 10; ++i) line->ReceiveStep();
    line->SupervisionStep();
    EXPECT_FALSE(line->master().lost());
    ASSERT_EQ(delivered.size(), 1u);
    EXPECT_EQ(delivered[0].line, kLine);
    EXPECT_EQ(delivered[0].address, 7);
    EXPECT_EQ(delivered[0].code, 0x21);
}

// A client whose callback reopens the line, as one calling SMCReset on a record may.
std::shared_ptr<TLCBControl> reopenedFromCallback;
intptr_t reopen(void *record, intptr_t) {
    if (record) reopenedFromCallback->ReInitCom();
    return 0;
}

TEST_F(LcbControlTest, ARecordsClientMayReopenTheLineWhileItIsDelivered) {
    reopenedFromCallback = line;
    line->setEventTarget(TEventTarget{DeliveryMode::Callback, 0, &reopen});
    wire.script(signedFrame({0xA4, 0x07, 0x21, 0}));
    for (int i = 0; i < 10 && opens < 2; ++i) line->ReceiveStep();
    EXPECT_EQ(opens, 2);  // the delivery held no part of the port
    reopenedFromCallback.reset();
}

}  // namespace
}  // namespace lintra::test
