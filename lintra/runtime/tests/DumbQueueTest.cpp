#include "lintra/runtime/DumbQueue.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

namespace lintra {
namespace {

uint32_t Take(TDumbQueue &queue) {
    uint32_t value = 0;
    EXPECT_TRUE(queue.Get(&value));
    return value;
}

TEST(DumbQueue, CapacityTwoRefusesTheThirdAndWrapsToSlotZero) {
    TDumbQueue queue(2);
    uint32_t a = 11, b = 22, c = 33;
    EXPECT_TRUE(queue.Put(&a));
    EXPECT_TRUE(queue.Put(&b));
    EXPECT_FALSE(queue.Put(&c));
    EXPECT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Free(), 0);
    uint32_t peeked = 0;
    EXPECT_TRUE(queue.Peek(&peeked));
    EXPECT_EQ(peeked, 11u);
    EXPECT_EQ(Take(queue), 11u);
    EXPECT_EQ(queue.WriteIndex(), 0);
    EXPECT_TRUE(queue.Put(&c));  // lands in slot 0
    EXPECT_EQ(queue.WriteIndex(), 1);
    EXPECT_EQ(Take(queue), 22u);
    EXPECT_EQ(Take(queue), 33u);
    uint32_t none = 0;
    EXPECT_FALSE(queue.Get(&none));
    EXPECT_FALSE(queue.Peek(&none));
}

TEST(DumbQueue, ClearEmptiesWithTheReadIndexAtTheWriteIndex) {
    TDumbQueue queue(5);
    for (uint32_t v : {1u, 2u, 3u}) queue.Put(&v);
    queue.Clear();
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(queue.Free(), 5);
    EXPECT_EQ(queue.ReadIndex(), 3);
    EXPECT_EQ(queue.ReadIndex(), queue.WriteIndex());
}

TEST(DumbQueue, WaitsGiveUpWhenNothingChanges) {
    TDumbQueue queue(1);
    uint32_t value = 7;
    EXPECT_FALSE(queue.GetWait(&value, 100));
    EXPECT_TRUE(queue.PutWait(&value, 0));
    EXPECT_FALSE(queue.PutWait(&value, 20));
    EXPECT_TRUE(queue.GetWait(nullptr, 0));  // discards
    EXPECT_EQ(queue.Count(), 0);
}

TEST(DumbQueue, GetWaitSeesAPutFromAnotherThread) {
    TDumbQueue queue(1);
    std::thread producer([&] {
        uint32_t value = 42;
        while (!queue.PutWait(&value, 1000)) {
        }
    });
    uint32_t got = 0;
    while (!queue.GetWait(&got, 1000)) {
    }
    producer.join();
    EXPECT_EQ(got, 42u);
}

TEST(DumbQueue, ProducersAndConsumersLoseNothing) {
    TDumbQueue queue(4);
    constexpr uint32_t kPerProducer = 2000;
    std::atomic<uint64_t> sum{0};
    std::atomic<uint32_t> taken{0};
    std::vector<std::thread> threads;
    for (uint32_t p = 0; p < 2; ++p) {
        threads.emplace_back([&, p] {
            for (uint32_t i = 1; i <= kPerProducer; ++i) {
                uint32_t v = p * kPerProducer + i;
                while (!queue.PutWait(&v, 50)) {
                }
            }
        });
        threads.emplace_back([&] {
            uint32_t v = 0;
            while (taken.load() < 2 * kPerProducer) {
                if (queue.GetWait(&v, 50)) {
                    sum += v;
                    ++taken;
                }
            }
        });
    }
    for (std::thread &t : threads) t.join();
    const uint64_t n = 2 * kPerProducer;
    EXPECT_EQ(sum.load(), n * (n + 1) / 2);
    EXPECT_EQ(queue.Count(), 0);
}

// A queue that keeps whole records of its own, as the NX message queue does.
class RecordQueue : public TDumbQueue {
public:
    explicit RecordQueue(int capacity) : TDumbQueue(capacity), records_(static_cast<size_t>(capacity)) {}

protected:
    bool PutItem(int slot, const void *item) override {
        records_[static_cast<size_t>(slot)] = *static_cast<const std::array<char, 8> *>(item);
        return true;
    }
    bool GetItem(int slot, void *destination) override {
        if (destination) *static_cast<std::array<char, 8> *>(destination) = records_[static_cast<size_t>(slot)];
        return true;
    }

private:
    std::vector<std::array<char, 8>> records_;
};

TEST(DumbQueue, SubclassKeepsItsOwnRecords) {
    RecordQueue queue(2);
    std::array<char, 8> in{"S001"}, out{};
    EXPECT_TRUE(queue.Put(&in));
    EXPECT_TRUE(queue.Get(&out));
    EXPECT_EQ(out, in);
}

}  // namespace
}  // namespace lintra
