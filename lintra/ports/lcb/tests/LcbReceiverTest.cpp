// Frame reception from a controller that sends when it likes: whole frames, frames in pieces,
// stray bytes, stalls, wrong checksums with realignment, and lengths that announce no frame.
#include <gtest/gtest.h>

#include "lintra/ports/lcb/LcbReceiver.h"
#include "lintra/ports/lcb/tests/LcbFixture.h"
#include "lintra/ports/lines/ControllerPort.h"

namespace lintra::test {
namespace {

struct Chunk {
    std::string hex;
    uint64_t atMs;
};

// What the line takes from the chunks: each complete frame with a right checksum, and "bad"
// for each completed frame with a wrong one, in order.
std::vector<std::string> receive(const std::vector<Chunk> &chunks) {
    tessel::ManualClock clock{0};
    FakePort port{clock};
    port.setTimeouts(TControllerPort::kTimeouts);
    for (const Chunk &c : chunks) port.scriptHex(c.hex, c.atMs);
    TLcbReceiver receiver{port, clock, 1};
    std::vector<std::string> out;
    for (int step = 0; step < 2000 && (port.unread() > 0 || receiver.received() > 0); ++step) {
        std::optional<PanelFrame> frame = receiver.Receive();
        while (frame) {
            if (IsValidFrame(*frame)) {
                out.push_back(compactHex(frame->wire()));
                break;
            }
            out.push_back("bad");
            frame = receiver.Realign(*frame);
        }
        clock.advance(1);
    }
    return out;
}

std::string sign(std::vector<uint8_t> bytes) { return compactHex(signedFrame(std::move(bytes))); }
std::string spaced(const std::string &compact) {
    std::string out;
    for (size_t i = 0; i < compact.size(); i += 2) out += (i ? " " : "") + compact.substr(i, 2);
    return out;
}

TEST(LcbReceiverTest, TakesFramesAsTheyCome) {
    const std::string event = sign({0xA7, 0x05, 0x21, 0x10, 0x11, 0x12, 0});
    const std::string ack = sign({0xA4, 0x05, 0x64, 0});
    const std::string bad = "A4 05 64 01";  // checksum wrong
    const struct {
        const char *what;
        std::vector<Chunk> chunks;
        std::vector<std::string> frames;
    } cases[] = {
        {"two frames at once", {{spaced(event + ack), 0}}, {event, ack}},
        {"a frame in pieces", {{spaced(event.substr(0, 6)), 0}, {spaced(event.substr(6)), 30}}, {event}},
        {"stray bytes before a frame", {{"00 17 " + spaced(ack), 0}}, {ack}},
        {"lengths 0 and 1 begin no frame", {{"A0 A1 " + spaced(ack), 0}}, {ack}},
        // The reads for the rest wait out their time-outs; then the piece has stalled for
        // longer than 50 ms.
        {"a stall drops the piece", {{spaced(event.substr(0, 6)), 0}, {spaced(ack), 1000}}, {ack}},
        {"bytes within the read's wait complete the frame", {{spaced(event.substr(0, 6)), 0}, {spaced(event.substr(6)), 150}}, {event}},
        {"a pause within the stall limit", {{spaced(event.substr(0, 6)), 0}, {spaced(event.substr(6)), 45}}, {event}},
        // The bad frame holds the start of the good one from its byte 3 on.
        {"realigned on the next frame start",
         {{"A6 05 21 " + spaced(ack.substr(0, 6)), 0}, {spaced(ack.substr(6)), 5}},
         {"bad", ack}},
        {"a wrong checksum without a frame start", {{bad, 0}, {spaced(ack), 5}}, {"bad", ack}},
        // A realigned start whose frame is shorter than the bytes kept is whole at once.
        {"a whole frame inside a bad one", {{"A8 05 " + spaced(ack) + " 00 11", 0}}, {"bad", ack}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(receive(c.chunks), c.frames);
    }
}

TEST(LcbReceiverTest, NeverReadsPastItsBuffer) {
    // A longest frame followed by another start: 15 bytes, then the next frame.
    std::vector<uint8_t> longest(15, 0x11);
    longest[0] = 0xAF;
    const std::string frame = sign(longest);
    EXPECT_EQ(receive({{spaced(frame + frame), 0}}), (std::vector<std::string>{frame, frame}));
}

}  // namespace
}  // namespace lintra::test
