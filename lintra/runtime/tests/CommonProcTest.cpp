#include "lintra/runtime/CommonProc.h"

#include <gtest/gtest.h>

#include "LogFixture.h"
#include "lintra/ports/EventRecord.h"
#include "lintra/runtime/Logger.h"

namespace lintra {
namespace {

using runtime_test::GetDword;
using runtime_test::KeyExists;
using runtime_test::kLoggingRoot;
using runtime_test::Lines;
using runtime_test::SetDword;

constexpr std::string_view kLevels = "Software\\Tessel\\Lintra\\Logging";
constexpr std::string_view kSpeeds = "Software\\Tessel\\Lintra\\Speeds";
constexpr std::string_view kPolicy = "Software\\Tessel\\Lintra\\Policy";
constexpr std::string_view kPortServer = "Software\\Tessel\\Lintra\\PortServer";

class CommonProcTest : public runtime_test::IsolatedTest {
protected:
    ~CommonProcTest() override { CommonProcUnload(); }
    std::vector<std::string> LogFiles() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(host_.dir().path())) {
            std::string name = entry.path().filename().string();
            if (name.find(".log") != std::string::npos) names.push_back(name);
        }
        return names;
    }
};

TEST_F(CommonProcTest, EmptyStoreLoadsDefaultsAndNeverCreatesALogFile) {
    CommonProcLoad();
    for (std::string_view key : {kPortServer, kLevels, kSpeeds, kPolicy}) EXPECT_TRUE(KeyExists(key)) << key;
    EXPECT_EQ(GetDword(kLoggingRoot, "LimRecs"), 100000u);
    for (const char *log : {"lintra.log", "ContrCommand.log", "orvel.log", "orvel_diagn.log", "orvel_mon.log",
                            "orvel_com.log", "orvel_hotel.log"}) {
        EXPECT_TRUE(KeyExists(std::string(kLoggingRoot) + "\\" + log)) << log;
    }
    ASSERT_NE(LineLog(0), nullptr);
    EXPECT_EQ(LineLog(0)->Level(), 0);
    ASSERT_NE(CommandLog(), nullptr);
    for (int line = 1; line < kLineCount; ++line) ASSERT_EQ(LineLog(line), nullptr) << line;

    EXPECT_EQ(CycleCount(), 1);
    for (int line : {0, 1, 255}) EXPECT_EQ(LineSpeedMode(line), 1) << line;
    const PolicySettings &p = Policy();
    EXPECT_EQ(p.reqTimeout, 2);
    EXPECT_EQ(p.skipIfEmpty, 1);
    EXPECT_EQ(p.prepareToRestartTimeout + p.shortTimeout + p.cycleTimeout, 0);
    EXPECT_TRUE(p.steps.empty());
    EXPECT_EQ(std::count(p.specialUnit.begin(), p.specialUnit.end(), true), 0);
    EXPECT_FALSE(p.special);

    LogMain("nobody reads this", 1);
    LogLine(5, "nor this", 1);
    CommonProcUnload();
    EXPECT_TRUE(LogFiles().empty());
}

TEST_F(CommonProcTest, UnusableStoreEndsTheLoadQuietlyWithBuiltInValues) {
    host_.dir().write("not-a-directory", "");
    testsupport::ScopedEnv hive("TESSEL_USER_HIVE", (host_.dir() / "not-a-directory" / "user.reg").string());
    host_.dir().write("discmd.ini", "[LINE0]\nDISABLED=05\n");
    CommonProcLoad();
    EXPECT_EQ(LineLog(0), nullptr);
    EXPECT_EQ(CommandLog(), nullptr);
    EXPECT_EQ(CycleCount(), 1);
    EXPECT_EQ(LineSpeedMode(3), 1);
    EXPECT_EQ(Policy().reqTimeout, 2);
    const uint8_t five[] = {0xA3, 0xFB, 0x05};
    EXPECT_FALSE(IsCommandDisabled(1, five));  // the file is read after the store's first keys
    LogMain("no log to go to", 1);
}

TEST_F(CommonProcTest, LineLogsExistOnlyWhereLevelsAskForThem) {
    SetDword(kLoggingRoot, "MaxLevel", 9);
    SetDword(kLevels, "Line3", 2);
    SetDword(kLevels, "Line5", 4099);  // 4096 is taken off
    auto levels = tessel::RegKey::open(tessel::Hive::CurrentUser, kLevels, true);
    levels->writeString("Line6", "7");  // not an integer: the default 0
    CommonProcLoad();
    EXPECT_EQ(LineLog(0)->Level(), 0);
    ASSERT_NE(LineLog(3), nullptr);
    EXPECT_EQ(LineLog(3)->Level(), 2);
    ASSERT_NE(LineLog(5), nullptr);
    EXPECT_EQ(LineLog(5)->Level(), 3);
    EXPECT_EQ(LineLog(4), nullptr);
    EXPECT_EQ(LineLog(6), nullptr);
    EXPECT_EQ(LineLog(300), nullptr);
    EXPECT_EQ(LineLog(-1), nullptr);
    EXPECT_TRUE(LineLogEnabled(5, 3));
    EXPECT_FALSE(LineLogEnabled(5, 4));
    EXPECT_FALSE(LineLogEnabled(4, 1));

    LogLine(3, "line three", 2);
    LogLine(4, "no log", 2);
    LogLine(300, "out of range", 2);
    LogMain("general log is at 0", 1);
    CommonProcUnload();
    EXPECT_EQ(LogFiles(), std::vector<std::string>{"Line3lintra.log"});
    EXPECT_FALSE(KeyExists(std::string(kLoggingRoot) + "\\Line3lintra.log"));  // line logs make no key
}

