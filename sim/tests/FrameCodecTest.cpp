#include <gtest/gtest.h>

#include "sim/panel/Frame.h"
#include "sim/panel/FrameReceiver.h"
#include "testsupport/Hex.h"

namespace sim {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

TEST(FrameCodec, ChecksumOfThePollFrame) {
    EXPECT_EQ(frameChecksum(hexBytes("A4 05 56")), 0xF2);
    EXPECT_EQ(toHex(makeFrame(0x05, 0x56)), "A4 05 56 F2");
}

TEST(FrameCodec, Validity) {
    EXPECT_TRUE(frameIsValid(hexBytes("A4 05 56 F2")));
    EXPECT_FALSE(frameIsValid(hexBytes("A4 05 56 F3")));     // checksum
    EXPECT_FALSE(frameIsValid(hexBytes("A5 05 56 F2")));     // length byte disagrees
    EXPECT_FALSE(frameIsValid(hexBytes("94 05 56 E2")));     // no frame marker
    EXPECT_FALSE(frameIsValid(hexBytes("A1 A1")));           // no room for a checksum
    EXPECT_TRUE(frameIsValid(hexBytes("A2 A2")));            // shortest: length and checksum
}

TEST(FrameReceiver, CutsTheStreamIntoFrames) {
    struct Case {
        const char *name;
        std::vector<const char *> chunks;  // fed 1 ms apart
        std::vector<std::string> items;    // "F ..." frame, "S ..." stray, "I ..." incomplete
    };
    const Case cases[] = {
        {"one frame", {"A4 05 56 F2"}, {"F A4 05 56 F2"}},
        {"split over reads", {"A4", "05 56", "F2"}, {"F A4 05 56 F2"}},
        {"two frames in one read", {"A4 05 56 F2 A4 07 56 F6"}, {"F A4 05 56 F2", "F A4 07 56 F6"}},
        {"stray bytes first", {"00 55 A4 05 56 F2"}, {"S 00 55", "F A4 05 56 F2"}},
        {"length below two is stray", {"A0 A1 A4 05 56 F2"}, {"S A0 A1", "F A4 05 56 F2"}},
        {"longest frame", {"AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E"},
         {"F AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FrameReceiver receiver;
        std::vector<std::string> seen;
        uint64_t now = 1000;
        for (const char *chunk : c.chunks)
            for (const ReceivedItem &item : receiver.feed(hexBytes(chunk), now++)) {
                const char *tag = item.kind == ReceivedItem::Kind::Frame ? "F " :
                                  item.kind == ReceivedItem::Kind::Stray ? "S " : "I ";
                seen.push_back(tag + toHex(item.bytes));
            }
        EXPECT_EQ(seen, c.items);
        EXPECT_FALSE(receiver.midFrame());
    }
}

TEST(FrameReceiver, DropsAFrameLeftIncompleteAcrossAGap) {
    FrameReceiver receiver;
    EXPECT_TRUE(receiver.feed(hexBytes("A6 05 57"), 1000).empty());
    EXPECT_TRUE(receiver.midFrame());
    // Within the gap the frame goes on; after it, the old bytes are dropped and a new frame starts.
    auto items = receiver.feed(hexBytes("A4 05 56 F2"), 1000 + FrameReceiver::kGapMs + 1);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].kind, ReceivedItem::Kind::Incomplete);
    EXPECT_EQ(toHex(items[0].bytes), "A6 05 57");
    EXPECT_EQ(items[1].kind, ReceivedItem::Kind::Frame);
    EXPECT_EQ(toHex(items[1].bytes), "A4 05 56 F2");
}

}  // namespace
}  // namespace sim
