// The panel line around its link: the direct exchange and the port shared by several lines.
#include <gtest/gtest.h>

#include "lintra/ports/lines/tests/PultFixture.h"

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
    EXPECT_EQ(reply.dataLength, 1);
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

}  // namespace
}  // namespace lintra
