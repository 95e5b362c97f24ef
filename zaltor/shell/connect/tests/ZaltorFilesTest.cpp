// "Zaltor.ini" and "Zaltor.log" in a directory of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/TempDir.h"
#include "zaltor/shell/connect/ZaltorLog.h"
#include "zaltor/shell/connect/ZaltorParams.h"

namespace zaltor::shell {
namespace {

TEST(ZaltorParamsTest, ValuesAndDefaults) {
    struct Case {
        const char *ini;  // nullptr: no file
        int replay, sleep;
    };
    const Case cases[] = {
        {nullptr, 3, 50},
        {"[PARAMS]\nReplayParam=1\nSleepParam=0\n", 1, 0},
        {"[params]\n replayparam = 5 \n", 5, 50},
        {"[OTHER]\nReplayParam=7\n", 3, 50},
        {"[PARAMS]\nReplayParam=x\nSleepParam=\n", 3, 50},
        {"[PARAMS]\nSleepParam=-20\n", 3, 0},
    };
    for (const Case &c : cases) {
        testsupport::TempDir dir;
        if (c.ini) dir.write("Zaltor.ini", c.ini);
        const ZaltorParams params = readZaltorParams(dir / "Zaltor.ini");
        EXPECT_EQ(params.replayParam, c.replay) << (c.ini ? c.ini : "no file");
        EXPECT_EQ(params.sleepParam, c.sleep) << (c.ini ? c.ini : "no file");
    }
}

TEST(ZaltorLogTest, NeverCreatesTheFile) {
    testsupport::TempDir dir;
    ZaltorLog(dir / "Zaltor.log").line("text");
    EXPECT_FALSE(std::filesystem::exists(dir / "Zaltor.log"));
}

TEST(ZaltorLogTest, AppendsEachLineAfterTheExistingText) {
    testsupport::TempDir dir;
    dir.write("Zaltor.log", "old\n");
    const ZaltorLog log(dir / "Zaltor.log");
    log.line("Связь найдена");
    log.line("  ");
    EXPECT_EQ(dir.read("Zaltor.log"), "old\nСвязь найдена\n  \n");
}

}  // namespace
}  // namespace zaltor::shell
