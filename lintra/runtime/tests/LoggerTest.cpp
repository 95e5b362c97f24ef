#include "lintra/runtime/Logger.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
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

// write(2) calls of this process so far; nullopt where the kernel does not count them.
std::optional<uint64_t> WriteCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "syscw:") return value;
    }
    return std::nullopt;
}

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

// Read() opens the file anew, so it sees what the operating system has, not what the logger may hold.
TEST_F(LoggerTest, EveryRecordIsInTheFileWhenTheCallReturns) {
    AllowLevel(9);
    tessel::ManualClock clock;  // never advances: no record may wait for its age
    const uint8_t frame[] = {0xA4, 0x05, 0x10};
    std::string dumpLine = " A4 05 10";
    for (int i = 3; i < 16; ++i) dumpLine += " --";
    dumpLine += "  ";
    for (int mode : {0, int{lmWriteThrough}, int{lmCloseEachRecord}}) {
        const std::string name = "t" + std::to_string(mode) + ".log";
        SCOPED_TRACE(name);
        TLogger log(name, 9, lmDeferOpen | mode, clock);
        EXPECT_TRUE(log.Write(5, "detail"));
        EXPECT_EQ(Texts(name), (Strings{"---------- Старт [" + name + "], уровень 9", "detail"}));
        EXPECT_TRUE(log.WriteDump(5, "frame", 3, frame, dfHex));
        Strings lines = Lines(Read(name));
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(ParseRecord(lines[2])->text, "frame");
        EXPECT_EQ(lines[3], dumpLine);
        EXPECT_TRUE(log.WriteHexLine(6, "send", 1, frame, dfHex));
        lines = Lines(Read(name));
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(ParseRecord(lines[4])->text, "send" + std::string(50, ' ') + ">> A4  ");
    }
}

TEST_F(LoggerTest, EachRecordIsOneWriteCall) {
    if (!WriteCalls()) GTEST_SKIP() << "the kernel keeps no count of write calls";
    AllowLevel(9);
    const uint8_t frame[40] = {0xA4, 0x05};
    const std::string overlong(5000, 'x');
    TLogger log("t.log", 9, lmDeferOpen);
    struct Case {
        const char *what;
        std::function<bool()> write;
        uint64_t writes;
        size_t lines;
    };
    const Case cases[] = {
        {"banner and first record", [&] { return log.Write(5, "first"); }, 2, 2},
        {"record", [&] { return log.Write(5, "detail"); }, 1, 1},
        {"dump", [&] { return log.WriteDump(5, "frame", 40, frame, dfOffset | dfHex | dfChars); }, 1, 4},
        {"hex line", [&] { return log.WriteHexLine(5, "send", 40, frame, dfHex); }, 1, 1},
        {"overlong record", [&] { return log.Write(5, overlong); }, 1, 1},
    };
    size_t lines = 0;
    for (const Case &c : cases) {
        uint64_t before = *WriteCalls();
        EXPECT_TRUE(c.write()) << c.what;
        EXPECT_EQ(*WriteCalls() - before, c.writes) << c.what;
        lines += c.lines;
        EXPECT_EQ(Lines(Read("t.log")).size(), lines) << c.what;
    }
}

TEST_F(LoggerTest, RecordsOutliveAProcessKilledRightAfterLoggingThem) {
    AllowLevel(9);
    const uint8_t frame[] = {0xA4, 0x05};
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TLogger log("t.log", 9, lmDeferOpen);
        log.Write(5, "last words");
        log.WriteDump(5, "last frame", 2, frame, dfHex);
        ::raise(SIGKILL);
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    Strings lines = Lines(Read("t.log"));
    ASSERT_EQ(lines.size(), 4u);  // no stop banner: the destructor never ran
    EXPECT_EQ(ParseRecord(lines[1])->text, "last words");
    EXPECT_EQ(ParseRecord(lines[2])->text, "last frame");
    EXPECT_EQ(lines[3].substr(0, 7), " A4 05 ");
}

// Each process has its own logger and lock; only one write per record keeps a dump together.
TEST_F(LoggerTest, ProcessesAppendingToOneFileNeverSplitADump) {
    AllowLevel(9);
    constexpr int kChildren = 4;
    constexpr int kDumps = 2000;
    constexpr int kDumpLines = 3;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int c = 0; c < kChildren; ++c) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(start[1]);
            char go;
            if (::read(start[0], &go, 1) != 0) ::_exit(3);
            bool ok = true;
            {
                TLogger log("t.log", 9, lmDeferOpen);
                std::vector<uint8_t> bytes(16 * kDumpLines, static_cast<uint8_t>(c));
                for (int i = 0; i < kDumps; ++i) {
                    std::string text = "child " + std::to_string(c) + " dump " + std::to_string(i);
                    ok = log.WriteDump(5, text, static_cast<int>(bytes.size()), bytes.data(), dfHex) && ok;
                }
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    std::vector<int> next(kChildren, 0);
    Strings lines = Lines(Read("t.log"));
    for (size_t i = 0; i < lines.size(); ++i) {
        std::optional<runtime_test::Record> record = ParseRecord(lines[i]);
        ASSERT_TRUE(record) << "line " << i << ": " << lines[i];
        int c = -1, n = -1;
        if (std::sscanf(record->text.c_str(), "child %d dump %d", &c, &n) != 2) continue;  // a banner
        ASSERT_TRUE(c >= 0 && c < kChildren) << record->text;
        EXPECT_EQ(n, next[c]++) << "child " << c << " out of order";
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02X", c);
        std::string dumpLine;
        for (int b = 0; b < 16; ++b) dumpLine += hex;
        dumpLine += "  ";
        for (int d = 0; d < kDumpLines; ++d) {
            ASSERT_LT(++i, lines.size());
            ASSERT_EQ(lines[i], dumpLine) << "line " << i << " after " << record->text;
        }
    }
    EXPECT_EQ(next, std::vector<int>(kChildren, kDumps));
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
