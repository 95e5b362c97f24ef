// The units of an intelligent line: what each request is answered with.
#include <gtest/gtest.h>

#include "sim/tests/PanelFixture.h"
#include "sim/units/UnitEvent.h"
#include "sim/units/UnitLine.h"

namespace sim::test {
namespace {

using testsupport::hexBytes;
using testsupport::toHex;

class UnitLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.add(5));
        ASSERT_TRUE(line.add(7));
    }
    // The answer to a request given as hex ("" for none); `mode` is the line's speed mode.
    std::string send(const std::string &frame, int mode = 0) {
        auto tx = line.receive(hexBytes(frame), mode);
        return tx ? toHex(tx->bytes) : "";
    }
    IntUnit &unit(uint8_t address) { return line.find(address)->unit; }

    UnitLine line;
};

TEST_F(UnitLineTest, PollsHandOutStoredEventsOldestFirstThenTheEmptyAnswer) {
    std::string first = request("05 07 4C B8 01 02 03 04 05"), second = request("05 1F 01");
    unit(5).events().push_back(hexBytes(first));
    unit(5).events().push_back(hexBytes(second));
    EXPECT_EQ(send(request("05 02")), first);
    EXPECT_EQ(send(request("05 02")), second);
    EXPECT_EQ(send(request("05 02")), request("05 00"));
    EXPECT_EQ(send(request("07 02")), request("07 00")) << "each unit has its own queue";
    EXPECT_EQ(unit(5).counts().events, 2u);
}

TEST_F(UnitLineTest, RepeatRequestResendsTheLastEventWithoutTakingTheNext) {
    std::string first = request("05 1F 01"), second = request("05 1F 02");
    EXPECT_EQ(send(request("05 12")), request("05 00")) << "nothing sent yet: answered as a poll";
    unit(5).events().push_back(hexBytes(first));
    unit(5).events().push_back(hexBytes(second));
    EXPECT_EQ(send(request("05 02")), first);
    EXPECT_EQ(send(request("05 12")), first);
    EXPECT_EQ(send(request("05 12")), first);
    EXPECT_EQ(send(request("05 02")), second);
    EXPECT_EQ(unit(5).counts().repeats, 3u);
}

TEST_F(UnitLineTest, AnswersByRequest) {
    struct Case {
        const char *what, *request, *answer;
    } cases[] = {
        {"known command is done", "05 08 00 01 12 34 56 78 00", "05 00"},
        {"acknowledged set member", "05 39", "05 00"},
        {"unknown command", "05 70", "05 03 03"},
        {"command of the texts only", "05 13", "05 00"},
    };
    for (const Case &c : cases) EXPECT_EQ(send(request(c.request)), request(c.answer)) << c.what;
    EXPECT_EQ(send("A4 05 02 9F"), request("05 03 01")) << "wrong checksum";
    EXPECT_EQ(send(request("09 02")), "") << "no unit at 9";
    EXPECT_EQ(send("A3 05 A8"), "") << "no code";
}

TEST_F(UnitLineTest, AbsentUnitIsReportedSilentToEveryRequest) {
    unit(5).events().push_back(hexBytes(request("05 1F 01")));
    unit(5).setAbsent(true);
    for (const char *req : {"05 02", "05 12", "05 08"}) EXPECT_EQ(send(request(req)), request("05 62")) << req;
    unit(5).setAbsent(false);
    EXPECT_EQ(send(request("05 02")), request("05 1F 01")) << "the event waited";
}

TEST_F(UnitLineTest, BroadcastIsHeardByAllAndAnsweredByNone) {
    EXPECT_EQ(send(request("FE 08 02")), "");
    EXPECT_EQ(send(request("FE 15")), "");
    EXPECT_EQ(unit(5).counts().broadcasts, 2u);
    EXPECT_EQ(unit(7).counts().broadcasts, 2u);
    EXPECT_EQ(line.find(5)->heard, 0u);
}

TEST_F(UnitLineTest, FaultsShapeTheAnswerOfTheirUnitOnly) {
    FaultSet &faults = line.find(5)->faults;
    faults.set(FaultKind::Error, 4, 1);
    unit(5).events().push_back(hexBytes(request("05 1F 01")));
    EXPECT_EQ(send(request("05 02")), request("05 03 04")) << "the event is not taken";
    faults.set(FaultKind::Silent, 0, 1);
    EXPECT_EQ(send(request("05 02")), "");
    EXPECT_EQ(send(request("07 02")), request("07 00"));
    faults.set(FaultKind::Mode, 1);
    EXPECT_EQ(send(request("05 02"), 0), "");
    EXPECT_EQ(send(request("05 02"), 1), request("05 1F 01"));
    EXPECT_EQ(line.find(5)->heard, 4u);
    EXPECT_EQ(line.find(5)->answered, 2u);
}

TEST(UnitEventTest, EventFramesAndUnitListsFromControlFields) {
    std::string error;
    const CivilTime at{2026, 3, 30, 17, 45, 0};
    EXPECT_EQ(toHex(*parseEventFrame({"5", "0x07", "now", "1", "0xFF"}, 0, at, error)),
              request("05 07 F1 AD 01 FF"))
        << "day 30 = 7 * 4 + 2, hour 17, minute 45";
    for (const std::vector<std::string> &bad : std::vector<std::vector<std::string>>{
             {"5"}, {"251", "7"}, {"5", "7", "256"}, {"5", "7", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}})
        EXPECT_FALSE(parseEventFrame(bad, 0, at, error)) << bad.size();

    EXPECT_EQ(parseUnitList("0-2,9,250"), (std::vector<uint8_t>{0, 1, 2, 9, 250}));
    for (const char *bad : {"", "3-1", "251", "1,", "a"}) EXPECT_FALSE(parseUnitList(bad)) << bad;
}

}  // namespace
}  // namespace sim::test
