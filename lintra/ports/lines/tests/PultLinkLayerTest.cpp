// The panel line around its link: the direct exchange and the port shared by several lines.
#include <gtest/gtest.h>

#include <thread>

#include "lintra/ports/delivery/LineEvents.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/ports/lines/tests/PultFixture.h"
#include "testsupport/TempDir.h"

namespace lintra {
namespace {
using test::signedBytes;

struct DirectExchangeTest : ::testing::Test, test::PultFixture {
    EventRecord exchange() {
        EventRecord reply{};
        port->clearTrace();
        line->SendCmdGetRepl(PanelFrame::command(test::kAddress, 93, {}), reply);
        return reply;
    }
};

TEST_F(DirectExchangeTest, AnswerBecomesTheReplyRecord) {
    answer(signedBytes({0xA5, test::kAddress, 90, 17, 0}));
    const EventRecord reply = exchange();
    EXPECT_EQ(reply.code, 90);
    EXPECT_EQ(reply.address, test::kAddress);
    EXPECT_EQ(reply.data_length, 1);
    EXPECT_EQ(reply.data[0], 17);
    EXPECT_TRUE(line->answeredOnce());
}

TEST_F(DirectExchangeTest, UnansweredExchangeOfANeverAnsweredLineChangesSpeed) {
    const EventRecord reply = exchange();
    EXPECT_EQ(reply.code, PanelFrame::kCodeConnectionLost);
    EXPECT_EQ(reply.address, PanelFrame::kInternalAddress);
    EXPECT_NE(port->trace().find("line("), std::string::npos);  // the next speed mode was set
}

TEST_F(DirectExchangeTest, SilentLineSendsNothing) {
    pollingOn();
    loseConnection();
    const EventRecord reply = exchange();
    EXPECT_EQ(reply.code, PanelFrame::kCodeConnectionLost);
    EXPECT_EQ(port->writtenHex(), "");
}

TEST(PanelPortTest, LinesOnOnePortAreServedInTurn) {
    test::PultFixture first(3, 5);
    TPultControl second(4, 9, first.clock);
    ASSERT_TRUE(second.JoinPort(first.panelPort, false));
    TPultControl sameAddress(6, 9, first.clock);
    EXPECT_FALSE(sameAddress.JoinPort(first.panelPort, false));
    first.pollingOn();
    second.SendComMsg(PanelFrame::connectionRestored(4), 0);

    std::string addresses;
    for (int i = 0; i < 4; ++i) {
        first.port->clearTrace();
        EXPECT_EQ(first.panelPort->Step(), TPanelPort::StepResult::Served);
        addresses += first.port->writtenHex().substr(3, 2) + " ";
    }
    EXPECT_EQ(addresses, "05 09 05 09 ");
    EXPECT_EQ(first.panelPort->leave(first.line.get()), 1);
}

// A record of a shared-memory line that nobody collects holds up that line's polling thread,
// but neither the direct exchanges on its port nor the other lines joining or leaving it.
TEST(PanelPortTest, UncollectedRecordHoldsNeitherThePortNorItsSlots) {
    testsupport::IsolatedHost host;
    ComUnitLoad();
    {
        test::PultFixture f;
        ASSERT_TRUE(LineEvents::instance().createReady(f.line->line()));
        f.pollingOn();
        f.answer(test::messageAnswer(1));
        std::thread driver([&] { f.panelPort->Step(); });
        // The step has taken the message (the number moves before the delivery starts).
        for (int i = 0; i < 1000000 && f.line->currentMsgNumber() != 1; ++i) std::this_thread::yield();
        ASSERT_EQ(f.line->currentMsgNumber(), 1);

        f.answer(signedBytes({0xA5, test::kAddress, 90, 17, 0}));
        EventRecord reply{};
        f.line->SendCmdGetRepl(PanelFrame::command(test::kAddress, 93, {}), reply);
        EXPECT_EQ(reply.code, 90);

        TPultControl other(4, 9, f.clock);
        EXPECT_TRUE(other.JoinPort(f.panelPort, false));
        EXPECT_EQ(f.panelPort->leave(&other), 1);

        f.line.reset();  // the waiting delivery gives up, the step ends
        driver.join();
    }
    ComUnitUnload();
}

}  // namespace
}  // namespace lintra
