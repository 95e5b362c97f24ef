#include "lintra/nx/NXMsgCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "lintra/nx/tests/NXPacketText.h"

namespace lintra::nx {
namespace {

using Bytes = std::vector<uint8_t>;

// The wire image of msg sent by the PC (kind 0) on the given line, CR included.
std::string Wire(const TNXMsg &msg, int32_t line = TNXCommBuff::kControllerLine) {
    TNXCommBuff buffer(0, line);
    if (!EncodeMsg(msg, buffer)) return "error " + std::to_string(buffer.error);
    buffer.AppendCR();
    return PacketHex(buffer);
}

TEST(NXMsgCodecTest, SystemPacketsHaveTheirExactBytes) {
    const Bytes config = {'2', '9', '3', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9', '9'};
    const Bytes password = {'s', 'e', 'c', 'r', 'e', 't'};
    struct Case {
        TNXMsg msg;
        std::string wire;
    } cases[] = {
        {MakeNXMsg("S109", 15), AsciiHex("T0LFS109D00\r")},  // reset
        {MakeNXMsg("G109", 15), AsciiHex("T0LFG109D00\r")},  // firmware version, keep-alive
        {MakeNXMsg("G101", 15), AsciiHex("T0LFG101D00\r")},  // line configuration question
        {MakeNXMsg("G108", 15), AsciiHex("T0LFG108D00\r")},  // serial handshake question
        {MakeNXMsg("S101", 15, config), AsciiHex("T0LFS101D102939999999999999\r")},
        {MakeNXMsg("S10C", 15, password), AsciiHex("T0LFS10CD10secret") + " 00 00 00 00 00 00 00 00 00 00 0D"},
        {MakeNXMsg("S10A", 15, Bytes{200}), AsciiHex("T0LFS10AD02C8\r")},  // poll pace
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Wire(c.msg), c.wire) << std::string(c.msg.code, 4);
    }
}

TEST(NXMsgCodecTest, LinePacketsUseTheFormOfTheirCode) {
    struct Case {
        TNXMsg msg;
        int32_t line;
        std::string wire;
    } cases[] = {
        {MakeNXMsg("S203", 3, Bytes{0x0A}), 3, AsciiHex("T0L3S203D01A\r")},
        {MakeNXMsg("S303", 14, Bytes{0x00}), 14, AsciiHex("T0LES303D010\r")},
        {MakeNXMsg("S205", 0, Bytes{0x05, 0x34, 0x12}), 0, AsciiHex("T0L0S205D06051234\r")},
        {MakeNXMsg("S201", 1, Bytes{0x0F, 0xA0}), 1, AsciiHex("T0L1S201D040FA0\r")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Wire(c.msg, c.line), c.wire) << std::string(c.msg.code, 4);
    }
}

TEST(NXMsgCodecTest, MessagesWithoutAPacketFormAreRefused) {
    TNXMsg bigCount = MakeNXMsg("S201", 0);
    bigCount.count = 257;
    TNXMsg negativeCount = MakeNXMsg("S201", 0);
    negativeCount.count = -1;
    const TNXMsg cases[] = {
        MakeNXMsg("S201", 0, Bytes(128, 0x11)),  // 256 characters
        bigCount,
        negativeCount,
        MakeNXMsg("S203", 0, Bytes{16}),  // no one-digit form
        MakeNXMsg("S303", 0),             // no byte to write
        MakeNXMsg("S205", 0, Bytes{1, 2}),
        MakeNXMsg("S10C", 15, Bytes(17, 'x')),
        MakeNXMsg("S10C", 15, Bytes{'a', '\r', 'b'}),  // would end the packet early
        MakeNXMsg("S101", 15, Bytes{'2', '\n'}),
    };
    for (const TNXMsg &msg : cases) {
        EXPECT_EQ(Wire(msg, 0), "error 7") << std::string(msg.code, 4) << " count " << msg.count;
    }
    // The largest message that has a form: 127 bytes, 254 characters.
    EXPECT_EQ(Wire(MakeNXMsg("S201", 0, Bytes(127, 0x11)), 0).substr(0, 32), AsciiHex("T0L0S201DFE"));
}

TNXMsg Decoded(std::string_view packet, bool *ok, int32_t *error) {
    TNXCommBuff buffer;
    Receive(buffer, packet);
    TNXMsg msg{};
    *ok = buffer.ParseHeader() && DecodeMsg(buffer, msg);
    *error = buffer.error;
    return msg;
}

TEST(NXMsgCodecTest, DecodesHexPairsAndRawTexts) {
    bool ok = false;
    int32_t error = -1;
    TNXMsg msg = Decoded("T2L4A201D040FA0", &ok, &error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(msg.code, 4), "A201");
    EXPECT_EQ(msg.unit, 4);
    ASSERT_EQ(msg.count, 2);
    EXPECT_EQ(msg.data[0], 0x0F);
    EXPECT_EQ(msg.data[1], 0xA0);

    msg = Decoded("T1LFA109D03V12", &ok, &error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(msg.data), static_cast<size_t>(msg.count)), "V12");

    msg = Decoded("T1LFA101D102939999999999999", &ok, &error);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(msg.data), static_cast<size_t>(msg.count)), "2939999999999999");
}

TEST(NXMsgCodecTest, DataThatDoesNotDecodeIsRefused) {
    for (const char *packet : {"T2L0A201D040fa0", "T2L0A201D03ABC", "T2L0A201D02G0"}) {
        bool ok = true;
        int32_t error = -1;
        Decoded(packet, &ok, &error);
        EXPECT_FALSE(ok) << packet;
        EXPECT_EQ(error, TNXCommBuff::erData) << packet;
    }
}

TEST(NXMsgCodecTest, DecodeChecksTheDataLengthAgainstTheCharactersHeld) {
    TNXCommBuff buffer;
    Receive(buffer, "T2L0A201D02AB");
    ASSERT_TRUE(buffer.ParseHeader());
    TNXMsg msg{};
    buffer.dataLength = 4;  // no longer matches what the buffer holds
    EXPECT_FALSE(DecodeMsg(buffer, msg));
    buffer.dataLength = 300;
    EXPECT_FALSE(DecodeMsg(buffer, msg));
}

}  // namespace
}  // namespace lintra::nx
