#include "zaltor/console/RecordInbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace zaltor::console {
namespace {

EventRecord numbered(uint16_t line, uint16_t code) {
    EventRecord record{};
    record.line = line;
    record.code = code;
    return record;
}

TEST(RecordInbox, WindowProcedureCopiesOnlyRecordNotifications) {
    RecordInbox inbox(nullptr);
    EventRecord sent = numbered(7, 87);
    sent.data_length = 3;
    sent.data[2] = 0xAB;
    alignas(8) uint8_t bytes[1 + sizeof(EventRecord)];
    std::memcpy(bytes + 1, &sent, sizeof sent);  // the library's record need not be aligned
    const auto at = reinterpret_cast<intptr_t>(bytes + 1);

    RecordInbox::windowProc(&inbox, kRecordMessage, 0, at);
    RecordInbox::windowProc(&inbox, kRecordMessage + 1, 0, at);
    RecordInbox::windowProc(&inbox, kRecordMessage, 0, 0);
    RecordInbox::windowProc(nullptr, kRecordMessage, 0, at);

    const std::vector<EventRecord> got = inbox.drain();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(std::memcmp(&got[0], &sent, sizeof sent), 0);
}

TEST(RecordInbox, WakesOncePerBatchAndDropsTheOldestBeyondCapacity) {
    int wakes = 0;
    RecordInbox inbox([&] { ++wakes; }, 2);
    for (uint16_t code : {1, 2, 3}) inbox.post(numbered(1, code));
    EXPECT_EQ(wakes, 1);
    const std::vector<EventRecord> batch = inbox.drain();
    ASSERT_EQ(batch.size(), 2u);
    EXPECT_EQ(batch[0].code, 2);
    EXPECT_EQ(batch[1].code, 3);
    EXPECT_EQ(inbox.dropped(), 1u);
    inbox.post(numbered(1, 4));
    EXPECT_EQ(wakes, 2);
}

TEST(RecordInbox, RecordsFromSeveralThreadsArriveOnceAndInOrder) {
    constexpr uint16_t kThreads = 4, kRecords = 2000;
    std::atomic<int> wakes{0};
    RecordInbox inbox([&] { ++wakes; }, kThreads * kRecords);
    std::vector<std::thread> senders;
    for (uint16_t line = 1; line <= kThreads; ++line)
        senders.emplace_back([&inbox, line] {
            for (uint16_t i = 0; i < kRecords; ++i) inbox.post(numbered(line, i));
        });

    std::vector<uint16_t> next(kThreads + 1, 0);
    std::size_t received = 0;
    const auto take = [&] {
        for (const EventRecord &r : inbox.drain()) {
            EXPECT_EQ(r.code, next[r.line]) << "line " << r.line;
            next[r.line] = static_cast<uint16_t>(r.code + 1);
            ++received;
        }
    };
    while (received < std::size_t{kThreads} * kRecords / 2) take();
    for (std::thread &t : senders) t.join();
    take();
    EXPECT_EQ(received, std::size_t{kThreads} * kRecords);
    EXPECT_EQ(inbox.dropped(), 0u);
    EXPECT_GE(wakes.load(), 1);
}

}  // namespace
}  // namespace zaltor::console
