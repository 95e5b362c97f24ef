#pragma once
// Hand-over of event records from the library's polling thread to the window's thread. The
// library sends its record notification synchronously on its own thread; the window procedure
// only copies the record in here, so a polling thread never waits for the GUI (which may itself
// be waiting for that thread's port lock). The GUI drains the records in batches.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "zaltor/console/EventRecord.h"

namespace zaltor::console {

inline constexpr uint32_t kRecordMessage = 1024 + 100;

class RecordInbox {
public:
    // wake runs on the library's thread when the inbox stops being empty; it must not block
    // (post an event to the GUI loop). Beyond capacity the oldest record is dropped.
    explicit RecordInbox(std::function<void()> wake, std::size_t capacity = 4096)
        : wake_(std::move(wake)), capacity_(capacity > 0 ? capacity : 1) {}

    // The window procedure to register with the library, with this inbox as its context.
    static intptr_t windowProc(void *context, uint32_t message, uintptr_t wparam, intptr_t lparam);

    void post(const EventRecord &record);
    std::vector<EventRecord> drain();
    std::size_t dropped() const;

private:
    std::function<void()> wake_;
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::deque<EventRecord> records_;
    std::size_t dropped_ = 0;
};

}  // namespace zaltor::console
