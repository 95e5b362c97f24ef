#include "lintra/ports/tests/FakePort.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "testsupport/Hex.h"

namespace lintra::test {
namespace {

struct FakePortTest : ::testing::Test {
    tessel::ManualClock clock{1000};
    FakePort port{clock};
    uint8_t buffer[16]{};

    void SetUp() override { port.setTimeouts({200, 20, 1000, 10, 50}); }
    std::string readHex(size_t count) {
        const int n = port.read(buffer, count);
        return n < 0 ? "error" : testsupport::toHex(std::span(buffer, static_cast<size_t>(n)));
    }
};

TEST_F(FakePortTest, TraceShowsParityPerByteAndModemLinesInOrder) {
    port.setLine({10400, 8, Parity::Mark, 2});
    port.setRts(true);
    const uint8_t frame[] = {0xA4, 0x05, 0x56, 0xF2};
    port.write(frame, 1);
    port.flush();
    port.setParity(Parity::Space);
    port.write(frame + 1, 3);
    port.setRts(false);
    port.setDtr(false);
    port.purge();
    EXPECT_EQ(port.trace(),
              "line(10400,8,mark,2) rts+ A4/mark flush 05/space 56/space F2/space rts- dtr- purge");
    EXPECT_EQ(port.writtenHex(), "A4 05 56 F2");
}

TEST_F(FakePortTest, ReadTakesWhatIsAvailableWithoutWaiting) {
    port.scriptHex("A4 05 56 F2");
    EXPECT_EQ(readHex(1), "A4");
    EXPECT_EQ(readHex(3), "05 56 F2");
    EXPECT_EQ(clock.nowMs(), 1000u);
    EXPECT_EQ(port.unread(), 0u);
}

TEST_F(FakePortTest, SilentReadCostsItsTotalTimeOut) {
    EXPECT_EQ(readHex(3), "");
    EXPECT_EQ(clock.nowMs(), 1000u + 3 * 20 + 1000);
}

TEST_F(FakePortTest, ReadWaitsForALateChunkWithinTheTimeOut) {
    port.scriptHex("A4", 1500);
    EXPECT_EQ(readHex(1), "A4");
    EXPECT_EQ(clock.nowMs(), 1500u);
}

TEST_F(FakePortTest, ChunkAfterTheTimeOutStaysForTheNextRead) {
    port.scriptHex("A4", 5000);
    EXPECT_EQ(readHex(1), "");
    EXPECT_EQ(clock.nowMs(), 2020u);
    EXPECT_EQ(port.unread(), 1u);
}

TEST_F(FakePortTest, GapLongerThanTheIntervalEndsTheRead) {
    port.scriptHex("05 56");
    port.scriptHex("F2", 1150);  // gap 150 ms: within the interval
    port.scriptHex("00", 1400);  // gap 250 ms: beyond it
    EXPECT_EQ(readHex(4), "05 56 F2");
    EXPECT_EQ(clock.nowMs(), 1350u);
}

TEST_F(FakePortTest, FailuresReportTheirErrno) {
    port.failWrites(EIO);
    const uint8_t byte = 0;
    EXPECT_EQ(port.write(&byte, 1), -1);
    EXPECT_EQ(port.lastError(), EIO);
    EXPECT_EQ(port.writtenHex(), "");
    port.failReads(EBADF);
    EXPECT_EQ(readHex(1), "error");
    EXPECT_EQ(port.lastError(), EBADF);
}

}  // namespace
}  // namespace lintra::test
