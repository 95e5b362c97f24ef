// The link's log lines as a site engineer reads them in the line log.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "lintra/ports/PultLink.h"
#include "lintra/ports/tests/FakePort.h"
#include "lintra/ports/tests/FrameFixtures.h"
#include "lintra/ports/tests/LogRecords.h"
#include "lintra/runtime/CommonProc.h"
#include "platform/Registry.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {

constexpr int kLine = 3;

void setLevel(std::string_view key, std::string_view name, uint32_t value) {
    auto k = tessel::RegKey::open(tessel::Hive::CurrentUser, key, true);
    ASSERT_TRUE(k && k->writeDword(name, value));
}

struct PultLinkLogTest : ::testing::Test {
    testsupport::IsolatedHost host;
    tessel::ManualClock clock{0};
    test::FakePort port{clock};
    TPultLink link{port, clock, kLine, 5};

    void SetUp() override {
        setLevel("Software\\Tessel\\Logging", "MaxLevel", 10);
        setLevel("Software\\Tessel\\Lintra\\PortServer", "CycleCount", 0);
        setLevel("Software\\Tessel\\Lintra\\Logging", "Line3", 10);
        CommonProcLoad();
        port.setTimeouts(TPultLink::kTimeouts);
    }
    void TearDown() override { CommonProcUnload(); }

    // "level text" of each record of the line log; the logs are closed first.
    std::vector<std::string> records() {
        CommonProcUnload();
        return lintra::testing::logRecords(host.dir() / "Line3lintra.log");
    }
};

TEST_F(PultLinkLogTest, PollingExchange) {
    link.SetConnParam(0);
    link.TransmitMsg(test::frameOf("A4 05 56 F2"));
    link.TransmitMsg(test::frameOf("A1 05"));
    PanelFrame buffer;
    port.scriptHex("A4 05 00 A9");
    link.GetAnswer(buffer);
    link.GetAnswer(buffer);
    port.scriptHex("A6 05 57");
    link.GetAnswer(buffer);
    link.ResyncLine();
    EXPECT_EQ(records(), (std::vector<std::string>{
                             "6 TPultControl.SetConnParam:: 10400",
                             "8 Отсылка: ",
                             "10 TPultControl.TransmitMsg::WriteFile(1) ",
                             "10 TPultControl.TransmitMsg::WriteFile=1",
                             "10 TPultControl.TransmitMsg::WriteFile(3) ",
                             "10 TPultControl.TransmitMsg::WriteFile=3",
                             "3 Отсылка: левые данные",
                             "10 TPultControl.GetAnswer::ReadFile(1)",
                             "10 TPultControl.GetAnswer::ReadFile=1",
                             "10 TPultControl.GetAnswer::ReadFile(3)",
                             "10 TPultControl.GetAnswer::ReadFile=3",
                             "8 Пришла посылка ",
                             "10 TPultControl.GetAnswer::ReadFile(1)",
                             "10 TPultControl.GetAnswer::ReadFile=0",
                             "6 Неответ пакета(0)",
                             "10 TPultControl.GetAnswer::ReadFile(1)",
                             "10 TPultControl.GetAnswer::ReadFile=1",
                             "10 TPultControl.GetAnswer::ReadFile(5)",
                             "10 TPultControl.GetAnswer::ReadFile=2",
                             "6 Не дождались конца ответа(2)",
                             "4 Статистика по обмену: число отсылок - 2, число неответов - 0, "
                             "число непонятых посылок - 0",
                         }));
}

TEST_F(PultLinkLogTest, DirectExchangeWithoutAnswer) {
    link.SetConnParam(1);
    port.failWrites(EIO);
    link.SendCmdGetRepl(test::frameOf("A4 05 5D"));
    const std::string attempt[] = {
        "7 Direct send: ",
        "10 TPultControl.SendCmdGetRepl::WriteFile(4) ",
        "4 TPultControl.SendCmdGetRepl::WriteFile error: " + std::string(std::strerror(EIO)),
        "10 TPultControl.SendCmdGetRepl::ReadFile(1)",
        "10 TPultControl.SendCmdGetRepl::ReadFile=0",
    };
    std::vector<std::string> expected = {"6 TPultControl.SetConnParam:: 19200_8"};
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), std::begin(attempt), std::end(attempt));
    expected.push_back("6 Direct send: no answer on speed 19200_8");
    expected.push_back("7 received: ");
    EXPECT_EQ(records(), expected);
}

TEST_F(PultLinkLogTest, DirectExchangeAnswered) {
    link.SetConnParam(1);
    port.scriptHex("A5 05 5A 10 00");
    link.SendCmdGetRepl(test::frameOf("A4 05 5D"));
    const auto all = records();
    const std::vector<std::string> tail(all.end() - 5, all.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "10 TPultControl.SendCmdGetRepl::ReadFile(1)",
                        "10 TPultControl.SendCmdGetRepl::ReadFile=1",
                        "10 TPultControl.SendCmdGetRepl::ReadFile(4) ",
                        "10 TPultControl.SendCmdGetRepl::ReadFile= 4",
                        "7 SendCmdGetReply: ",
                    }));
}

}  // namespace
}  // namespace lintra
