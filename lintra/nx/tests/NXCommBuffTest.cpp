#include "lintra/nx/NXCommBuff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lintra/nx/tests/NXPacketText.h"

namespace lintra::nx {
namespace {

TEST(NXCommBuffTest, BuildWritesTheHeaderInFrontOfTheData) {
    TNXCommBuff buffer(0, 5);
    std::memcpy(buffer.code, "S201", 4);
    std::memcpy(buffer.Data(), "AB", 2);
    buffer.dataLength = 2;
    ASSERT_TRUE(buffer.BuildHeader());
    EXPECT_EQ(buffer.codeNumber, 0x201);
    buffer.AppendCR();
    EXPECT_EQ(PacketHex(buffer), AsciiHex("T0L5S201D02AB\r"));
}

TEST(NXCommBuffTest, BuildRefusesFieldsOutOfRange) {
    struct Case {
        int32_t kind, line, dataLength;
        const char *code;
        int32_t error;
    } cases[] = {
        {16, 0, 0, "S201", TNXCommBuff::erKind},
        {-1, 0, 0, "S201", TNXCommBuff::erKind},
        {0, 16, 0, "S201", TNXCommBuff::erLine},
        {0, -1, 0, "S201", TNXCommBuff::erLine},
        {0, 0, 256, "S201", TNXCommBuff::erDataLength},
        {0, 0, -1, "S201", TNXCommBuff::erDataLength},
        {0, 0, 0, "S2g1", TNXCommBuff::erCode},
        {0, 0, 0, "\r201", TNXCommBuff::erCode},
    };
    for (const Case &c : cases) {
        TNXCommBuff buffer(c.kind, c.line);
        std::memcpy(buffer.code, c.code, 4);
        buffer.dataLength = c.dataLength;
        EXPECT_FALSE(buffer.BuildHeader()) << c.kind << " " << c.line << " " << c.dataLength;
        EXPECT_EQ(buffer.error, c.error) << c.kind << " " << c.line << " " << c.dataLength;
    }
}

TEST(NXCommBuffTest, TheLargestPacketAndItsCRFitTheArea) {
    TNXCommBuff buffer(15, 15);
    std::memcpy(buffer.code, "AFFF", 4);
    std::memset(buffer.Data(), 'x', TNXCommBuff::kMaxDataLength);
    buffer.dataLength = TNXCommBuff::kMaxDataLength;
    ASSERT_TRUE(buffer.BuildHeader());
    buffer.AppendCR();
    EXPECT_EQ(buffer.length, 267);
    EXPECT_EQ(buffer.capacity, 267);
    EXPECT_EQ(buffer.data[266], '\r');
}

TEST(NXCommBuffTest, ParseReadsTheHeaderFields) {
    TNXCommBuff buffer;
    Receive(buffer, "T2LEA2F0D02AB");
    ASSERT_TRUE(buffer.ParseHeader());
    EXPECT_EQ(buffer.kind, 2);
    EXPECT_EQ(buffer.line, 14);
    EXPECT_EQ(std::string(buffer.code, 4), "A2F0");
    EXPECT_EQ(buffer.codeNumber, 0x2F0);
    EXPECT_EQ(buffer.dataLength, 2);
    EXPECT_EQ(buffer.error, TNXCommBuff::erNone);
}

TEST(NXCommBuffTest, ParseRefusesMalformedPackets) {
    struct Case {
        const char *packet;
        int32_t error;
    } cases[] = {
        {"", TNXCommBuff::erShort},
        {"T0LFS109D0", TNXCommBuff::erShort},
        {"X1LFA109D00", TNXCommBuff::erFrame},
        {"T1XFA109D00", TNXCommBuff::erFrame},
        {"T1LFA109X00", TNXCommBuff::erFrame},
        {"TaLFA109D00", TNXCommBuff::erKind},
        {"T1LfA109D00", TNXCommBuff::erLine},
        {"T1LFA1G9D00", TNXCommBuff::erCode},
        {"T1LFA109D0z", TNXCommBuff::erDataLength},
        {"T1LFA109D03V1", TNXCommBuff::erLength},    // truncated
        {"T1LFA109D00V12", TNXCommBuff::erLength},   // characters beyond the data length
        {"T1LFA109DFF", TNXCommBuff::erLength},      // announces 255, holds none
    };
    for (const Case &c : cases) {
        TNXCommBuff buffer;
        Receive(buffer, c.packet);
        EXPECT_FALSE(buffer.ParseHeader()) << c.packet;
        EXPECT_EQ(buffer.error, c.error) << c.packet;
    }
}

}  // namespace
}  // namespace lintra::nx
