#include "lintra/ports/queues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace lintra {
namespace {

std::vector<int> drain(TQueue<int> &queue) {
    std::vector<int> out;
    while (auto element = queue.Get()) out.push_back(*element);
    return out;
}

TEST(TQueueTest, RefusesCapacitiesOutsideTheRing) {
    for (size_t capacity : {0u, 1u, 32768u}) EXPECT_EQ(TQueue<int>::Create(capacity), nullptr) << capacity;
    EXPECT_NE(TQueue<int>::Create(32767), nullptr);
}

TEST(TQueueTest, EmptyQueueHasNothingToPeekOrGet) {
    auto queue = TQueue<int>::Create(4);
    EXPECT_EQ(queue->Count(), 0u);
    EXPECT_EQ(queue->Peek(), std::nullopt);
    EXPECT_EQ(queue->Get(), std::nullopt);
}

TEST(TQueueTest, PeekLeavesTheElementGetTakesItInOrder) {
    auto queue = TQueue<int>::Create(4);
    queue->Put(1);
    queue->Put(2);
    EXPECT_EQ(queue->Peek(), 1);
    EXPECT_EQ(queue->Count(), 2u);
    EXPECT_EQ(drain(*queue), (std::vector<int>{1, 2}));
}

TEST(TQueueTest, FullRingHoldsCapacityLessOneAndDropsTheOldest) {
    auto queue = TQueue<int>::Create(4);
    for (int i = 1; i <= 6; ++i) queue->Put(i);
    EXPECT_EQ(queue->Count(), 3u);
    EXPECT_EQ(queue->Free(), 1u);
    EXPECT_EQ(drain(*queue), (std::vector<int>{4, 5, 6}));
}

TEST(TQueueTest, FreePlacesOfTheLineQueueAfterOneFrame) {
    auto queue = TQueue<int>::Create(10400);
    queue->Put(0);
    EXPECT_EQ(queue->Free(), 10399u);
}

TEST(TQueueTest, ReplaceHeadOrPutMakesTheElementNext) {
    auto queue = TQueue<int>::Create(4);
    queue->ReplaceHeadOrPut(9);
    EXPECT_EQ(drain(*queue), (std::vector<int>{9}));
    queue->Put(1);
    queue->Put(2);
    queue->ReplaceHeadOrPut(9);
    EXPECT_EQ(drain(*queue), (std::vector<int>{9, 2}));
}

// Clients put while the driver peeks and takes: whatever is taken was put, in order per
// producer and never twice, though a full ring may drop some.
TEST(TQueueTest, ConcurrentPutAndTakeKeepOrderPerProducer) {
    constexpr int kPerProducer = 20000;
    constexpr int kSecond = 1'000'000;
    auto queue = TQueue<int>::Create(64);
    std::atomic<bool> producing{true};
    std::vector<int> taken;
    std::thread driver([&] {
        while (producing || queue->Count() > 0) {
            if (!queue->Peek()) continue;
            if (auto element = queue->Get()) taken.push_back(*element);
        }
    });
    auto produce = [&](int base) {
        for (int i = 0; i < kPerProducer; ++i) queue->Put(base + i);
    };
    std::thread a(produce, 0), b(produce, kSecond);
    a.join();
    b.join();
    producing = false;
    driver.join();

    int last[2] = {-1, -1};
    for (int element : taken) {
        const int producer = element >= kSecond;
        const int value = element - producer * kSecond;
        ASSERT_GT(value, last[producer]);
        last[producer] = value;
    }
    // The element put last of all is never dropped.
    EXPECT_EQ(std::max(last[0], last[1]), kPerProducer - 1);
}

}  // namespace
}  // namespace lintra
