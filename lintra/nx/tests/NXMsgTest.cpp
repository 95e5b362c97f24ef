#include "lintra/nx/NXMsg.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lintra::nx {
namespace {

// The sizes and offsets are pinned at compile time; this checks the bytes a client sees.
TEST(NXMsgTest, FieldsAreLittleEndianAndBackToBack) {
    TNXMsg msg{};
    std::memcpy(msg.code, "A203", 4);
    msg.unit = 15;
    msg.count = 0x0102;
    msg.data[255] = 0xEE;
    uint8_t bytes[sizeof(TNXMsg)];
    std::memcpy(bytes, &msg, sizeof bytes);
    const uint8_t head[12] = {'A', '2', '0', '3', 15, 0, 0, 0, 0x02, 0x01, 0, 0};
    EXPECT_EQ(std::memcmp(bytes, head, sizeof head), 0);
    EXPECT_EQ(bytes[267], 0xEE);
}

}  // namespace
}  // namespace lintra::nx
