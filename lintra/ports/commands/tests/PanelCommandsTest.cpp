// SendPultCommand and SendCmdGetReply over a panel line on a fake port.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/commands/PanelCommands.h"
#include "lintra/ports/commands/tests/CommandFixture.h"
#include "lintra/ports/lines/PanelPort.h"
#include "lintra/ports/panel/PultControl.h"
#include "lintra/ports/tests/FakePort.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr int kLine = 4;
constexpr uint8_t kAddress = 5;

struct PanelCommandsTest : test::CommandTest {
    tessel::ManualClock clock{0};
    test::FakePort *port = nullptr;

    TPultControl &openPanel() {
        auto fake = std::make_unique<test::FakePort>(clock);
        port = fake.get();
        auto panelPort = std::make_shared<TPanelPort>(std::move(fake), "COM1");
        auto &panel = open(std::make_shared<TPultControl>(kLine, kAddress, clock));
        EXPECT_TRUE(panel.JoinPort(panelPort, true));
        return panel;
    }
};

TEST_F(PanelCommandsTest, QueuedCommandAnswersTheFreePlaces) {
    TPultControl &panel = openPanel();
    const std::vector<uint8_t> clock5{1, 2, 3, 4, 5};
    EXPECT_EQ(SendPultCommand(kLine, 3, clock5), -10399);
    ASSERT_EQ(panel.outQueue().Count(), 1u);
    EXPECT_EQ(test::wireHex(*panel.outQueue().Peek()), "A9 05 03 01 02 03 04 05 AF");
}

TEST_F(PanelCommandsTest, TableRefusalsQueueNothing) {
    TPultControl &panel = openPanel();
    struct Row {
        uint16_t cmd;
        std::vector<uint8_t> params;
        int result;
    };
    for (const Row &row : std::vector<Row>{{12, {1}, 2}, {12, {1, 2, 3}, 3}, {110, {}, 1}, {2, {}, 1}}) {
        SCOPED_TRACE(row.cmd);
        EXPECT_EQ(SendPultCommand(kLine, row.cmd, row.params), row.result);
        EventRecord reply{};
        EXPECT_EQ(SendCmdGetReply(kLine, row.cmd, row.params, reply), row.result);
    }
    EXPECT_EQ(panel.outQueue().Count(), 0u);
    EXPECT_EQ(port->writtenHex(), "");
}

TEST_F(PanelCommandsTest, LinesThatTakeNoPanelCommand) {
    EventRecord reply{};
    EXPECT_EQ(SendPultCommand(kLine, 1, {}), 4);
    EXPECT_EQ(SendPultCommand(300, 1, {}), 4);
    EXPECT_EQ(SendCmdGetReply(kLine, 1, {}, reply), -4);
    EXPECT_EQ(SendCmdGetReply(300, 1, {}, reply), -4);

    open(std::make_shared<test::FakeControllerLine>(kLine + 1));
    EXPECT_EQ(SendPultCommand(kLine + 1, 1, {}), 1);
    EXPECT_EQ(SendCmdGetReply(kLine + 1, 1, {}, reply), 1);

    TPultControl &panel = openPanel();
    panel.StopLine();
    EXPECT_EQ(SendPultCommand(kLine, 1, {}), 4);
    EXPECT_EQ(panel.outQueue().Count(), 0u);
}

TEST_F(PanelCommandsTest, LogLines) {
    TPultControl &panel = openPanel();
    for (int i = 0; i < 10350; ++i) panel.outQueue().Put(PanelFrame{});
    SendPultCommand(kLine, 1, {});
    SendPultCommand(kLine, 12, std::vector<uint8_t>{1});
    panel.StopLine();
    SendPultCommand(kLine, 1, {});
    LineTable::Take(kLine);
    SendPultCommand(kLine, 1, {});
    std::vector<std::string> sendLines;
    for (const std::string &record : lineLog(kLine))
        if (record.find("SendPultCommand") != std::string::npos || record.find("Очередь") != std::string::npos)
            sendLines.push_back(record);
    EXPECT_EQ(sendLines, (std::vector<std::string>{
                             "7 SendPultCommand:: er=1 pr=0",
                             "3 1.Очередь на передачу близка к заполнению 49/p=0",
                             "7 SendPultCommand:: er=-2 pr=0",
                             "7 SendPultCommand:: Линия закрыта",
                             "2 SendPultCommand:: Линия не создана",
                         }));
}

TEST_F(PanelCommandsTest, DirectExchangeFillsTheReply) {
    TPultControl &panel = openPanel();
    panel.StopLine();  // a stopped line still exchanges
    port->scriptHex("A4 05 00 9C");
    EventRecord reply{};
    EXPECT_EQ(SendCmdGetReply(kLine, 93, {}, reply), 0);
    EXPECT_EQ(port->writtenHex(), "A4 05 5D F9");
    EXPECT_EQ(reply.line, kLine);
    EXPECT_EQ(reply.code, 0x64);  // the empty answer
}

}  // namespace
}  // namespace lintra
