#include "lintra/runtime/Logger.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "LogFixture.h"

namespace lintra {
namespace {

using runtime_test::GetDword;
using runtime_test::KeyExists;
using runtime_test::kLoggingRoot;
using runtime_test::Lines;
using runtime_test::ParseRecord;
using runtime_test::RecordTexts;
using runtime_test::SetDword;
using Strings = std::vector<std::string>;

const std::string kOwnKey = std::string(kLoggingRoot) + "\\t.log";

class LoggerTest : public runtime_test::IsolatedTest {
protected:
    // Library-wide values that let records through and keep rotation out of the way.
    void AllowLevel(int maxLevel, int limRecs = 0, int limTime = 0) {
        SetDword(kLoggingRoot, "MaxLevel", maxLevel);
        SetDword(kLoggingRoot, "LimRecs", limRecs);
        SetDword(kLoggingRoot, "LimTime", limTime);
    }
    Strings Texts(const std::string &name) const { return RecordTexts(Read(name)); }
};

TEST_F(LoggerTest, EmptyStoreGetsTheLibraryWideDefaultsWrittenBack) {
    LoggerSettings s = ResolveLoggerSettings("t.log", 7, lmDeferOpen);
    EXPECT_EQ(s.level, 0);  // "MaxLevel" 0 cuts every request
    EXPECT_EQ(GetDword(kLoggingRoot, "MaxLevel"), 0u);
    EXPECT_EQ(GetDword(kLoggingRoot, "LimRecs"), 100000u);
    EXPECT_EQ(GetDword(kLoggingRoot, "LimTime"), 4320u);
    EXPECT_EQ(GetDword(kLoggingRoot, "MaxFiles"), 1u);
    EXPECT_EQ(GetDword(kLoggingRoot, "Rotate"), 1u);
    EXPECT_TRUE(KeyExists(kOwnKey));
    ResolveLoggerSettings("Line3lintra.log", 7, lmDeferOpen | lmNoRegistryKey);
    EXPECT_FALSE(KeyExists(std::string(kLoggingRoot) + "\\Line3lintra.log"));
}

TEST_F(LoggerTest, LevelIsCutByMaxLevelAndTheLogsOwnKeyOverridesBoth) {
    struct Case {
        int maxLevel, requested;
        std::optional<int> ownMaxLevel;
        int expected;
    };
    for (Case c : {Case{5, 9, {}, 5}, Case{5, 3, {}, 3}, Case{5, 3, 8, 8}, Case{0, 3, 2, 2}}) {
        SetDword(kLoggingRoot, "MaxLevel", c.maxLevel);
        if (c.ownMaxLevel) SetDword(kOwnKey, "MaxLevel", *c.ownMaxLevel);
        else tessel::deleteKey(tessel::Hive::CurrentUser, kOwnKey);
        EXPECT_EQ(ResolveLoggerSettings("dir/t.log", c.requested, 0).level, c.expected)
            << c.maxLevel << " " << c.requested;
    }
    SetDword(kOwnKey, "Mode", lmCloseEachRecord);
    SetDword(kOwnKey, "LimRecs", 7);
    LoggerSettings s = ResolveLoggerSettings("t.log", 1, lmDeferOpen);
    EXPECT_EQ(s.mode, lmCloseEachRecord);
    EXPECT_EQ(s.recordLimit, 7);
}

TEST_F(LoggerTest, WritesRecordsUpToItsLevelOnOneLineEachBetweenBanners) {
    AllowLevel(5);
    {
        TLogger log("t.log", 5, lmDeferOpen);
        EXPECT_FALSE(Exists("t.log"));  // deferred: nothing before the first record
        EXPECT_TRUE(log.Write(5, "at the level"));
        EXPECT_TRUE(log.Write(6, "above the level"));
        EXPECT_TRUE(log.Write(2, "two\r\nlines"));
    }
    EXPECT_EQ(Texts("t.log"), (Strings{"---------- Старт [t.log], уровень 5", "at the level", "two  lines",
                                       "---------- Стоп [t.log]"}));
    std::vector<int> levels;
    for (const std::string &line : Lines(Read("t.log"))) levels.push_back(ParseRecord(line)->level);
    EXPECT_EQ(levels, (std::vector<int>{1, 5, 2, 1}));
}

TEST_F(LoggerTest, LevelZeroWritesNothingAndAnUndeferredLogOpensAtOnce) {
    AllowLevel(0);
    { TLogger("quiet.log", 3, lmDeferOpen).Write(0, "level 0 record"); }
    EXPECT_FALSE(Exists("quiet.log"));
    AllowLevel(3);
    TLogger open("open.log", 3, 0);
    EXPECT_TRUE(open.Opened());
    EXPECT_TRUE(Exists("open.log"));
}

TEST_F(LoggerTest, BufferedRecordsGoOutOnErrorsOnAgeAndAtTheEnd) {
    AllowLevel(9);
    tessel::ManualClock clock;
    auto log = std::make_unique<TLogger>("t.log", 9, lmDeferOpen, clock);
    log->Write(5, "detail");
    EXPECT_EQ(Read("t.log"), "");
    log->Write(2, "error");
    EXPECT_EQ(Texts("t.log").size(), 3u);
    log->Write(5, "later detail");
    clock.advance(TLogger::kFlushAgeMs);
    log->Write(5, "aged");
    EXPECT_EQ(Texts("t.log").size(), 5u);
    log->Write(5, "last");
    log.reset();
    EXPECT_EQ(Texts("t.log").back(), "---------- Стоп [t.log]");
}

TEST_F(LoggerTest, RotationByRecordCountCountsTheBanner) {
    AllowLevel(9, 3);
    host_.dir().write("t.log0", "older archive\r\n");
    {
        TLogger log("t.log", 9, lmDeferOpen);
        for (const char *text : {"one", "two", "three"}) EXPECT_TRUE(log.Write(5, text));
    }
    EXPECT_EQ(Read("t.log1"), "older archive\r\n");
    EXPECT_EQ(Texts("t.log0"), (Strings{"---------- Старт [t.log], уровень 9", "one", "two"}));
    EXPECT_EQ(Texts("t.log"),
              (Strings{"---------- Старт [t.log], уровень 9", "three", "---------- Стоп [t.log]"}));
}

TEST_F(LoggerTest, RotationOffKeepsOneFile) {
    AllowLevel(9, 3);
    SetDword(kOwnKey, "Rotate", 0);
    {
        TLogger log("t.log", 9, lmDeferOpen);
        for (int i = 0; i < 5; ++i) log.Write(5, "record");
    }
    EXPECT_FALSE(Exists("t.log0"));
    EXPECT_EQ(Texts("t.log").size(), 7u);
}

TEST_F(LoggerTest, RotationByAgeOnceTheOpenTimeIsOlderThanTheLimit) {
    AllowLevel(9, 0, 1);  // one minute
    tessel::ManualClock clock;
    {
        TLogger log("t.log", 9, lmDeferOpen, clock);
        log.Write(5, "first");
        clock.advance(60000);  // exactly the limit: not older
        log.Write(5, "second");
        clock.advance(1);
        log.Write(5, "third");
    }
    EXPECT_EQ(Texts("t.log0"), (Strings{"---------- Старт [t.log], уровень 9", "first", "second"}));
    EXPECT_EQ(Texts("t.log"),
              (Strings{"---------- Старт [t.log], уровень 9", "third", "---------- Стоп [t.log]"}));
}

TEST_F(LoggerTest, DumpOfTwentyBytesWithAllColumns) {
    AllowLevel(9);
    const std::string data = "ABCDEFGHIJKLMNO\x01QRST";
    {
        TLogger log("t.log", 9, lmDeferOpen);
        EXPECT_TRUE(log.WriteDump(5, "frame", static_cast<int>(data.size()), data.data(), dfOffset | dfHex | dfChars));
        EXPECT_TRUE(log.WriteDump(5, "hex only", 2, data.data(), dfHex));
    }
    Strings lines = Lines(Read("t.log"));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(ParseRecord(lines[1])->text, "frame");
    EXPECT_EQ(lines[2], "     0000  41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 01  ABCDEFGHIJKLMNO.");
    EXPECT_EQ(lines[3], "     0010  51 52 53 54 -- -- -- -- -- -- -- -- -- -- -- --  QRST            ");
    EXPECT_EQ(ParseRecord(lines[4])->text, "hex only");
    EXPECT_EQ(lines[5], " 41 42 -- -- -- -- -- -- -- -- -- -- -- -- -- --  ");
}

TEST_F(LoggerTest, HexLinePutsTheBytesInAFixedColumn) {
    AllowLevel(9);
    const uint8_t bytes[70] = {0xA4, 0x05};
    {
        TLogger log("t.log", 9, lmDeferOpen);
        log.WriteHexLine(5, "  send ", 2, bytes, dfHex);
        log.WriteHexLine(5, "Команда", 1, bytes, dfHex);
        log.WriteHexLine(5, std::string(60, 'x'), 70, bytes, dfHex);
    }
    Strings texts = Texts("t.log");
    EXPECT_EQ(texts[1], "send" + std::string(50, ' ') + ">> A4 05  ");
    EXPECT_EQ(texts[2], "Команда" + std::string(47, ' ') + ">> A4  ");
    EXPECT_EQ(texts[3].size(), 60u + 2 + 2 + 64 * 3 + 2);  // at least two spaces, at most 64 bytes
}

TEST_F(LoggerTest, LevelChangeIsRecordedOnlyFromLevelFiveUp) {
    AllowLevel(9);
    {
        TLogger log("t.log", 5, lmDeferOpen);
        log.SetLevel(7);  // not open yet: nothing to record in
        log.Write(5, "opened");
        log.SetLevel(3);
        log.SetLevel(6);  // the old level 3 filters the change record out
        log.Write(6, "now at six");
        EXPECT_EQ(log.Level(), 6);
    }
    EXPECT_EQ(Texts("t.log"), (Strings{"---------- Старт [t.log], уровень 7", "opened",
                                       "Изменение уровня журнала 7 -> 3", "now at six", "---------- Стоп [t.log]"}));
}

TEST_F(LoggerTest, OnlyIfExistsWaitsForSomebodyToCreateTheFile) {
    AllowLevel(9);
    TLogger log("t.log", 9, lmDeferOpen | lmOnlyIfExists | lmCloseEachRecord);
    EXPECT_FALSE(log.Write(5, "dropped"));
    EXPECT_EQ(log.LastError(), static_cast<uint32_t>(ENOENT));
    EXPECT_FALSE(log.LastErrorText().empty());
    EXPECT_FALSE(Exists("t.log"));
    host_.dir().write("t.log", "");
    EXPECT_TRUE(log.Write(5, "kept"));
    EXPECT_FALSE(log.Opened());  // closed after the record, so the file is complete already
    EXPECT_EQ(Texts("t.log"), (Strings{"---------- Старт [t.log], уровень 9", "kept"}));
}

TEST_F(LoggerTest, UnwritableFileAnswersFalseWithTheError) {
    AllowLevel(9);
    TLogger log("no/such/dir/t.log", 9, lmDeferOpen);
    EXPECT_FALSE(log.Write(5, "lost"));
    EXPECT_EQ(log.LastError(), static_cast<uint32_t>(ENOENT));
    EXPECT_TRUE(log.Write(10, "filtered out"));
}

TEST_F(LoggerTest, OverlongRecordIsCutAtACharacterBoundary) {
    AllowLevel(9);
    std::string text;
    while (text.size() < 5000) text += "ж";
    { TLogger("t.log", 9, lmDeferOpen).Write(5, text); }
    Strings lines = Lines(Read("t.log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_LE(lines[1].size(), kMaxRecordChars);
    EXPECT_GT(lines[1].size(), kMaxRecordChars - 2);
    std::string cut = ParseRecord(lines[1])->text;
    EXPECT_EQ(cut.size() % 2, 0u);  // whole two-byte characters only
    EXPECT_EQ(text.compare(0, cut.size(), cut), 0);
}

TEST_F(LoggerTest, ManyThreadsWriteWholeRecordsIntoOneFile) {
    AllowLevel(9);
    constexpr int kThreads = 8;
    constexpr int kRecords = 400;
    {
        TLogger log("t.log", 9, lmDeferOpen);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&log, t] {
                for (int i = 0; i < kRecords; ++i) {
                    log.Write(i % 3 == 0 ? 2 : 5, "thread " + std::to_string(t) + " record " + std::to_string(i) + "\nend");
                }
            });
        }
        for (std::thread &thread : threads) thread.join();
    }
    Strings texts = Texts("t.log");
    ASSERT_EQ(texts.size(), kThreads * kRecords + 2u);
    std::vector<int> next(kThreads, 0);
    for (size_t i = 1; i + 1 < texts.size(); ++i) {
        int t = -1, n = -1;
        ASSERT_EQ(std::sscanf(texts[i].c_str(), "thread %d record %d end", &t, &n), 2) << texts[i];
        ASSERT_TRUE(t >= 0 && t < kThreads);
        EXPECT_EQ(n, next[t]++) << "thread " << t << " out of order";
    }
}

}  // namespace
}  // namespace lintra
