// The C exports: argument widths, null blocks and the caller's reply area.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "lintra/include/lintra.h"
#include "lintra/ports/commands/tests/CommandFixture.h"
#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/panel/PultControl.h"
#include "lintra/ports/tests/FakePort.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr int kLine = 9;

struct CommandExportsTest : test::CommandTest {};

TEST_F(CommandExportsTest, NullBlocksHoldNoParameters) {
    open(std::make_shared<test::FakeControllerLine>(kLine));
    EXPECT_EQ(LCBCommand(kLine, 1, 1, nullptr), 2);
    EXPECT_EQ(SendContrCommand(kLine, 3, 12, 2, nullptr), 2);
    EXPECT_EQ(SendContrCommand(kLine, 3, 4, 0, nullptr), 0);
    EXPECT_EQ(SendPultCommand(300, 0, 1, 0, nullptr), 4);
}

TEST_F(CommandExportsTest, ReplyAreaGetsTheRecordOnly) {
    tessel::ManualClock clock{0};
    auto fake = std::make_unique<test::FakePort>(clock);
    fake->scriptHex("A4 05 00 9C");
    auto port = std::make_shared<TPanelPort>(std::move(fake), "COM1");
    auto &panel = open(std::make_shared<TPultControl>(kLine, 5, clock));
    ASSERT_TRUE(panel.JoinPort(port, true));

    // The loader reads replies from a 24-byte area; the two bytes past the record stay.
    unsigned char area[24];
    std::memset(area, 0xAB, sizeof area);
    EXPECT_EQ(SendCmdGetReply(kLine, 5, 93, 0, nullptr, reinterpret_cast<LintraEventRecord *>(area)), 0);
    LintraEventRecord reply;
    std::memcpy(&reply, area, sizeof reply);
    EXPECT_EQ(reply.line, kLine);
    EXPECT_EQ(reply.code, 0x64);
    EXPECT_EQ(area[22], 0xAB);
    EXPECT_EQ(area[23], 0xAB);
    EXPECT_EQ(SendCmdGetReply(kLine, 5, 93, 0, nullptr, nullptr), 0);  // no area, no copy
}

}  // namespace
}  // namespace lintra
