// The start-up exchange of the NX driver against a scripted controller, on a manual clock.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/tests/FakeDriver.h"
#include "lintra/nx/tests/ScriptedLink.h"
#include "testsupport/TempDir.h"

namespace lintra::nx::test {
namespace {

const std::string kEmptyConfig(16, '9');

class NXHandShakeTest : public ::testing::Test {
protected:
    NXHandShakeTest() : driver_(controller_) {}
    bool Init(const std::string &params) {
        const TParamList list = TParamList::FromText(params.c_str());
        return driver_.Init(&list);
    }
    std::vector<std::string> &Sent() { return driver_.link().sent; }

    testsupport::IsolatedHost host_;
    ControllerModel controller_;
    ScriptedDriver driver_;
};

TEST_F(NXHandShakeTest, StartNoticeThenFirmwareAndConfigurationInOrder) {
    Init("");
    const uint64_t start = driver_.Time().nowMs();
    ASSERT_TRUE(driver_.Connect());
    EXPECT_EQ(Sent(), (std::vector<std::string>{"T0LFG109D00", "T0LFG101D00", "T0LFS101D10" + kEmptyConfig,
                                                "T0LFG101D00"}));
    EXPECT_EQ(driver_.FirmwareVersion(), "NCX 2.07");
    EXPECT_EQ(driver_.Flags(), TNXDriver::flLinkUp | TNXDriver::flServeLines);
    // The configuration answer is read on for a second after the question.
    EXPECT_GE(driver_.Time().nowMs() - start, TNXDriver::kConfigHoldMs);
    EXPECT_LT(driver_.Time().nowMs() - start, TNXDriver::kConfigHoldMs + 200);
}

TEST_F(NXHandShakeTest, PasswordAskedAtConfigurationGoesOutZeroFilled) {
    Init("Password=s3cret");
    controller_.password = "s3cret";
    ASSERT_TRUE(driver_.Connect());
    ASSERT_EQ(Sent().size(), 5u);
    EXPECT_EQ(Sent()[2], "T0LFS10CD10" + std::string("s3cret") + std::string(10, '\0'));
    EXPECT_EQ(Sent()[3], "T0LFS101D10" + kEmptyConfig);
    EXPECT_TRUE(controller_.authorised);
}

TEST_F(NXHandShakeTest, RefusedPasswordPausesAndClosesTheLink) {
    Init("Password=wrong");
    controller_.password = "right";
    const uint64_t start = driver_.Time().nowMs();
    EXPECT_FALSE(driver_.Connect());
    EXPECT_FALSE(driver_.Connected());
    EXPECT_FALSE(driver_.link().IsOpen());
    EXPECT_GE(driver_.Time().nowMs() - start, TNXDriver::kRefusedPasswordPauseMs);
    EXPECT_EQ(Sent().back().substr(0, 11), "T0LFS10CD10");
}

TEST_F(NXHandShakeTest, WithoutStartNoticeTheControllerIsResetAndTheNextAttemptComesLater) {
    Init("");
    controller_.startNotice = false;
    ASSERT_EQ(driver_.Pass(), 100u);  // the attempt: reset, then give up
    EXPECT_EQ(Sent(), std::vector<std::string>{"T0LFS109D00"});
    EXPECT_FALSE(driver_.Connected());

    controller_.startNotice = true;  // the reset controller announces itself from now on
    const uint64_t failedAt = driver_.Time().nowMs();
    while (driver_.Time().nowMs() - failedAt < TNXDriver::kRetryMs) {
        ASSERT_EQ(driver_.Pass(), 100u);
        ASSERT_EQ(Sent().size(), 1u);
        driver_.Time().advance(100);
    }
    driver_.Pass();
    EXPECT_TRUE(driver_.Connected());
    EXPECT_EQ(Sent()[1], "T0LFG109D00");
}

TEST_F(NXHandShakeTest, ResetOfAPasswordProtectedControllerGivesThePasswordFirst) {
    Init("Password=pw");
    controller_.password = "pw";
    controller_.startNotice = false;
    EXPECT_FALSE(driver_.Connect());
    EXPECT_EQ(Sent(), (std::vector<std::string>{"T0LFS109D00", "T0LFS10CD10pw" + std::string(14, '\0'),
                                                "T0LFS109D00"}));
}

TEST_F(NXHandShakeTest, ConfigurationTheControllerDoesNotTakeFailsTheAttempt) {
    Init("");
    controller_.configEcho = "2999999999999999";
    EXPECT_FALSE(driver_.Connect());
    EXPECT_FALSE(driver_.link().IsOpen());
}

TEST_F(NXHandShakeTest, ConfigurationNamesTheTypeDigitOfEachAttachedLine) {
    Init("");
    FakeLine t2(driver_), t3(driver_);
    t2.SetTypeDigit(2);
    t3.SetTypeDigit(3);
    t2.SetLineNumber(driver_.AddLine(&t2, 0));
    t3.SetLineNumber(driver_.AddLine(&t3, 2));
    ASSERT_TRUE(driver_.Connect());
    EXPECT_EQ(Sent()[2], "T0LFS101D10" + std::string("293") + std::string(13, '9'));
}

TEST_F(NXHandShakeTest, VersionQuestionWithoutAnswerFails) {
    Init("");
    controller_.silent = true;
    EXPECT_FALSE(driver_.Connect());
    EXPECT_EQ(Sent(), std::vector<std::string>{"T0LFG109D00"});
}

TEST_F(NXHandShakeTest, PasswordNeverReachesTheLogInClear) {
    driver_.Attach(250);
    Init("LogLevel=9\r\nPassword=TopSecret7");
    controller_.password = "TopSecret7";
    ASSERT_TRUE(driver_.Connect());
    const char *secret = "TopSecret7";
    ASSERT_EQ(driver_.DoCmd(CD_SetPassword, reinterpret_cast<intptr_t>(secret), 0), 0);
    driver_.Disconnect();
    ASSERT_TRUE(driver_.Connect());
    std::ifstream file("CommDrv250.log");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("T0LFS10CD10"), std::string::npos);
    EXPECT_EQ(text.str().find("TopSecret"), std::string::npos);
    EXPECT_EQ(text.str().find("54 6F 70 53"), std::string::npos);  // nor as hexadecimal bytes
}

}  // namespace
}  // namespace lintra::nx::test
