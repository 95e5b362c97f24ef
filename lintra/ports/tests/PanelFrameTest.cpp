#include "lintra/ports/PanelFrame.h"

#include <gtest/gtest.h>

#include "lintra/ports/tests/FrameFixtures.h"

namespace lintra {
namespace {
using test::frameOf;
using test::wireHex;
using test::withRepairedChecksum;

struct ChecksumVector {
    const char *unsigned_;  // frame with its checksum byte still to be set
    const char *wire;       // the frame as FrameChecksum leaves it
};

TEST(FrameChecksumTest, SetsChecksumAndForcesLengthMarker) {
    const ChecksumVector vectors[] = {
        {"A4 05 56 00", "A4 05 56 F2"},                  // the 'V' poll of panel 5
        {"A6 05 57 00 06 00", "A6 05 57 00 06 F5"},      // 'W' asking panel 5 for message 6
        {"04 FB 65 00", "A4 FB 65 ED"},                  // the stop frame as a line queues it
        {"52 05", "A2 A2"},                              // shortest frame: checksum of byte 0
        {"AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 00",
         "AF 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 27"},  // longest frame
    };
    for (const auto &v : vectors) {
        PanelFrame frame = frameOf(v.unsigned_);
        ASSERT_TRUE(FrameChecksum(frame)) << v.unsigned_;
        EXPECT_EQ(wireHex(frame), v.wire);
        EXPECT_TRUE(IsValidFrame(frame)) << v.wire;
    }
}

TEST(FrameChecksumTest, RefusesFramesWithoutRoomForAChecksum) {
    for (const char *hex : {"A0 05 56 F2", "A1 05 56 F2", "01 00"}) {
        PanelFrame frame = frameOf(hex);
        const PanelFrame before = frame;
        EXPECT_FALSE(FrameChecksum(frame)) << hex;
        EXPECT_EQ(frame.bytes, before.bytes) << hex;
    }
}

TEST(FrameValidityTest, RejectsEveryMalformation) {
    struct Case {
        const char *why;
        PanelFrame frame;
    };
    const Case cases[] = {
        {"length 0", withRepairedChecksum("A0 05 56 F2")},
        {"length 1", frameOf("A1 A1")},  // byte 0 would be its own checksum
        {"wrong checksum", frameOf("A4 05 56 F3")},
        {"no 0xA0 marker", withRepairedChecksum("54 05 56 00")},
        {"internal frame", frameOf("04 FB 65 00")},
        {"length says more than was sent", frameOf("A5 05 56 F2")},
    };
    for (const auto &c : cases) EXPECT_FALSE(IsValidFrame(c.frame)) << c.why;
}

TEST(PanelFrameTest, FieldsOfAWireFrame) {
    const PanelFrame frame = frameOf("A9 05 03 01 02 03 04 05 AF");
    EXPECT_EQ(frame.length(), 9);
    EXPECT_EQ(frame.address(), 5);
    EXPECT_EQ(frame.code(), 3);
    EXPECT_EQ(frame.paramCount(), 5u);
    EXPECT_EQ(frame.param(4), 5);
    EXPECT_FALSE(frame.isInternal());
    EXPECT_TRUE(IsValidFrame(frame));
}

TEST(PanelFrameTest, FromBytesKeepsAtMostSixteen) {
    std::vector<uint8_t> many(40, 0x11);
    const PanelFrame frame = PanelFrame::fromBytes(many);
    for (uint8_t b : frame.bytes) EXPECT_EQ(b, 0x11);
}

TEST(PanelFrameTest, InternalFramesUseTheBareLengthAndAddressFB) {
    EXPECT_EQ(wireHex(PanelFrame::emptyAnswer()), "04 FB 64 00");
    EXPECT_EQ(wireHex(PanelFrame::connectionLost()), "04 FB 65 00");
    EXPECT_EQ(wireHex(PanelFrame::connectionLost(6)), "06 FB 65 00 00 00");
    EXPECT_EQ(wireHex(PanelFrame::connectionRestored()), "06 FB 66 00 00 00");
    EXPECT_EQ(wireHex(PanelFrame::errorAnswer(7)), "04 FB 03 07");
    EXPECT_TRUE(PanelFrame::emptyAnswer().isInternal());
}

TEST(PanelFrameTest, CommandFrameLaysOutParameters) {
    const uint8_t params[] = {0x10, 0x20};
    PanelFrame frame = PanelFrame::command(7, 12, params);
    EXPECT_EQ(wireHex(frame), "A6 07 0C 10 20 00");
    ASSERT_TRUE(FrameChecksum(frame));
    EXPECT_TRUE(IsValidFrame(frame));
}

}  // namespace
}  // namespace lintra
