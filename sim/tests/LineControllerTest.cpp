// The line controller: how the PC's frames configure it, which commands it acknowledges, and
// what it sends of its own accord as time passes.
#include <gtest/gtest.h>

#include "sim/lcb/ControllerControl.h"
#include "sim/tests/PanelFixture.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

constexpr uint64_t kT0 = 10000;

class LineControllerTest : public ::testing::Test {
protected:
    LineControllerTest() : controller(ControllerSettings{0xFF, 1000, 50}, kT0) {
        controller.addUnit(3);
        controller.addUnit(12);
    }
    std::string send(const std::string &addressCodeParams, uint64_t nowMs = kT0) {
        auto tx = controller.receive(hexBytes(request(addressCodeParams)), nowMs);
        return tx ? toHex(tx->bytes) : "";
    }
    // Everything due at nowMs, each frame as hex, separated by " | ".
    std::string due(uint64_t nowMs) {
        std::string text;
        for (const Transmission &tx : controller.due(nowMs)) text += (text.empty() ? "" : " | ") + toHex(tx.bytes);
        return text;
    }
    void store(uint8_t unit, const std::string &event) { controller.find(unit)->events.push_back(hexBytes(request(event))); }
    // Unit 12 in the mask (byte 1, bit 4), count 20, polling started.
    void configure() {
        EXPECT_EQ(send("FB 61 01 10"), "");
        EXPECT_EQ(send("FB 60 14"), "");
        EXPECT_EQ(send("FB 66"), "");
    }

    LineController controller;
};

TEST_F(LineControllerTest, ConfigurationFramesSetMaskCountAndPolling) {
    configure();
    EXPECT_TRUE(controller.polls(12));
    EXPECT_FALSE(controller.polls(3)) << "not in the mask";
    EXPECT_EQ(send("FB 61 28 FF"), "") << "a byte beyond the mask is ignored";
    EXPECT_EQ(send("FB 62 07"), "");
    EXPECT_EQ(controller.lineOption(), 7);
    EXPECT_EQ(send("FB 60 0C"), "");
    EXPECT_FALSE(controller.polls(12)) << "12 is not below the count 12";
    EXPECT_EQ(send("FB 65"), "");
    EXPECT_FALSE(controller.polling());
    EXPECT_EQ(controller.counts().internal, 7u);
}

TEST_F(LineControllerTest, AcknowledgesTheAcknowledgedSetOnly) {
    struct Case {
        std::string frame, answer;
    } cases[] = {
        {"03 08 00 01 12 34 56 78 00", "A4 03 64 FC"},
        {"0C 39", request("0C 64")},
        {"03 13", ""},   // a command outside the set
        {"FE 08 02", ""},  // to all units
        {"03 02", ""},
    };
    for (const Case &c : cases) EXPECT_EQ(send(c.frame), c.answer) << c.frame;
    EXPECT_FALSE(controller.receive(hexBytes("A4 03 08 FF"), kT0)) << "a frame with a wrong checksum gets nothing";
    EXPECT_EQ(controller.counts().badChecksum, 1u);
    EXPECT_EQ(controller.counts().acks, 2u);
    EXPECT_EQ(controller.find(3)->commands, 3u);
    EXPECT_EQ(controller.counts().broadcasts, 1u);
}

TEST_F(LineControllerTest, ForwardsEventsOfPolledUnitsPacedByTheInterval) {
    store(3, "03 1F 01");
    store(12, "0C 1F 02");
    store(12, "0C 1F 03");
    EXPECT_EQ(due(kT0), "") << "nothing polled before the PC configures the controller";
    configure();
    EXPECT_EQ(due(kT0), request("0C 1F 02"));
    EXPECT_EQ(due(kT0 + 49), "");
    EXPECT_EQ(controller.nextDueMs(), kT0 + 50);
    EXPECT_EQ(due(kT0 + 50), request("0C 1F 03"));
    EXPECT_EQ(controller.find(3)->events.size(), 1u) << "unit 3 is not in the mask";
    EXPECT_EQ(controller.nextDueMs(), kT0 + 1050) << "only the idle frame is left";
}

TEST_F(LineControllerTest, IdleFrameFollowsEveryQuietPeriodAndTheSilentFaultStopsEverything) {
    EXPECT_EQ(due(kT0 + 999), "");
    EXPECT_EQ(due(kT0 + 1000), "A4 FF 00 90");
    EXPECT_EQ(send("03 08 01", kT0 + 1500), "A4 03 64 FC");
    EXPECT_EQ(due(kT0 + 2000), "") << "the acknowledgement restarted the idle time";
    EXPECT_EQ(due(kT0 + 2500), "A4 FF 00 90");

    controller.faults().set(FaultKind::Silent, 0);
    EXPECT_EQ(send("03 08 01", kT0 + 2600), "");
    EXPECT_EQ(due(kT0 + 20000), "");
    EXPECT_EQ(controller.counts().muted, 2u);
    controller.faults().clear(FaultKind::Silent);
    EXPECT_EQ(due(kT0 + 21000), "A4 FF 00 90");

    controller.faults().set(FaultKind::Checksum, 0, 1);
    EXPECT_EQ(due(kT0 + 22000), "A4 FF 00 91");
}

TEST_F(LineControllerTest, ControlCommands) {
    const CivilTime at{2026, 3, 30, 17, 45, 0};
    ControllerControl control(controller, ControlHooks{}, [&] { return at; });
    struct Case {
        std::string command, answer;
    } cases[] = {
        {"units", "ok 3 12\n"},
        {"event 12 0x1F now", "ok 1\n"},
        {"event 4 0x1F", "error no unit 4\n"},
        {"fault silent times 2", "ok\n"},
        {"fault mode", "error fault mode needs a valid argument\n"},
        {"fault off", "ok\n"},
        {"counts 12", "ok commands 0 forwarded 0 queued 1\n"},
        {"counts", "ok received 0 bad 0 internal 0 commands 0 broadcasts 0 acks 0 events 0 idle 0 muted 0\n"},
        {"state", "ok polling off count 0 option 0 mask " + std::string(64, '0') + "\n"},
        {"clear 12", "ok\n"},
        {"dump", "polling off count 0 option 0 mask " + std::string(64, '0') + "\nunit 3 polled 0 queued 0\n"
                 "unit 12 polled 0 queued 0\nok\n"},
        {"silent", "error unknown command 'silent'\n"},
    };
    for (const Case &c : cases) EXPECT_EQ(control.execute(c.command), c.answer) << c.command;
}

}  // namespace
}  // namespace sim::test
