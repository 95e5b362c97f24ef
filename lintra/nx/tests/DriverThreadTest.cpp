// The driver thread's life (created suspended, started, suspended, resumed, finished,
// destroyed), the line events a driver hands its lines, and the shutdown order.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/tests/DriverFixture.h"
#include "lintra/runtime/Logger.h"

namespace lintra::nx::test {
namespace {

using DriverThreadTest = DriverFixture;

TEST_F(DriverThreadTest, CreatedSuspendedStartedSuspendedAndResumed) {
    const int32_t handle = NewDriver("LogLevel=6");
    FakeDriver *driver = Driver(handle);
    EXPECT_EQ(driver->GetState(), TCommDriver::stCreated);
    EXPECT_EQ(driver->Passes(), 0);

    EXPECT_EQ(DriverCommand(handle, CD_Start, 0, 0), 1);
    ASSERT_TRUE(driver->WaitPasses(2));
    EXPECT_EQ(driver->GetState(), TCommDriver::stCreated);

    EXPECT_EQ(DriverCommand(handle, CD_Stop, 0, 0), 1);
    ASSERT_TRUE(driver->WaitState(TCommDriver::stSuspended));
    const int passes = driver->Passes();

    EXPECT_EQ(DriverCommand(handle, CD_Start, 0, 0), 1);
    EXPECT_EQ(driver->GetState(), TCommDriver::stResumed);
    ASSERT_TRUE(driver->WaitPasses(passes + 2));
    EXPECT_EQ(DriverCommand(handle, CD_Start, 0, 0), 0);  // running again: nothing to resume
    const std::string log = host_.dir().read("CommDrv1.log");
    const size_t suspend = log.find("TNXDriver.DrvExecute:: Suspend");
    ASSERT_NE(suspend, std::string::npos);
    EXPECT_NE(log.find("TNXDriver.DrvExecute:: Resume", suspend), std::string::npos);
}

TEST_F(DriverThreadTest, AStopBeforeTheStartSuspendsTheFirstPass) {
    const int32_t handle = NewDriver();
    DriverCommand(handle, CD_Stop, 0, 0);
    // The start both lets the thread run and clears the request.
    EXPECT_EQ(DriverCommand(handle, CD_Start, 0, 0), 1);
    ASSERT_TRUE(Driver(handle)->WaitPasses(1));
}

TEST_F(DriverThreadTest, AnExceptionEndsTheBodyAndIsLogged) {
    const int32_t handle = NewDriver("LogLevel=4");
    FakeDriver *driver = Driver(handle);
    EXPECT_EQ(driver->Log()->Level(), 4);
    driver->ThrowInPass();
    ASSERT_EQ(DriverCommand(handle, CD_Start, 0, 0), 1);
    ASSERT_TRUE(driver->WaitState(TCommDriver::stFinished));
    EXPECT_EQ(driver->Passes(), 1);
    EXPECT_EQ(DriverCommand(handle, CD_Start, 0, 0), 0);
    EXPECT_EQ(DriverCommand(handle, CD_Ping, 0, 0), 1);  // it stays in the table until destroyed
    EXPECT_NE(host_.dir().read("CommDrv1.log").find("TCommDriver:: Exception in DrvExecute: pass failed"),
              std::string::npos);
}

TEST_F(DriverThreadTest, TheLogLevelParameterAppliesAndPasswordsStayOut) {
    const int32_t handle = NewDriver("LogLevel=5\r\nPassword=secret");
    EXPECT_EQ(Driver(handle)->Log()->Level(), 5);
    const std::string log = host_.dir().read("CommDrv1.log");
    EXPECT_NE(log.find("Init"), std::string::npos);
    EXPECT_NE(log.find("Password=***"), std::string::npos);
    EXPECT_EQ(log.find("secret"), std::string::npos);
    // A negative level keeps the one the log started with.
    const int32_t quiet = NewDriver("LogLevel=-1");
    EXPECT_EQ(Driver(quiet)->Log()->Level(), Driver(quiet)->Log()->Settings().level);
}

TEST_F(DriverThreadTest, DestroyEndsAThreadInEveryState) {
    const int32_t neverStarted = NewDriver();
    const int32_t running = NewDriver();
    const int32_t suspended = NewDriver();
    DriverCommand(running, CD_Start, 0, 0);
    DriverCommand(suspended, CD_Start, 0, 0);
    DriverCommand(suspended, CD_Stop, 0, 0);
    ASSERT_TRUE(Driver(running)->WaitPasses(1));
    ASSERT_TRUE(Driver(suspended)->WaitState(TCommDriver::stSuspended));
    for (int32_t handle : {neverStarted, running, suspended}) EXPECT_EQ(DriverCommand(handle, CD_Destroy, 0, 0), 1);
    EXPECT_EQ(DriverCount(), 0);
}

// Destroying while the thread is inside a pass waits for the pass; the pass still reaches its
// lines, which are destroyed only after it.
TEST_F(DriverThreadTest, DestroyDuringAPassWaitsForThePass) {
    const int32_t handle = NewDriver();
    const int32_t line = NewLine(handle);
    FakeDriver *driver = Driver(handle);
    ASSERT_TRUE(StartHeld(handle));

    std::atomic<bool> destroyed{false};
    std::thread destroyer([&] {
        DriverCommand(handle, CD_Destroy, 0, 0);
        destroyed = true;
    });
    EXPECT_FALSE(destroyed.load());
    EXPECT_EQ(FakeLine::alive.load(), 1);
    driver->Release();
    destroyer.join();
    EXPECT_TRUE(destroyed.load());
    EXPECT_EQ(LineCommand(line, CD_Ping, 0, 0), kNoObject);
}

TEST_F(DriverThreadTest, LineDestroyDuringAPassWaitsForThePass) {
    const int32_t handle = NewDriver();
    const int32_t line = NewLine(handle);
    FakeDriver *driver = Driver(handle);
    ASSERT_TRUE(StartHeld(handle));

    std::thread destroyer([&] { LineCommand(line, CD_Destroy, 0, 0); });
    EXPECT_EQ(FakeLine::alive.load(), 1);
    driver->Release();  // the pass serves the line, then the line goes
    destroyer.join();
    EXPECT_EQ(FakeLine::alive.load(), 0);
    EXPECT_EQ(driver->Line(0), nullptr);
}

TEST_F(DriverThreadTest, LinesHearTheDriversEventsWhileEnabled) {
    const int32_t handle = NewDriver();
    FakeLine *line = Line(NewLine(handle));
    uint8_t storage[4] = {};
    TCommBuff packet(storage, sizeof storage);
    packet.length = 3;
    struct Case {
        int32_t event;
        TCommBuff *buffer;
        int32_t answer;
        const char *call;  // nullptr: none
    };
    const Case cases[] = {
        {TCommLine::evNone, nullptr, 0, nullptr},
        {TCommLine::evConnect, nullptr, 0, "Connect"},
        {TCommLine::evDisconnect, nullptr, 0, "Disconnect"},
        {TCommLine::evReadPkt, &packet, 3, "ReadPkt"},
        {TCommLine::evReadPkt, nullptr, -1, nullptr},
        {TCommLine::evServe, nullptr, 5, "Serve"},
        {TCommLine::evServeAgain, nullptr, 5, "Serve"},
        {TCommLine::evShutdown, nullptr, 0, "Shutdown"},
        {3, nullptr, -1, nullptr},
        {7, nullptr, -1, nullptr},
        {11, nullptr, -1, nullptr},
    };
    std::vector<std::string> expected;
    for (const Case &c : cases) {
        EXPECT_EQ(line->Notify(c.event, c.buffer), c.answer) << "event " << c.event;
        if (c.call) expected.emplace_back(c.call);
    }
    EXPECT_EQ(line->Calls(), expected);

    line->SetEnabled(false);
    for (const Case &c : cases) EXPECT_EQ(line->Notify(c.event, c.buffer), 0) << "event " << c.event;
    Driver(handle)->NotifyLines(TCommLine::evConnect, nullptr);
    EXPECT_EQ(line->Calls(), expected);
}

TEST(CommBuffTest, ClearZeroesTheWholeCapacity) {
    uint8_t storage[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    TCommBuff buffer(storage, sizeof storage);
    buffer.length = 2;
    buffer.Clear();
    EXPECT_EQ(buffer.length, 0);
    for (uint8_t byte : storage) EXPECT_EQ(byte, 0);
}

}  // namespace
}  // namespace lintra::nx::test
