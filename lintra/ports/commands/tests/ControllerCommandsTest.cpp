// SendContrCommand: table checks, the command log, disabled commands, refusals and failures.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lintra/ports/commands/ControllerCommands.h"
#include "lintra/ports/commands/tests/CommandFixture.h"
#include "lintra/ports/panel/PultControl.h"
#include "platform/Clock.h"

namespace lintra {
namespace {

constexpr int kLine = 7;

struct ControllerCommandsTest : test::CommandTest {
    tessel::ManualClock clock{0};

    // Code 5 is disabled on every line, code 6 on this line only. The command log is written
    // only when its file exists.
    void beforeLoad() override {
        host.dir().write("discmd.ini", "[LINE0]\nDISABLED=05\n[LINE7]\nDISABLED=06\n");
        host.dir().write("ContrCommand.log", "");
    }
    int send(int line, uint16_t address, uint16_t cmd, std::vector<uint8_t> params) {
        return SendContrCommand(clock, line, address, cmd, params);
    }
};

TEST_F(ControllerCommandsTest, ResultsAndFrames) {
    struct Row {
        const char *what;
        uint16_t cmd;
        std::vector<uint8_t> params;
        int result;
        const char *sent;  // "" when nothing reaches the queue
    };
    const std::vector<Row> rows = {
        {"in range", 12, {1, 2, 3}, 0, "A7 03 0C 01 02 03 90"},
        {"no parameters", 120, {}, 0, "A4 03 78 10"},
        {"the most a frame holds", 120, std::vector<uint8_t>(11, 0), 0,
         "AF 03 78 00 00 00 00 00 00 00 00 00 00 00 E1"},
        {"more than a frame holds", 120, std::vector<uint8_t>(12, 0), 3, ""},
        {"too few", 42, {}, 2, ""},
        {"too many", 4, {1}, 3, ""},
        {"unknown", 7, {}, 1, ""},
        {"disabled on every line", 5, {1, 2}, 0, ""},
        {"disabled on this line", 6, {1, 2}, 0, ""},
    };
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        line.sent.clear();
        EXPECT_EQ(send(kLine, 3, row.cmd, row.params), row.result);
        EXPECT_EQ(line.sent, *row.sent ? std::vector<std::string>{row.sent} : std::vector<std::string>{});
    }
}

TEST_F(ControllerCommandsTest, DisabledOnOneLineOnly) {
    auto &other = open(std::make_shared<test::FakeControllerLine>(kLine + 1));
    EXPECT_EQ(send(kLine + 1, 3, 6, {1, 2}), 0);
    EXPECT_EQ(other.sent.size(), 1u);
}

TEST_F(ControllerCommandsTest, CommandLogRecordsSentAndSuppressed) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    line.outQueue().Put(PanelFrame{});
    send(kLine, 3, 12, {1, 2});
    send(kLine, 0x1A, 5, {1, 2});
    EXPECT_EQ(records("ContrCommand.log"), (std::vector<std::string>{
                                                "7 line 7 [1] адрес 03 команда: 0C",
                                                "7 #line 7 [2] адрес 1A команда: 05",
                                            }));
}

TEST_F(ControllerCommandsTest, RefusalsAreLogged) {
    open(std::make_shared<test::FakeControllerLine>(kLine));
    send(kLine, 3, 42, {});
    send(kLine, 3, 4, {1});
    send(kLine, 3, 7, {});
    EXPECT_EQ(lineLog(kLine), (std::vector<std::string>{
                                  "3 To Few parameters for command 2Ah",
                                  "3 To much parameters for command 04h",
                                  "3 Unknown command 07h",
                              }));
}

TEST_F(ControllerCommandsTest, LinesThatTakeNoControllerCommand) {
    tessel::ManualClock panelClock{0};
    open(std::make_shared<TPultControl>(kLine, 5, panelClock));
    EXPECT_EQ(send(kLine, 3, 12, {1, 2}), 4);
    EXPECT_EQ(send(kLine + 1, 3, 12, {1, 2}), 4);
    EXPECT_EQ(send(300, 3, 12, {1, 2}), 4);
    EXPECT_EQ(lineLog(kLine), std::vector<std::string>{"2 SendContrCommand:: Line not created"});
}

TEST_F(ControllerCommandsTest, ClosedLineAndWideAddress) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    EXPECT_EQ(send(kLine, 256, 12, {1, 2}), 5);
    line.StopLine();
    line.sent.clear();
    EXPECT_EQ(send(kLine, 3, 12, {1, 2}), 4);
    EXPECT_TRUE(line.sent.empty());
    EXPECT_EQ(lineLog(kLine), std::vector<std::string>{"7 SendContrCommand:: Line closed"});
}

TEST_F(ControllerCommandsTest, TcpLineCarriesEveryParameterOfCommand58) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine, ControllerLink::Tcp));
    EXPECT_EQ(send(kLine, 3, 58, {1, 2, 3, 4, 5, 6, 7, 8}), 0);
    ASSERT_EQ(line.sent.size(), 1u);
    EXPECT_EQ(line.sent[0].substr(0, 32), "AE 03 3A 01 02 03 04 05 06 07 08");
}

TEST_F(ControllerCommandsTest, NearlyFullQueueSlowsTheCaller) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    for (int i = 0; i < 8324; ++i) line.outQueue().Put(PanelFrame{});
    EXPECT_EQ(send(kLine, 3, 12, {1, 2}), 0);
    EXPECT_EQ(clock.nowMs(), 100u);
    EXPECT_EQ(lineLog(kLine), std::vector<std::string>{"3 4. Transmit queue is close to full 8325/10400"});
}

TEST_F(ControllerCommandsTest, FailureIsWrittenToTheErrorFile) {
    auto &line = open(std::make_shared<test::FakeControllerLine>(kLine));
    line.throwOnSend = true;
    EXPECT_EQ(send(kLine, 3, 12, {1, 2}), -1);
    EXPECT_EQ(send(kLine, 4, 0x0C, {9, 9, 9}), -1);
    EXPECT_EQ(host.dir().read("cl.erl"),
              "Line: 7\r\nCmd code: 12\r\nAddress: 3\r\nParamCount: 2\r\n\r\n"
              "Line: 7\r\nCmd code: 12\r\nAddress: 4\r\nParamCount: 3\r\n\r\n");
}

}  // namespace
}  // namespace lintra
