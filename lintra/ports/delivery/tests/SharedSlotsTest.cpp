// Records of shared-memory lines: SendEvInfo on a polling thread against the collecting exports.
#include <gtest/gtest.h>


#include "lintra/include/lintra.h"
#include "lintra/ports/delivery/tests/DeliveryFixture.h"

namespace lintra {
namespace {

using test::FakeLine;

constexpr uint32_t kPatience = 10000;  // ms; only a broken build waits this long

// The line field is left 0: delivery puts the line's number in, or the slot would read as free.
EventRecord numbered(uint8_t n) {
    EventRecord record{};
    record.address = 5;
    record.code = 0x57;
    record.data_length = 1;
    record.data[0] = n;
    return record;
}

class SharedSlots : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(slots_.ok());
        slots_.clearSlots();
    }
    // GetEvent, with the signal the data event is created with consumed.
    intptr_t dataEvent(int line) {
        const intptr_t event = GetEvent(line);
        EXPECT_NE(event, 0);
        LintraWaitEvent(event, 0);
        return event;
    }
    const TEventTarget shared_{DeliveryMode::SharedMemory, 0, nullptr};

private:
    test::AttachedSlots slots_;
};

TEST_F(SharedSlots, EachResumeReleasesOneRecordAndNoneIsLost) {
    constexpr int kLine = 5, kCount = 50;
    const intptr_t lineEvent = dataEvent(kLine);
    const intptr_t anyLine = dataEvent(0);
    FakeLine line(kLine);
    test::PollingThread polling(line, [&] {
        for (int n = 1; n <= kCount; ++n) {
            EventRecord record = numbered(static_cast<uint8_t>(n));
            SendEvInfo(shared_, line, record);
        }
    });
    EXPECT_FALSE(QueryMessage(kLine)) << "nothing is written before the collector is ready";

    ASSERT_TRUE(ResumeLine(kLine));
    uint8_t buffer[22];
    for (int n = 1; n <= kCount; ++n) {
        ASSERT_TRUE(LintraWaitEvent(lineEvent, kPatience)) << n;
        EXPECT_TRUE(QueryMessage(kLine));
        // Every other record is resumed by ResumeLine after a second look finds the slot free.
        const bool resume = n % 2 == 1;
        ASSERT_TRUE(GetLineMessage(kLine, buffer, resume)) << n;
        EventRecord got;
        std::memcpy(&got, buffer, sizeof got);
        EXPECT_EQ(got.line, kLine);
        EXPECT_EQ(got.data[0], n);
        if (!resume) {
            EXPECT_FALSE(GetLineMessage(kLine, buffer, true)) << "collected once; a free slot resumes nothing";
            ResumeLine(kLine);
        }
    }
    polling.join();
    EXPECT_FALSE(QueryMessage(kLine));
    EXPECT_TRUE(LintraWaitEvent(anyLine, 0)) << "line 0's data event is set for every line";
}

TEST_F(SharedSlots, ClosingLineGivesUpItsWaitWithoutWriting) {
    constexpr int kLine = 8;
    dataEvent(kLine);
    FakeLine line(kLine);
    test::PollingThread polling(line, [&] {
        EventRecord record = numbered(1);
        SendEvInfo(shared_, line, record);
    });
    line.closing = true;
    LineEvents::instance().ready(kLine)->set();  // wakes the wait at once
    polling.join();
    EXPECT_FALSE(QueryMessage(kLine));
}

TEST_F(SharedSlots, LineWithoutReadyEventDeliversNothing) {
    FakeLine line(9);  // GetEvent never called, no start made the ready event
    EventRecord record = numbered(1);
    SendEvInfo(shared_, line, record);
    EXPECT_FALSE(QueryMessage(9));
}

TEST_F(SharedSlots, ArgumentsOutsideTheLinesAreRefused) {
    uint8_t buffer[22];
    for (int line : {-1, 256, 70000}) {
        EXPECT_EQ(GetEvent(line), 0) << line;
        EXPECT_FALSE(QueryMessage(line)) << line;
        EXPECT_FALSE(GetLineMessage(line, buffer, true)) << line;
        EXPECT_FALSE(ResumeLine(line)) << line;
    }
    EXPECT_FALSE(QueryMessage(0)) << "slot 0 is never collected";
    EXPECT_FALSE(GetLineMessage(0, buffer, true));
    EXPECT_FALSE(ResumeLine(0));
    EXPECT_NE(GetEvent(0), 0) << "line 0's event stands for any line";
    EXPECT_TRUE(ResumeLine(255)) << "a line without events still answers true";
    EXPECT_FALSE(GetLineMessage(4, nullptr, true));
}

}  // namespace
}  // namespace lintra
