// A real second process delivers or holds the shared mutex; this one collects.
#include <gtest/gtest.h>

#include <cstring>

#include "lintra/host/tests/ChildProcess.h"
#include "lintra/include/lintra.h"
#include "lintra/ports/delivery/tests/DeliveryFixture.h"

namespace lintra {
namespace {

constexpr uint32_t kPatience = 10000;  // ms; only a broken build waits this long

class CrossProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(slots_.ok());
        slots_.clearSlots();
    }
    ChildProcess probe(const std::vector<std::string> &args) { return ChildProcess(LINTRA_DELIVERY_PROBE, args); }

    test::AttachedSlots slots_;
};

TEST_F(CrossProcess, CollectorGetsEveryRecordOfTheOtherProcessOnceInOrder) {
    constexpr int kLine = 12, kCount = 300;
    const intptr_t event = GetEvent(kLine);
    ASSERT_NE(event, 0);
    LintraWaitEvent(event, 0);  // the signal it is created with
    ASSERT_TRUE(ResumeLine(kLine));
    ChildProcess producer = probe({"produce", std::to_string(kLine), std::to_string(kCount)});

    LintraEventRecord record;
    for (int n = 1; n <= kCount; ++n) {
        ASSERT_TRUE(LintraWaitEvent(event, kPatience)) << "record " << n;
        ASSERT_TRUE(GetLineMessage(kLine, &record, true)) << n;
        ASSERT_EQ(record.line, kLine);
        ASSERT_EQ(record.data[0] | record.data[1] << 8, n) << "none lost, none repeated";
    }
    EXPECT_EQ(producer.readLine(), "sent");
    EXPECT_EQ(producer.wait(), 0);
    EXPECT_FALSE(QueryMessage(kLine));
}

TEST_F(CrossProcess, HolderKilledInsideTheMutexDoesNotWedgeTheOthers) {
    ChildProcess holder = probe({"hold-mutex"});
    ASSERT_EQ(holder.readLine(), "locked");
    EXPECT_FALSE(QueryMessage(3)) << "busy: false after 5 ms, whatever the slot holds";
    holder.kill();
    holder.wait();

    constexpr int kLine = 3;
    const intptr_t event = GetEvent(kLine);
    LintraWaitEvent(event, 0);
    ASSERT_TRUE(ResumeLine(kLine));
    ChildProcess producer = probe({"produce", std::to_string(kLine), "1"});
    ASSERT_TRUE(LintraWaitEvent(event, kPatience));
    LintraEventRecord record;
    EXPECT_TRUE(GetLineMessage(kLine, &record, false));
    EXPECT_EQ(record.data[0], 1);
    EXPECT_EQ(producer.readLine(), "sent");
    EXPECT_EQ(producer.wait(), 0);
}

}  // namespace
}  // namespace lintra
