#include <gtest/gtest.h>

#include "sim/panel/LineSettings.h"
#include "sim/panel/PanelLine.h"
#include "sim/tests/PanelFixture.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

class PanelLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        line.add(freshPanel(5));
        line.add(freshPanel(7, AnswerFormat::Long));
    }
    // What goes out for a request given as hex, as hex ("" for nothing).
    std::string send(const std::string &frame, int mode = 0) {
        auto tx = line.receive(hexBytes(frame), kStartMs, mode);
        last = tx.value_or(Transmission{});
        return tx ? toHex(tx->bytes) : "";
    }
    FaultSet &faults(uint8_t address) { return line.find(address)->faults; }

    PanelLine line;
    Transmission last;
};

TEST_F(PanelLineTest, EachPanelAnswersOnlyItsOwnAddress) {
    EXPECT_FALSE(line.add(freshPanel(7)));
    EXPECT_EQ(send(request("07 5E 09")), request("07 00"));
    EXPECT_EQ(line.find(7)->panel.tables().lastPolledZone, 9);
    EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 0);
    EXPECT_EQ(send("A4 07 56 F6").size(), 13 * 3 - 1u);  // format 1 answer of panel 7
    EXPECT_EQ(send("A4 05 56 F2").size(), 11 * 3 - 1u);
    EXPECT_EQ(send(request("09 56")), "");  // nobody at 9
    EXPECT_EQ(send("A2 A2"), "");           // no address at all
}

TEST_F(PanelLineTest, ABroadcastReachesEveryPanelAndIsNotAnswered) {
    EXPECT_EQ(send(request("FE 5E 0C")), "");
    EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 12);
    EXPECT_EQ(line.find(7)->panel.tables().lastPolledZone, 12);
}

TEST_F(PanelLineTest, FaultsShapeTheAnswer) {
    const std::string zoneCount = request("05 5E 0C");
    const std::string empty = request("05 00");  // A4 05 00 9C
    struct Row {
        FaultKind kind;
        uint32_t arg;
        std::string answer;
        bool carriedOut;
        uint32_t delayMs;
    };
    const Row rows[] = {
        {FaultKind::Silent, 0, "", false, 0},
        {FaultKind::Error, 4, request("05 03 04"), false, 0},
        {FaultKind::Checksum, 0, "A4 05 00 9D", true, 0},
        {FaultKind::Cut, 2, "A4 05", true, 0},
        {FaultKind::Cut, 9, "A4", true, 0},
        {FaultKind::Stray, 0x55, "55 A4 05 00 9C", true, 0},
        {FaultKind::Delay, 1500, empty, true, 1500},
        {FaultKind::DropWrite, 0x5E, empty, false, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(faultName(row.kind));
        line.find(5)->panel.tables().lastPolledZone = 0;
        faults(5).set(row.kind, row.arg, 1);
        EXPECT_EQ(send(zoneCount), row.answer);
        EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, row.carriedOut ? 12 : 0);
        EXPECT_EQ(last.delayMs, row.delayMs);
        if (!row.answer.empty()) {
            EXPECT_EQ(last.faults, faultName(row.kind));
        }
        EXPECT_EQ(send(zoneCount), empty) << "the fault was for one answer only";
    }
}

TEST_F(PanelLineTest, AFaultLastsItsCountOrUntilSwitchedOff) {
    faults(5).set(FaultKind::Silent, 0, 2);
    EXPECT_EQ(send("A4 05 56 F2"), "");
    EXPECT_EQ(send("A4 05 56 F2"), "");
    EXPECT_NE(send("A4 05 56 F2"), "");

    faults(5).set(FaultKind::Silent, 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(send("A4 05 56 F2"), "");
    EXPECT_NE(send("A4 07 56 F6"), "") << "faults belong to one panel";
    faults(5).clear(FaultKind::Silent);
    EXPECT_NE(send("A4 05 56 F2"), "");
}

TEST_F(PanelLineTest, ADroppedWriteIsOnlyOneStoredWriteOfItsCommand) {
    const std::string ack = request("05 00");
    const auto &zones = line.find(5)->panel.tables().zones;
    faults(5).set(FaultKind::DropWrite, 0x52, 2);
    EXPECT_EQ(send(request("05 5E 0C")), ack);
    EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 12) << "another command is stored";
    EXPECT_EQ(send(request("05 52 00 40")), request("05 03 02")) << "zone 0 is refused, not dropped";
    EXPECT_EQ(send(request("05 52 11 40")), ack);
    EXPECT_EQ(zones[16].flags, 0);
    EXPECT_EQ(last.faults, "drop-write");
    EXPECT_EQ(send(request("07 52 11 40")), request("07 00"));
    EXPECT_EQ(line.find(7)->panel.tables().zones[16].flags, 0x40) << "faults belong to one panel";
    EXPECT_EQ(send(request("05 52 12 40")), ack);
    EXPECT_EQ(send(request("05 52 13 40")), ack);
    EXPECT_EQ(zones[17].flags, 0);
    EXPECT_EQ(zones[18].flags, 0x40) << "two writes dropped, the third stored";
    EXPECT_EQ(last.faults, "");
}

TEST_F(PanelLineTest, FaultsCombine) {
    faults(5).set(FaultKind::Checksum, 0, 1);
    faults(5).set(FaultKind::Stray, 0x00, 1);
    EXPECT_EQ(send(request("05 5E 0C")), "00 A4 05 00 9D");
    EXPECT_EQ(last.faults, "checksum,stray");
}

TEST_F(PanelLineTest, APanelBoundToOneSpeedModeHearsNothingInTheOthers) {
    faults(5).set(FaultKind::Mode, 2, 1);  // holds regardless of the count
    for (int mode : {0, 1, kNoSpeedMode}) EXPECT_EQ(send(request("05 5E 0C"), mode), "") << mode;
    EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 0);
    EXPECT_EQ(send(request("05 5E 0C"), 2), request("05 00"));
    EXPECT_EQ(send(request("05 5E 0C"), 2), request("05 00"));
    EXPECT_EQ(send(request("FE 5E 0D"), 0), "");
    EXPECT_EQ(line.find(5)->panel.tables().lastPolledZone, 12) << "a broadcast in mode 0 is not heard";
    EXPECT_EQ(line.find(5)->heard, 5u);
    EXPECT_EQ(line.find(5)->answered, 2u);
}

}  // namespace
}  // namespace sim::test
