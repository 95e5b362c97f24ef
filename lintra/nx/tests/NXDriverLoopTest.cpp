// The NX driver's passes once started: keep-alive, system commands, routing of received
// packets, loss and reconnection, driver commands, the final reset.
#include <gtest/gtest.h>

#include <algorithm>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/NXMsgCodec.h"
#include "lintra/nx/tests/FakeDriver.h"
#include "lintra/nx/tests/ScriptedLink.h"
#include "testsupport/TempDir.h"

namespace lintra::nx::test {
namespace {

constexpr int32_t kLinkUp = TNXDriver::flLinkUp | TNXDriver::flServeLines;

class NXDriverLoopTest : public ::testing::Test {
protected:
    NXDriverLoopTest() : driver_(controller_) {
        const TParamList none;
        driver_.Init(&none);
    }
    // Passes with the clock moved by each pass's pause, until ms have gone.
    void RunFor(uint64_t ms) {
        const uint64_t end = driver_.Time().nowMs() + ms;
        while (driver_.Time().nowMs() < end) driver_.Time().advance(driver_.Pass());
    }
    std::vector<std::string> &Sent() { return driver_.link().sent; }
    static int Count(const std::vector<std::string> &calls, const std::string &call) {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    testsupport::IsolatedHost host_;
    ControllerModel controller_;
    ScriptedDriver driver_;
};

TEST_F(NXDriverLoopTest, LongSilenceAsksTheFirmwareVersionAndTheAnswerFreesTheLines) {
    driver_.Pass();
    ASSERT_TRUE(driver_.Connected());
    Sent().clear();
    RunFor(10000);
    EXPECT_TRUE(Sent().empty());
    RunFor(100);
    EXPECT_EQ(Sent(), std::vector<std::string>{"T0LFG109D00"});
    EXPECT_EQ(driver_.Flags(), kLinkUp);  // answered within the same pass
    EXPECT_TRUE(driver_.Connected());
}

TEST_F(NXDriverLoopTest, UnansweredSystemCommandDropsTheLinkAfterItsTimeOut) {
    driver_.Pass();
    controller_.silent = true;
    RunFor(10100);
    ASSERT_EQ(driver_.Flags(), TNXDriver::flLinkUp | TNXDriver::flSysPending);
    RunFor(3900);
    EXPECT_TRUE(driver_.Connected());
    RunFor(200);
    EXPECT_FALSE(driver_.Connected());
    EXPECT_FALSE(driver_.link().IsOpen());
}

TEST_F(NXDriverLoopTest, DroppedLinkIsOpenedAgainAtOnceAndTheLinesHearOfBoth) {
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 0));
    driver_.Pass();
    ASSERT_TRUE(driver_.Connected());
    driver_.link().Drop();
    driver_.Pass();
    EXPECT_FALSE(driver_.Connected());
    EXPECT_EQ(driver_.link().closes, 1);
    driver_.Pass();
    EXPECT_TRUE(driver_.Connected());
    EXPECT_EQ(Count(line.Calls(), "Connect"), 2);
    EXPECT_EQ(Count(line.Calls(), "Disconnect"), 1);
    EXPECT_EQ(Count(controller_.heard, "T0LFG109D00"), 2);
}

TEST_F(NXDriverLoopTest, ReceivedPacketsGoToTheControllerOrTheirLine) {
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 5));
    driver_.Pass();
    ASSERT_TRUE(driver_.Connected());
    struct Case {
        const char *packet;
        bool staysUp;
    };
    const Case cases[] = {
        {"T0LFA109D03V12", true},   // a version answer of kind 0 counts as the controller's
        {"T2LFA109D00", true},      // wrong kind for line F: logged and ignored
        {"T2L5A203D0201", true},    // to the line at slot 5
        {"T1L6A203D00", false},     // no line at slot 6
        {"T1LFXZZZD00", false},     // does not parse
        {"T1LFA109D05V12", false},  // data shorter than its length
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.packet);
        if (!driver_.Connected()) driver_.Pass();
        ASSERT_TRUE(driver_.Connected());
        driver_.link().Push(std::string(c.packet) + "\r\n");
        driver_.Pass();
        EXPECT_EQ(driver_.Connected(), c.staysUp);
    }
    EXPECT_EQ(Count(line.Calls(), "ReadPkt"), 1);
}

