// The line side of intelligent line-controller lines: what the internal frames of LCBCommand
// do, the line reset sequence, and the port string of the TCP kind.
#include <gtest/gtest.h>

#include "lintra/ports/intlcb/NetLcbControl.h"
#include "lintra/ports/lines/NetPortString.h"
#include "lintra/ports/intlcb/RstThread.h"
#include "lintra/ports/intlcb/tests/FakeTransport.h"
#include "lintra/ports/lines/com_unit.h"

namespace lintra {
namespace {

TEST(NetPortString, SplitsAtTheFirstTwoColons) {
    const auto parts = ParseNetPortString("gw.local:4001:hello:world");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->host, "gw.local");
    EXPECT_EQ(parts->service, "4001");
    EXPECT_EQ(parts->greeting, "hello:world");
    EXPECT_TRUE(ParseNetPortString("127.0.0.1:4001:"));
    EXPECT_FALSE(ParseNetPortString("127.0.0.1:4001"));
}

TEST(IntLcbLine, InternalFramesSwitchPollingAndSetTheUnitCountOtherFramesAreQueued) {
    LineState::Reset();
    tessel::ManualClock clock;
    TNetLCBControl control(7, clock);
    EXPECT_FALSE(control.InitCom("127.0.0.1", 7));
    ASSERT_TRUE(control.InitCom("127.0.0.1:1:hi", 7));
    ASSERT_NE(control.master(), nullptr);
    EXPECT_FALSE(control.master()->polling());
    control.SendComMsg(PanelFrame::connectionRestored(4), 0);
    EXPECT_TRUE(control.master()->polling());
    control.SendComMsg(PanelFrame::connectionLost(), 0);
    EXPECT_FALSE(control.master()->polling());
    PanelFrame count = PanelFrame::internal(5, 0x60);
    count.bytes[3] = 12;
    control.SendComMsg(count, 0);
    EXPECT_EQ(LineState::UnitCount(7), 12);
    control.SendComMsg(PanelFrame::internal(6, 0x61), 0);  // mask bytes: the table alone holds them
    EXPECT_EQ(control.outQueue().Count(), 0u);
    control.SendComMsg(PanelFrame::fromBytes(std::array<uint8_t, 4>{0x05, 0x02, 0x09, 0x01}), 0);
    const auto queued = control.outQueue().Peek();
    ASSERT_TRUE(queued);
    EXPECT_TRUE(IsValidFrame(*queued));
    LineState::Reset();
}

TEST(RstThread, WarnsTheUnitsTwiceHoldsRtsAndReopensWhileServingIsOff) {
    tessel::ManualClock clock;
    test::FakeTransport transport;
    auto queue = TFrameQueue::Create(4);
    PolicySettings policy;
    TIntLCBMaster master(1, transport, *queue, clock, policy, {[](const PanelFrame &) {}, nullptr});
    std::vector<std::string> wire;
    int rtsRaised = 0;
    TRstThread reset(1, master, clock,
                     {[&](const PanelFrame &f) {
                          EXPECT_FALSE(master.serving());
                          wire.push_back(testsupport::toHex(f.wire()));
                      },
                      [&] { ++rtsRaised; }, [&] { wire.push_back("reopen"); }});
    const uint64_t start = clock.nowMs();
    reset.Reset();
    EXPECT_EQ(wire, (std::vector<std::string>{"A4 FE 15 A3", "A4 FE 15 A3", "reopen"}));
    EXPECT_EQ(rtsRaised, 500);
    EXPECT_EQ(clock.nowMs() - start, 100u + 100u + 5000u + 10u + 2000u);
    EXPECT_TRUE(master.serving());
}

}  // namespace
}  // namespace lintra
