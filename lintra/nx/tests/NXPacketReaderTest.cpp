#include "lintra/nx/NXPacketReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lintra::nx {
namespace {

using namespace std::string_literals;

struct Fed {
    std::vector<std::string> packets;
    int32_t overflows = 0;
    int32_t pending = 0;
};

// Feeds the pieces one by one, as separate reads, and collects every complete line.
Fed Feed(const std::vector<std::string> &pieces, bool zeroEndsLine = false) {
    TNXPacketReader reader(zeroEndsLine);
    TNXCommBuff packet;
    Fed fed;
    for (const std::string &piece : pieces) {
        std::span<const uint8_t> input(reinterpret_cast<const uint8_t *>(piece.data()), piece.size());
        while (reader.Take(input, packet)) {
            fed.packets.emplace_back(reinterpret_cast<const char *>(packet.data), static_cast<size_t>(packet.length));
            EXPECT_EQ(packet.data[packet.length], 0) << "a line is zero-terminated";
        }
    }
    fed.overflows = reader.Overflows();
    fed.pending = reader.Pending();
    return fed;
}

const std::string kLongest = "T1LFA109DFF" + std::string(255, 'v');  // 266 characters

TEST(NXPacketReaderTest, CutsReadsIntoLines) {
    struct Case {
        const char *name;
        std::vector<std::string> pieces;
        std::vector<std::string> packets;
        int32_t pending;
    } cases[] = {
        {"whole packet", {"T1LFA10CD00\r"}, {"T1LFA10CD00"}, 0},
        {"packet in pieces", {"T1L", "FA10", "", "CD00", "\r"}, {"T1LFA10CD00"}, 0},
        {"two packets in one read", {"T1LFE102D00\rT1LFA10CD00\n"}, {"T1LFE102D00", "T1LFA10CD00"}, 0},
        {"CR LF gives no empty packet", {"T1LFE102D00\r\n\r\nT1LFA10CD00\r"}, {"T1LFE102D00", "T1LFA10CD00"}, 0},
        {"garbage before a packet is a line of its own", {"\x01zz\rT2L0A201D00\r"}, {"\x01zz", "T2L0A201D00"}, 0},
        {"truncated packet waits for its end", {"T1LFA109D03V1"}, {}, 13},
        {"the end completes what an earlier read left", {"T1LFA109D03V1", "2\rT2"}, {"T1LFA109D03V12"}, 2},
        {"the longest packet", {kLongest + "\r"}, {kLongest}, 0},
        {"a zero byte is a character over TCP", {"T1LFA109D01\0\r"s}, {"T1LFA109D01\0"s}, 0},
    };
    for (const Case &c : cases) {
        const Fed fed = Feed(c.pieces);
        EXPECT_EQ(fed.packets, c.packets) << c.name;
        EXPECT_EQ(fed.pending, c.pending) << c.name;
        EXPECT_EQ(fed.overflows, 0) << c.name;
    }
}

TEST(NXPacketReaderTest, AZeroByteEndsALineOnASerialLink) {
    EXPECT_EQ(Feed({"T1LFG108D00\0T1LFA10CD00\r"s}, true).packets,
              (std::vector<std::string>{"T1LFG108D00", "T1LFA10CD00"}));
}

// A line longer than any packet is dropped up to its end; the reader holds no more than the
// longest packet meanwhile and the next line comes through whole.
TEST(NXPacketReaderTest, ALineThatNeverEndsIsBoundedThenRecovers) {
    const std::string flood(100000, 'x');
    TNXPacketReader reader;
    TNXCommBuff packet;
    for (int read = 0; read < 10; ++read) {
        std::span<const uint8_t> input(reinterpret_cast<const uint8_t *>(flood.data()), flood.size());
        EXPECT_FALSE(reader.Take(input, packet));
        EXPECT_TRUE(input.empty());
        EXPECT_LE(reader.Pending(), TNXCommBuff::kMaxPacket);
    }
    EXPECT_EQ(reader.Overflows(), 1);

    const std::string rest = "xx\rT1LFA10CD00\r";
    std::span<const uint8_t> input(reinterpret_cast<const uint8_t *>(rest.data()), rest.size());
    ASSERT_TRUE(reader.Take(input, packet));
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(packet.data), static_cast<size_t>(packet.length)),
              "T1LFA10CD00");
    EXPECT_EQ(reader.Overflows(), 1);
}

TEST(NXPacketReaderTest, OneCharacterBeyondTheLongestPacketDropsTheLine) {
    const Fed fed = Feed({kLongest, "v\rT1LFA10CD00\r"});
    EXPECT_EQ(fed.packets, std::vector<std::string>{"T1LFA10CD00"});
    EXPECT_EQ(fed.overflows, 1);
}

TEST(NXPacketReaderTest, ResetForgetsAnUnfinishedLine) {
    TNXPacketReader reader;
    TNXCommBuff packet;
    const std::string before = "T1LFA1";
    const std::string after = "T1LFA10CD00\r";
    std::span<const uint8_t> input(reinterpret_cast<const uint8_t *>(before.data()), before.size());
    EXPECT_FALSE(reader.Take(input, packet));
    reader.Reset();
    EXPECT_EQ(reader.Pending(), 0);
    input = std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(after.data()), after.size());
    ASSERT_TRUE(reader.Take(input, packet));
    EXPECT_EQ(packet.length, 11);
}

}  // namespace
}  // namespace lintra::nx
