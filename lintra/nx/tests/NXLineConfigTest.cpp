#include "lintra/nx/NXLineConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lintra/nx/NXMsgCodec.h"
#include "lintra/nx/tests/NXPacketText.h"

namespace lintra::nx {
namespace {

std::string Text(const std::array<uint8_t, kConfigSlots> &config) { return {config.begin(), config.end()}; }

TEST(NXLineConfigTest, OneCharacterPerSlot) {
    struct Case {
        std::vector<int32_t> digits;
        const char *config;
    } cases[] = {
        {{}, "9999999999999999"},
        {{2, -1, 3}, "2939999999999999"},
        {std::vector<int32_t>(16, 2), "2222222222222222"},
        {{16, -7, 15, 10}, "99FA999999999999"},   // no digit for 16 or -7
        {std::vector<int32_t>(33, 3), "3333333333333333"},  // slots above 15 are not configured
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Text(LineConfiguration(c.digits)), c.config);
    }
}

// T2 at slot 0 and T3 at slot 2, as the controller gets it.
TEST(NXLineConfigTest, GoesOutAsTheS101Packet) {
    const std::array<uint8_t, kConfigSlots> config = LineConfiguration(std::vector<int32_t>{2, -1, 3});
    TNXCommBuff buffer(0, TNXCommBuff::kControllerLine);
    ASSERT_TRUE(EncodeMsg(MakeNXMsg("S101", 15, config), buffer));
    buffer.AppendCR();
    EXPECT_EQ(PacketHex(buffer), AsciiHex("T0LFS101D102939999999999999\r"));
}

}  // namespace
}  // namespace lintra::nx