TEST_F(CommonProcTest, LineZeroRaisesEveryLineLog) {
    SetDword(kLoggingRoot, "MaxLevel", 9);
    SetDword(kLevels, "Line0", 4098);
    SetDword(kLevels, "Line9", 4);
    SetDword(kLevels, "Line10", 1);
    CommonProcLoad();
    EXPECT_EQ(LineLog(0)->Level(), 2);
    EXPECT_EQ(CommandLog()->Level(), 2);
    for (int line = 1; line < kLineCount; ++line) {
        ASSERT_NE(LineLog(line), nullptr) << line;
        EXPECT_EQ(LineLog(line)->Level(), line == 9 ? 4 : 2) << line;
    }
}

TEST_F(CommonProcTest, LoadDeletesTheObsoleteSubkeysOfTheLevelsKey) {
    const std::string levels(kLevels);
    for (const char *sub : {"LogLimRecs", "LogLimTime", "LogMaxFiles", "LogRotate", "Mode", "Keep"}) {
        SetDword(levels + "\\" + sub, "x", 1);
    }
    CommonProcLoad();
    for (const char *sub : {"LogLimRecs", "LogLimTime", "LogMaxFiles", "LogRotate", "Mode"}) {
        EXPECT_FALSE(KeyExists(levels + "\\" + sub)) << sub;
    }
    EXPECT_TRUE(KeyExists(levels + "\\Keep"));
}

TEST_F(CommonProcTest, SpeedsPolicyAndCycleCount) {
    SetDword(kPortServer, "CycleCount", 4);
    SetDword(kSpeeds, "UseAutoSpeed", 1);
    SetDword(kSpeeds, "Line4", 0x102);  // the low byte counts
    SetDword(kPolicy, "ReqTimeout", 7);
    SetDword(kPolicy, "NoConnCount1", 3);
    SetDword(kPolicy, "SkipCount1", 5);
    SetDword(kPolicy, "Time1", 2);
    SetDword(kPolicy, "NoConnCount2", 9);  // SkipCount2 is missing: the table ends at entry 1
    SetDword(kPolicy, "Time2", 9);
    SetDword(kPolicy, "Addr0A", 1);
    SetDword(kPolicy, "AddrFA", 1);
    SetDword(kPolicy, "Addr0B", 0);
    SetDword(kPolicy, "Special", 1);
    CommonProcLoad();
    EXPECT_EQ(CycleCount(), 4);
    EXPECT_EQ(LineSpeedMode(1), 0);
    EXPECT_EQ(LineSpeedMode(4), 2);
    EXPECT_EQ(LineSpeedMode(256), 1);
    const PolicySettings &p = Policy();
    EXPECT_EQ(p.reqTimeout, 7);
    ASSERT_EQ(p.steps.size(), 1u);
    EXPECT_EQ(p.steps[0].noConnCount, 3);
    EXPECT_EQ(p.steps[0].skipCount, 5);
    EXPECT_EQ(p.steps[0].timeMs, 2000);
    std::vector<int> special;
    for (size_t a = 0; a < p.specialUnit.size(); ++a) {
        if (p.specialUnit[a]) special.push_back(static_cast<int>(a));
    }
    EXPECT_EQ(special, (std::vector<int>{0x0A, 0xFA}));
    EXPECT_TRUE(p.special);
}

TEST_F(CommonProcTest, DumpEntryPointsStayInsideTheirData) {
    SetDword(kLoggingRoot, "MaxLevel", 9);
    SetDword(kLevels, "Line2", 9);
    CommonProcLoad();
    EventRecord record{};
    record.data_length = 200;  // more than the record holds
    for (uint8_t i = 0; i < kEventDataBytes; ++i) record.data[i] = static_cast<uint8_t>(0xB0 + i);
    LogLineEvent(2, "event", record, 5);
    std::array<uint8_t, 16> bytes{};
    bytes[15] = 0xEE;
    LogLineBytes16(2, "by value", bytes, 5);
    LogLineBytes16Ref(2, "by reference", bytes, 5);
    LogLineBuffer(2, "negative length", bytes.data(), 5, -4);
    LogLineEvent(300, "no such line", record, 5);
    CommonProcUnload();
    std::vector<std::string> lines = Lines(Read("Line2lintra.log"));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[2], " B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 -- -- -- -- -- --  ");
    EXPECT_EQ(lines[4], " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 EE  ");
    EXPECT_EQ(lines[6], lines[4]);
    EXPECT_NE(lines[7].find("negative length"), std::string::npos);
}

TEST_F(CommonProcTest, DisabledCommandsComeFromTheCurrentDirectory) {
    host_.dir().write("discmd.ini", "[LINE0]\nDISABLED=05\n[ line 7 ]\nDISABLED=FE-FF\n");
    CommonProcLoad();
    const uint8_t fe[] = {0xA3, 0xFB, 0xFE};
    const uint8_t five[] = {0xA3, 0xFB, 0x05};
    EXPECT_TRUE(IsCommandDisabled(7, fe));
    EXPECT_FALSE(IsCommandDisabled(8, fe));
    EXPECT_TRUE(IsCommandDisabled(200, five));
    EXPECT_FALSE(IsCommandDisabled(7, std::span<const uint8_t>(fe, 2)));  // no code byte
    CommonProcUnload();
    EXPECT_FALSE(IsCommandDisabled(7, fe));
}

}  // namespace
}  // namespace lintra
