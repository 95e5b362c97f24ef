// The two wires under the shared master: the serial framing with its parity marks and bounded
// answer reads, and the TCP header framing with its greeting and reconnect after a failure.
#include <gtest/gtest.h>

#include "lintra/ports/intlcb/NetFraming.h"
#include "lintra/ports/intlcb/NetLcbTransport.h"
#include "lintra/ports/intlcb/SerialLcbTransport.h"
#include "lintra/ports/intlcb/tests/ScriptedStream.h"
#include "lintra/ports/lines/ControllerPort.h"
#include "lintra/ports/tests/FakePort.h"
#include "testsupport/Hex.h"

namespace lintra {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

PanelFrame frameOf(const char *hex) { return PanelFrame::fromBytes(hexBytes(hex)); }

TEST(SerialLcbTransport, FirstByteGoesWithMarkParityTheRestWithSpace) {
    tessel::ManualClock clock;
    test::FakePort port(clock);
    int reopened = 0;
    TSerialLcbTransport transport(port, clock, 1, [&] { ++reopened; });
    transport.TransmitMsg(frameOf("A4 01 02 96"));
    EXPECT_EQ(port.trace(), "purge A4/mark flush 01/space 02/space 96/space");
    port.clearTrace();
    transport.TransmitMsg(frameOf("A1 01"));  // a length below 2 is never sent
    EXPECT_EQ(port.trace(), "purge");
    port.failWrites(5);
    transport.TransmitMsg(frameOf("A4 01 02 96"));
    EXPECT_EQ(reopened, 1);
}

TEST(SerialLcbTransport, AnswersAreReadWithinTheirFrameAndCountedUpAndDown) {
    struct Case {
        const char *wire;
        bool answered;
        const char *answer;  // the frame's buffer as hex (16 bytes)
    };
    const Case cases[] = {
        {"11 A5 01 1F 09 00", true, "A5 01 1F 09 00 00 00 00 00 00 00 00 00 00 00 00"},  // stray byte skipped
        {"A0 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11", false, nullptr},     // no room for a frame
        {"A6 01 1F", false, "A6 03 1F 00 00 00 00 00 00 00 00 00 00 00 00 00"},          // 3 bytes missing
        {"", false, "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {"AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 55 66", true,
         "AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.wire);
        tessel::ManualClock clock;
        test::FakePort port(clock);
        port.scriptHex(c.wire);
        TSerialLcbTransport transport(port, clock, 1, nullptr);
        PanelFrame answer;
        EXPECT_EQ(transport.GetAnswer(answer), c.answered);
        if (c.answer) {
            EXPECT_EQ(toHex(answer.bytes), c.answer);
        }
        EXPECT_EQ(transport.answerCounter(), c.answered ? 1 : -1);
    }
}

TEST(SerialLcbTransport, ASilentUnitCostsNoMoreThanTheFirstBytesWait) {
    tessel::ManualClock clock;
    test::FakePort port(clock);
    port.scriptHex("11 22", 0);  // stray bytes, then nothing
    TSerialLcbTransport transport(port, clock, 1, nullptr);
    PanelFrame answer;
    const uint64_t start = clock.nowMs();
    EXPECT_FALSE(transport.GetAnswer(answer));
    // Reads of 320 ms each would end at 640 ms; the last one waits only for what is left.
    EXPECT_EQ(clock.nowMs() - start, TSerialLcbTransport::kAnswerPartMs);
    EXPECT_EQ(port.timeouts().readTotalConstantMs, TControllerPort::kTimeouts.readTotalConstantMs);
}

std::vector<uint8_t> message(uint32_t type, const char *hex) {
    const auto body = hexBytes(hex);
    return NetMessage(type, body.data(), body.size());
}

struct NetFixture {
    tessel::ManualClock clock;
    std::vector<test::ScriptedStream *> streams;  // owned by the transport while connected
    std::vector<std::vector<uint8_t>> scripts;
    int connects = 0;
    bool refuse = false;
    TNetLcbTransport transport{[this](std::string &error) -> std::unique_ptr<TNetStream> {
                                   if (refuse) {
                                       error = "Connection refused";
                                       return nullptr;
                                   }
                                   auto stream = std::make_unique<test::ScriptedStream>(
                                       connects < static_cast<int>(scripts.size()) ? scripts[connects]
                                                                                   : std::vector<uint8_t>{},
                                       3);
                                   ++connects;
                                   streams.push_back(stream.get());
                                   return stream;
                               },
                               clock, 1, "hello", "127.0.0.1:5000"};
};

TEST(NetLcbTransport, GreetsAfterConnectingAndFramesEachMessageWithItsHeader) {
    NetFixture net;
    net.scripts = {message(0, "A5 07 1F 09 00")};
    net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
    ASSERT_EQ(net.connects, 1);
    EXPECT_EQ(toHex(net.streams[0]->sent),
              "01 00 00 00 05 00 00 00 68 65 6C 6C 6F 00 00 00 00 04 00 00 00 A4 07 02 A2");
    PanelFrame answer;
    EXPECT_TRUE(net.transport.GetAnswer(answer));
    EXPECT_EQ(toHex(answer.wire()), "A5 07 1F 09 00");
    net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
    EXPECT_EQ(net.connects, 1);  // the connection stays
}

TEST(NetLcbTransport, FailedAnswerClosesTheSocketAndTheNextSendReconnects) {
    const std::vector<uint8_t> longMessage = message(0, "A4 07 00 A0 00 00 00 00 00 00 00 00 00 00 00 00 00");
    const std::vector<std::vector<uint8_t>> failures = {
        message(2, "A4 07 00 A0"),  // a header of another type
        longMessage,                // 17 bytes announced: more than a frame buffer holds
        {0, 0, 0, 0, 4, 0},         // the header cut short
        {},                         // nothing at all
    };
    for (const auto &failure : failures) {
        SCOPED_TRACE(toHex(failure));
        NetFixture net;
        net.scripts = {failure, message(0, "A4 07 00 A0")};
        net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
        PanelFrame answer;
        EXPECT_FALSE(net.transport.GetAnswer(answer));
        EXPECT_FALSE(net.transport.connected());
        EXPECT_EQ(net.transport.answerCounter(), -1);
        net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
        EXPECT_EQ(net.connects, 2);
        EXPECT_TRUE(net.transport.GetAnswer(answer));
        EXPECT_EQ(net.transport.answerCounter(), 1);
    }
}

TEST(NetLcbTransport, UnreachableGatewayFailsEveryExchangeUntilItConnects) {
    NetFixture net;
    net.refuse = true;
    net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
    PanelFrame answer;
    EXPECT_FALSE(net.transport.GetAnswer(answer));
    EXPECT_EQ(net.transport.answerCounter(), -1);
    net.refuse = false;
    net.scripts = {message(0, "A4 07 00 A0")};
    net.transport.TransmitMsg(frameOf("A4 07 02 A2"));
    EXPECT_TRUE(net.transport.GetAnswer(answer));
}

}  // namespace
}  // namespace lintra