TEST_F(NXDriverLoopTest, LinesHearOfANeverReachedControllerOnceAfterTheFirstWait) {
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 0));
    controller_.reachable = false;
    RunFor(15000);
    EXPECT_EQ(Count(line.Calls(), "Disconnect"), 0);
    RunFor(200);
    EXPECT_EQ(Count(line.Calls(), "Disconnect"), 1);
    RunFor(60000);
    EXPECT_EQ(Count(line.Calls(), "Disconnect"), 1);
    EXPECT_GT(Count(line.Calls(), "Serve"), 100);  // lines are served while the link is down
}

TEST_F(NXDriverLoopTest, PollPaceIsAskedOnceForEachNewValue) {
    driver_.Pass();
    Sent().clear();
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 5, 0), 0);
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 5, 0), 0);
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 256, 0), -1);
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, -1, 0), -1);
    RunFor(100);
    EXPECT_EQ(Sent(), std::vector<std::string>{"T0LFS10AD0205"});
    EXPECT_EQ(driver_.QryDelay(), 5);

    // Lines slower than asked win: the smallest answer to CD_GetQryDelay (FakeLine: 0).
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 1));  // attaching drops the link for a new configuration
    RunFor(100);
    ASSERT_TRUE(driver_.Connected());
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 9, 0), 0);
    EXPECT_EQ(driver_.QryDelay(), 0);
}

TEST_F(NXDriverLoopTest, PaceAskedWhileTheLinkIsDownIsAskedAgainLater) {
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 7, 0), 0);
    EXPECT_EQ(driver_.QryDelay(), 0);
    driver_.Pass();
    EXPECT_EQ(driver_.DoCmd(CD_SetQryDelay, 7, 0), 0);
    EXPECT_EQ(driver_.QryDelay(), 7);
}

// Between passes an idle driver waits for input up to its next deadline (at most a second),
// not 20 ms at a time; lines and queued system commands keep the passes coming.
TEST_F(NXDriverLoopTest, WaitBetweenPassesFollowsTheWorkThereIs) {
    driver_.Pass();
    driver_.Pass();
    EXPECT_EQ(driver_.NextWait(), TNXDriver::kIdleWaitMs);
    RunFor(9500);
    EXPECT_LE(driver_.NextWait(), 520u) << "up to the keep-alive question";
    const uint8_t pace = 9;
    driver_.SendSysCmd(MakeNXMsg("S10A", 15, {&pace, 1}));
    driver_.Time().advance(driver_.Pass());
    EXPECT_EQ(driver_.Flags() & TNXDriver::flSysPending, 0) << "answered at once";
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 0));
    RunFor(2000);
    EXPECT_EQ(driver_.NextWait(), TNXDriver::kReadWaitMs);
}

TEST_F(NXDriverLoopTest, ShutdownReachesTheLinesOnce) {
    FakeLine line(driver_);
    line.SetLineNumber(driver_.AddLine(&line, 0));
    EXPECT_EQ(driver_.DoCmd(CD_Shutdown, 0, 0), 0);
    EXPECT_EQ(driver_.DoCmd(CD_Shutdown, 0, 0), 0);
    EXPECT_EQ(Count(line.Calls(), "Shutdown"), 1);
}

TEST_F(NXDriverLoopTest, NewLineOnAConnectedDriverDropsTheLinkForTheNextHandShake) {
    driver_.Pass();
    FakeLine line(driver_);
    line.SetTypeDigit(2);
    line.SetLineNumber(driver_.AddLine(&line, 3));
    EXPECT_FALSE(driver_.Connected());
    driver_.Pass();
    EXPECT_TRUE(driver_.Connected());
    EXPECT_EQ(controller_.config, "9992999999999999");
}

TEST(NXDriverEndTest, FinalResetGoesOutWhenTheThreadEndsConnected) {
    testsupport::IsolatedHost host;
    for (const bool finalReset : {false, true}) {
        ControllerModel controller;
        auto *driver = new ScriptedDriver(controller);
        const TParamList params = TParamList::FromText(finalReset ? "FinalReset=1" : "");
        driver->Init(&params);
        driver->Attach(240);
        driver->Start();
        ASSERT_TRUE(Eventually([&] { return driver->Connected(); }));
        TCommDriver::Destroy(driver);
        EXPECT_EQ(controller.heard.back() == "T0LFS109D00", finalReset);
    }
}

}  // namespace
}  // namespace lintra::nx::test
