#include "lintra/nx/NXLinkReader.h"

#include <gtest/gtest.h>

#include "lintra/nx/tests/ScriptedLink.h"

namespace lintra::nx::test {
namespace {

struct NXLinkReaderTest : ::testing::Test {
    NXLinkReaderTest() {
        controller.startNotice = false;
        link.Open();
    }
    std::string Read(uint32_t waitMs = 20) {
        const TNXLinkReader::Result result = reader.Read(link, packet, waitMs);
        if (result == TNXLinkReader::rdError) return "error";
        if (result == TNXLinkReader::rdNone) return "none";
        return {reinterpret_cast<const char *>(packet.data), static_cast<size_t>(packet.length)};
    }

    tessel::ManualClock clock;
    ControllerModel controller;
    ScriptedLink link{clock, controller};
    TNXLinkReader reader{clock, false};
    TNXCommBuff packet;
};

TEST_F(NXLinkReaderTest, LineInPiecesIsDeliveredWholeByTheCallThatEndsIt) {
    link.Push("T1LFA1");
    EXPECT_EQ(Read(), "none");
    EXPECT_EQ(reader.Pending(), 6);
    link.Push("09D00\r");
    EXPECT_EQ(Read(), "T1LFA109D00");
}

TEST_F(NXLinkReaderTest, SeveralLinesOfOneReadComeOutOneByOneWithoutWaiting) {
    link.Push("T1LFA10AD00\r\nT1LFE102D00\rT1L");
    EXPECT_EQ(Read(), "T1LFA10AD00");
    EXPECT_TRUE(reader.Holding());
    const uint64_t before = clock.nowMs();
    EXPECT_EQ(Read(), "T1LFE102D00");
    EXPECT_EQ(clock.nowMs(), before) << "the held bytes are read without a wait on the link";
    EXPECT_EQ(Read(), "none");
    EXPECT_EQ(reader.Pending(), 3);
}

TEST_F(NXLinkReaderTest, EndlessLineIsDroppedAndTheNextLineReadNormally) {
    link.Push(std::string(5000, 'x'));
    EXPECT_EQ(Read(), "none");
    EXPECT_LE(reader.Pending(), TNXCommBuff::kMaxPacket);
    link.Push("\rT1LFA109D00\r");
    EXPECT_EQ(Read(), "T1LFA109D00");
    EXPECT_EQ(reader.Overflows(), 1);
}

TEST_F(NXLinkReaderTest, ErrorForgetsTheUnfinishedLine) {
    link.Push("T1LFA1");
    EXPECT_EQ(Read(), "none");
    link.Drop();
    EXPECT_EQ(Read(), "error");
    EXPECT_EQ(reader.Pending(), 0);
}

}  // namespace
}  // namespace lintra::nx::test
