#include "zaltor/console/RecordInbox.h"

#include <cstring>

namespace zaltor::console {

intptr_t RecordInbox::windowProc(void *context, uint32_t message, uintptr_t, intptr_t lparam) {
    if (context == nullptr || message != kRecordMessage || lparam == 0) return 0;
    // The record is valid only during the call and need not be aligned: copy its bytes.
    EventRecord record;
    std::memcpy(&record, reinterpret_cast<const void *>(lparam), sizeof record);
    static_cast<RecordInbox *>(context)->post(record);
    return 0;
}

void RecordInbox::post(const EventRecord &record) {
    bool wasEmpty;
    {
        std::lock_guard lock(mutex_);
        wasEmpty = records_.empty();
        if (records_.size() == capacity_) {
            records_.pop_front();
            ++dropped_;
        }
        records_.push_back(record);
    }
    if (wasEmpty && wake_) wake_();
}

std::vector<EventRecord> RecordInbox::drain() {
    std::lock_guard lock(mutex_);
    std::vector<EventRecord> batch(records_.begin(), records_.end());
    records_.clear();
    return batch;
}

std::size_t RecordInbox::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

}  // namespace zaltor::console
