// The TCP side of an intelligent line: the type/length framing both ways, the greeting, and
// the control language of units-sim.
#include <gtest/gtest.h>

#include "sim/serve/WireLog.h"
#include "sim/tests/PanelFixture.h"
#include "sim/units/TcpStream.h"
#include "sim/units/UnitControl.h"
#include "testsupport/TempDir.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

TEST(TcpFramingTest, MessagesAreReassembledWhateverTheStreamCutsAndAnOversizeLengthStopsTheReader) {
    Bytes poll = hexBytes(request("05 02"));
    EXPECT_EQ(toHex(tcpMessage(kFrameMessage, poll)), "00 00 00 00 04 00 00 00 " + request("05 02"));
    Bytes stream = tcpMessage(kGreetingMessage, hexBytes("68 69"));
    Bytes second = tcpMessage(kFrameMessage, poll);
    stream.insert(stream.end(), second.begin(), second.end());

    for (size_t cut : {size_t{0}, size_t{3}, size_t{8}, size_t{9}, size_t{12}, stream.size() - 1}) {
        TcpMessageReader reader;
        auto messages = reader.feed(std::span<const uint8_t>(stream).first(cut));
        auto rest = reader.feed(std::span<const uint8_t>(stream).subspan(cut));
        messages.insert(messages.end(), rest.begin(), rest.end());
        ASSERT_EQ(messages.size(), 2u) << "cut at " << cut;
        EXPECT_EQ(messages[0].type, kGreetingMessage);
        EXPECT_EQ(toHex(messages[0].payload), "68 69");
        EXPECT_EQ(messages[1].type, kFrameMessage);
        EXPECT_EQ(toHex(messages[1].payload), toHex(poll));
    }

    TcpMessageReader reader;
    EXPECT_TRUE(reader.feed(hexBytes("00 00 00 00 00 00 00 00")).size() == 1) << "an empty message is one";
    EXPECT_TRUE(reader.feed(hexBytes("00 00 00 00 01 04 00 00")).empty());
    ASSERT_TRUE(reader.failure());
    EXPECT_TRUE(reader.feed(second).empty()) << "nothing is read after a refused length";
}

TEST(TcpFramingTest, HeaderFaultsMisframeTheAnswersForTheirCount) {
    Bytes answer = hexBytes(request("05 00"));
    HeaderFault fault{HeaderFault::Kind::Type, 2, 1};
    EXPECT_EQ(toHex(fault.wrap(answer)), "02 00 00 00 04 00 00 00 " + request("05 00"));
    EXPECT_EQ(toHex(fault.wrap(answer)), "00 00 00 00 04 00 00 00 " + request("05 00")) << "used up";
    fault = {HeaderFault::Kind::Length, 20, 0};
    EXPECT_EQ(fault.wrap(answer).size(), kHeaderBytes + 20);
    EXPECT_EQ(fault.wrap(answer)[4], 20) << "until switched off";
    fault = {HeaderFault::Kind::Length, 2, 0};
    EXPECT_EQ(toHex(fault.wrap(answer)), "00 00 00 00 02 00 00 00 A4 05");
}

class UnitNetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(log.open((dir / "wire.log").string()));
        line.add(5);
    }
    // What the stream sends back for the given messages, as hex of each reply.
    std::vector<std::string> receive(TcpStream &stream, const std::vector<TcpMessage> &messages, bool *closed = nullptr) {
        Bytes bytes;
        for (const TcpMessage &m : messages) {
            Bytes one = tcpMessage(m.type, m.payload);
            bytes.insert(bytes.end(), one.begin(), one.end());
        }
        auto result = stream.receive(bytes, 0, 0);
        if (closed) *closed = result.close;
        std::vector<std::string> out;
        for (const Reply &r : result.replies) out.push_back(toHex(r.tx.bytes));
        return out;
    }
    TcpStream stream() {
        return TcpStream(log, net, [this](std::span<const uint8_t> frame, uint64_t, int mode) {
            return line.receive(frame, mode);
        });
    }
    std::string control(const std::string &command) { return UnitControl(line, net, ControlHooks{}).execute(command); }

    testsupport::TempDir dir;
    WireLog log;
    UnitLine line;
    NetState net;
    const std::string emptyAnswer = "00 00 00 00 04 00 00 00 " + request("05 00");
};

