// Handles, tables and command results of the Driver API, run in-process over the fake types.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/tests/DriverFixture.h"

namespace lintra::nx::test {
namespace {

using DriverApiTest = DriverFixture;

TEST_F(DriverApiTest, UnregisteredTypesAreUnsupportedAndLeaveTheTablesAlone) {
    for (int32_t type : {0, 1, 2, 3, -1, INT32_MAX}) EXPECT_EQ(CreateDriver(type, "Port=1"), kUnsupported) << type;
    EXPECT_EQ(DriverCount(), 0);
    const int32_t driver = NewDriver();
    for (int32_t type : {0, 4, 5, FakeDriver::kType}) EXPECT_EQ(CreateLine(driver, -1, type, ""), kUnsupported) << type;
    EXPECT_EQ(LineCount(), 0);
}

TEST_F(DriverApiTest, AFreedHandleIsTheNextOneGivenOut) {
    EXPECT_EQ(NewDriver(), 1);
    EXPECT_EQ(DriverCommand(1, CD_Destroy, 0, 0), 1);
    EXPECT_EQ(DriverCount(), 0);
    EXPECT_EQ(NewDriver(), 1);
    EXPECT_EQ(NewDriver(), 2);
    EXPECT_EQ(NewDriver("Refuse=1"), kRefused);  // took handle 3 and gave it back
    EXPECT_EQ(NewDriver(), 3);
    EXPECT_EQ(NewLine(1), 1);
    EXPECT_EQ(NewLine(1, -1, "Refuse=1"), kRefused);
    EXPECT_EQ(NewLine(1), 2);
    EXPECT_EQ(Driver(1)->Line(1), Line(2));  // the refused line left its driver slot too
}

TEST_F(DriverApiTest, AFullDriverTableRefusesTheNextDriver) {
    for (int32_t handle = 1; handle <= 255; ++handle) ASSERT_EQ(NewDriver(), handle);
    EXPECT_EQ(NewDriver(), kNoObject);
    EXPECT_EQ(DriverCount(), 255);
}

TEST_F(DriverApiTest, AFullLineTableAnswersZero) {
    const int32_t driver = NewDriver();
    // Beyond the driver's 33 slots the lines exist unattached.
    for (int32_t handle = 1; handle <= 255; ++handle) ASSERT_EQ(NewLine(driver), handle);
    EXPECT_EQ(Line(255)->LineNumber(), -1);
    EXPECT_EQ(NewLine(driver), 0);
    EXPECT_EQ(LineCount(), 255);
    EXPECT_EQ(FakeLine::alive.load(), 255);
}

TEST_F(DriverApiTest, HandlesThatNameNothingAreRefused) {
    const int32_t driver = NewDriver();
    const int32_t line = NewLine(driver);
    for (int32_t handle : {0, -1, 256, INT32_MIN, INT32_MAX, 7}) {
        EXPECT_EQ(DriverCommand(handle, CD_Ping, 0, 0), 0) << handle;
        EXPECT_EQ(LineCommand(handle, CD_Ping, 0, 0), kNoObject) << handle;
        EXPECT_EQ(CreateLine(handle, -1, FakeLine::kType, ""), kNoObject) << handle;
    }
    EXPECT_EQ(DriverCommand(driver, CD_Ping, 0, 0), 1);
    EXPECT_EQ(LineCommand(line, CD_Ping, 0, 0), 1);
    EXPECT_EQ(LineCount(), 1);
}

TEST_F(DriverApiTest, DriverCommandResults) {
    const uint8_t bytes[3] = {1, 2, 3};
    const auto address = reinterpret_cast<intptr_t>(bytes);
    struct Case {
        const char *params;
        int32_t cmd;
        intptr_t p1;
        intptr_t p2;
        int32_t expected;
    };
    const Case cases[] = {
        {"", CD_Ping, 0, 0, 1},
        {"", CD_Stop, 0, 0, 1},
        {"", CD_Connect, 0, 0, 1},
        {"Reachable=0", CD_Connect, 0, 0, 0},
        {"", CD_Disconnect, 0, 0, 1},
        {"", CD_SendBuf, address, 3, -1},  // the fake's transport is down until connected
        {"", CD_SendBuf, 0, 3, kNoObject},
        {"", CD_SendBuf, address, -1, kNoObject},
        {"", CD_SendBuf, address, static_cast<intptr_t>(INT32_MAX) + 1, kNoObject},
        // Codes of the controller driver and unknown codes do nothing in the base.
        {"", CD_Shutdown, 0, 0, 0},
        {"", CD_SetPassword, 0, 0, 0},
        {"", CD_SetQryDelay, 5, 0, 0},
        {"", 0, 0, 0, 0},
        {"", -7, 0, 0, 0},
        {"", 999, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const int32_t driver = NewDriver(c.params);
        EXPECT_EQ(DriverCommand(driver, c.cmd, c.p1, c.p2), c.expected) << "cmd " << c.cmd << " " << c.params;
        EXPECT_EQ(DriverCommand(driver, CD_Destroy, 0, 0), 1);
    }
    const int32_t driver = NewDriver();
    ASSERT_EQ(DriverCommand(driver, CD_Connect, 0, 0), 1);
    EXPECT_EQ(DriverCommand(driver, CD_SendBuf, address, 3), 0);
    EXPECT_EQ(Driver(driver)->Sent(), 3);
}

TEST_F(DriverApiTest, LineCommandResults) {
    const int32_t line = NewLine(NewDriver());
    struct Case {
        int32_t cmd;
        intptr_t p1;
        int32_t expected;
    };
    const Case cases[] = {
        {CD_Ping, 0, 1},
        {CD_GetLineType, 0, FakeLine::kType},
        {CD_RcvQCount, 0, 0},
        {CD_RcvQFree, 0, 0},
        {CD_SndQCount, 0, 0},
        {CD_SndQFree, 0, 0},
        {CD_SetTag, -42, 0},
        {CD_SendBuf, 0, 0},  // no bytes: the line's SendBuf answers the length
        {CD_SendCmd, 0, 0},
        {CD_GetState, 0, 0},
        {CD_Shutdown, 0, 0},
        {999, 0, 0},
    };
    for (const Case &c : cases) EXPECT_EQ(LineCommand(line, c.cmd, c.p1, 0), c.expected) << "cmd " << c.cmd;
    EXPECT_EQ(Line(line)->Tag(), -42);
    EXPECT_EQ(Line(line)->Calls(), std::vector<std::string>{"SendBuf"});
    EXPECT_EQ(LineCommand(line, CD_Destroy, 0, 0), 1);
    EXPECT_EQ(LineCommand(line, CD_Ping, 0, 0), kNoObject);
    EXPECT_EQ(LineCount(), 0);
}

TEST_F(DriverApiTest, LinesTakeTheLowestFreeSlotOrTheOneAsked) {
    const int32_t driver = NewDriver();
    const int32_t first = NewLine(driver);
    const int32_t second = NewLine(driver);
    EXPECT_EQ(Line(first)->LineNumber(), 0);
    EXPECT_EQ(Line(second)->LineNumber(), 1);
    EXPECT_EQ(Line(NewLine(driver, 32))->LineNumber(), 32);
    for (int32_t slot : {33, -2, INT32_MIN}) EXPECT_EQ(Line(NewLine(driver, slot))->LineNumber(), -1) << slot;
    EXPECT_EQ(LineCommand(first, CD_Destroy, 0, 0), 1);
    EXPECT_EQ(Driver(driver)->Line(0), nullptr);
    EXPECT_EQ(Line(NewLine(driver))->LineNumber(), 0);
}

// A line displaced from its slot, or one that got none, still belongs to its driver and goes
// with it: no handle is left naming a line whose driver is gone.
TEST_F(DriverApiTest, DestroyingADriverDestroysEveryLineOfIt) {
    const int32_t driver = NewDriver();
    const int32_t other = NewDriver();
    const int32_t displaced = NewLine(driver, 3);
    const int32_t inSlot = NewLine(driver, 3);
    const int32_t unattached = NewLine(driver, 40);
    const int32_t kept = NewLine(other, 3);
    EXPECT_EQ(Driver(driver)->Line(3), Line(inSlot));
    LineCommand(displaced, CD_Destroy, 0, 0);  // leaves the slot of the line that displaced it
    EXPECT_EQ(Driver(driver)->Line(3), Line(inSlot));
    NewLine(driver, 5);

    EXPECT_EQ(DriverCommand(driver, CD_Destroy, 0, 0), 1);
    EXPECT_EQ(LineCount(), 1);
    for (int32_t gone : {inSlot, unattached}) EXPECT_EQ(LineCommand(gone, CD_Ping, 0, 0), kNoObject);
    EXPECT_EQ(LineCommand(kept, CD_Ping, 0, 0), 1);
    EXPECT_EQ(Driver(other)->Line(3), Line(kept));
}

TEST_F(DriverApiTest, DriversDestroyEmptiesBothTables) {
    EXPECT_EQ(DestroyAllDrivers(), 0);
    for (int i = 0; i < 3; ++i) {
        const int32_t driver = NewDriver();
        NewLine(driver);
        NewLine(driver);
    }
    ASSERT_EQ(DriverCommand(2, CD_Start, 0, 0), 1);
    EXPECT_EQ(DestroyAllDrivers(), 0);
    EXPECT_EQ(DriverCount(), 0);
    EXPECT_EQ(LineCount(), 0);
    EXPECT_EQ(NewDriver(), 1);
}

}  // namespace
}  // namespace lintra::nx::test
