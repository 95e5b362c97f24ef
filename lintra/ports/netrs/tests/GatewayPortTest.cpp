// The gateway port's answers, read by their length nibble from a gateway that passes the
// panel's bytes as they come or pads each answer to 13 bytes, and the exchange after each.
#include <gtest/gtest.h>

#include "lintra/ports/netrs/tests/ScriptedGateway.h"

namespace lintra {
namespace {

using Bytes = std::vector<uint8_t>;
using test::frame;
using test::padded;
using testsupport::toHex;
constexpr uint8_t kAddr = test::kGatewayAddress;

const Bytes kPoll = frame({0xA4, kAddr, 0x56, 0});
const Bytes kMessage = frame({0xAB, kAddr, 0x57, 0x21, 0x43, 0x10, 0, 0, 0x08, 0x02, 0});  // 11 bytes
const Bytes kEmpty = frame({0xA4, kAddr, 0x00, 0});
const Bytes kLongest = frame({0xAF, kAddr, 0x5A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0});
const Bytes kNext = frame({0xA5, kAddr, 0x31, 8, 0});

Bytes cat(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes part(const Bytes &bytes, size_t from, size_t to) { return {bytes.begin() + from, bytes.begin() + to}; }

struct PortFixture {
    tessel::ManualClock clock;
    test::ScriptedGatewayStream::Script script;
    GatewayPort port{std::make_unique<test::ScriptedGatewayStream>(script, clock), 3, clock};

    // Sends a poll and answers the hex of what the read took, "" for a failed read.
    std::string exchange() {
        EXPECT_EQ(port.write(kPoll.data(), kPoll.size()), static_cast<int>(kPoll.size()));
        uint8_t buffer[PanelFrame::kBufferSize];
        const int n = port.read(buffer, sizeof buffer);
        return toHex(Bytes(buffer, buffer + n));
    }
};

TEST(GatewayPortTest, AnswerIsTheFrameItsFirstByteAnnouncesAndTheNextExchangeIsClean) {
    const struct {
        const char *name;
        std::vector<Bytes> pieces;  // what the gateway sends after the poll, one TCP segment each
        Bytes answer;               // empty: the read fails and the connection is closed
        uint32_t gapMs = 0;
        bool peerCloses = false;
    } cases[] = {
        {"in one piece", {kMessage}, kMessage},
        {"longest frame", {kLongest}, kLongest},
        {"split across reads", {part(kMessage, 0, 1), part(kMessage, 1, 6), part(kMessage, 6, 11)}, kMessage},
        {"padded to 13", {padded(kMessage)}, kMessage},
        {"4 bytes padded to 13", {padded(kEmpty)}, kEmpty},
        {"padding after the answer was taken", {kMessage, Bytes(2, 0)}, kMessage},
        {"zeros before the frame", {Bytes(9, 0), cat(Bytes(3, 0), kEmpty)}, kEmpty},
        {"bytes behind the frame", {cat(kEmpty, {0x55, 0xA4})}, kEmpty},
        {"pieces within the wait", {part(kMessage, 0, 4), part(kMessage, 4, 8), part(kMessage, 8, 11)}, kMessage, 700},
        {"pieces past the wait", {part(kMessage, 0, 4), part(kMessage, 4, 8), part(kMessage, 8, 11)}, {}, 800},
        {"0xA0 first byte", {cat({0xA0}, kMessage)}, {}},
        {"0xA1 first byte", {cat({0xA1}, kMessage)}, {}},
        {"no frame start", {cat({0x55}, kMessage)}, {}},
        {"time-out mid-frame", {part(kMessage, 0, 6)}, {}},
        {"time-out in the padding", {Bytes(13, 0)}, {}},
        {"nothing came", {}, {}},
        {"peer closed mid-frame", {part(kMessage, 0, 6)}, {}, 0, true},
        {"peer closed", {}, {}, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PortFixture f;
        f.script.closesWhenDrained = c.peerCloses;
        f.script.gapMs = c.gapMs;
        f.script.answers = {c.pieces.begin(), c.pieces.end()};
        EXPECT_EQ(f.exchange(), toHex(c.answer));
        // Each segment is one receive: an answer that came whole costs one call.
        if (!c.answer.empty()) {
            EXPECT_LE(f.script.receives, static_cast<int>(c.pieces.size()));
        }

        f.script.closesWhenDrained = false;
        f.script.gapMs = 0;
        f.script.answers.push_back(kNext);
        EXPECT_EQ(f.exchange(), toHex(kNext));
        EXPECT_EQ(f.script.opens, c.answer.empty() ? 2 : 1);  // a failed read closed the connection
    }
}

}  // namespace
}  // namespace lintra