TEST_F(UnitNetTest, FramesAreAnsweredInTypeZeroMessagesAndOtherTypesAreSkipped) {
    TcpStream s = stream();
    EXPECT_EQ(receive(s, {{kFrameMessage, hexBytes(request("05 02"))}, {7, hexBytes(request("05 02"))},
                          {kFrameMessage, hexBytes(request("09 02"))}, {kFrameMessage, hexBytes("A6 05 02")}}),
              std::vector<std::string>{emptyAnswer})
        << "type 7, a unit not on the line and a frame shorter than its length byte get nothing";
    bool closed = false;
    EXPECT_TRUE(receive(s, {{kFrameMessage, Bytes(2000, 0xA4)}}, &closed).empty());
    EXPECT_TRUE(closed);
    EXPECT_NE(dir.read("wire.log").find("message type 7"), std::string::npos);
}

TEST_F(UnitNetTest, AnExpectedGreetingGatesTheAnswersOfEachClient) {
    net.expectedGreeting = "LINE1";
    TcpStream first = stream(), second = stream();
    Bytes poll = hexBytes(request("05 02"));
    EXPECT_TRUE(receive(first, {{kFrameMessage, poll}, {kGreetingMessage, {'X'}}, {kFrameMessage, poll}}).empty());
    EXPECT_EQ(receive(first, {{kGreetingMessage, {'L', 'I', 'N', 'E', '1'}}, {kFrameMessage, poll}}),
              std::vector<std::string>{emptyAnswer});
    EXPECT_TRUE(receive(second, {{kFrameMessage, poll}}).empty()) << "a new client greets anew";
    EXPECT_EQ(control("greeting"), "ok 2 LINE1\n");
}

TEST_F(UnitNetTest, ControlCommands) {
    struct Case {
        const char *command, *answer;
    } cases[] = {
        {"units", "ok 5\n"},
        {"event 5 0x1F 1", "ok 1\n"},
        {"event 5 0x1F 2", "ok 2\n"},
        {"event 9 0x1F", "error no unit 9\n"},
        {"event 5 0x1F 300", "error bad data byte '300'\n"},
        {"clear 5", "ok\n"},
        {"absent 5 on", "ok\n"},
        {"absent 5 maybe", "error usage: absent ADDR on|off\n"},
        {"fault 5 error 4 times 2", "ok\n"},
        {"fault 5 bogus", "error unknown fault 'bogus'\n"},
        {"fault 9 silent", "error usage: fault ADDR KIND [ARG] [times N] | fault ADDR [KIND] off\n"},
        {"counts 5", "ok heard 0 answered 0 polls 0 repeats 0 events 0 commands 0 broadcasts 0 queued 0\n"},
        {"greeting", "ok 0\n"},
        {"header type 3 times 1", "ok\n"},
        {"header length 2000", "error usage: header type T|length L [times N] | header off\n"},
        {"header type 3 times 0", "error usage: header type T|length L [times N] | header off\n"},
        {"dump", "unit 5 absent 1 queued 0 last -\nok\n"},
        {"dump 6", "error no unit 6\n"},
        {"frobnicate", "error unknown command 'frobnicate'\n"},
    };
    UnitControl control(line, net, ControlHooks{});
    for (const Case &c : cases) EXPECT_EQ(control.execute(c.command), c.answer) << c.command;
    EXPECT_EQ(net.header.kind, HeaderFault::Kind::Type);
    EXPECT_TRUE(line.find(5)->faults.get(FaultKind::Error).active);
}

}  // namespace
}  // namespace sim::test
