#include "lintra/ports/delivery/EventSlots.h"

#include <atomic>
#include <cstring>

namespace lintra {

static_assert(EventSlots::kSlotCount * sizeof(EventRecord) == host::IpcSet::kGlobalDataSize);

namespace {
std::atomic<host::IpcSet *> attached{nullptr};
}  // namespace

void EventSlots::Attach(host::IpcSet *ipc) { attached.store(ipc); }

bool EventSlots::Attached() { return attached.load() != nullptr; }

std::optional<EventSlots::Guard> EventSlots::Guard::Lock(uint32_t timeoutMs) {
    host::IpcSet *ipc = attached.load();
    if (!ipc) return std::nullopt;
    const host::LockResult result = ipc->globalMutex().lock(timeoutMs);
    if (result != host::LockResult::Acquired && result != host::LockResult::Recovered) return std::nullopt;
    return Guard(ipc);
}

EventSlots::Guard::~Guard() {
    if (ipc_) ipc_->globalMutex().unlock();
}

uint8_t *EventSlots::Guard::slot(int line) const {
    return static_cast<uint8_t *>(ipc_->globalData().data()) + sizeof(EventRecord) * static_cast<size_t>(line);
}

EventRecord EventSlots::Guard::Read(int line) const {
    EventRecord record;
    std::memcpy(&record, slot(line), sizeof record);
    return record;
}

void EventSlots::Guard::Write(int line, const EventRecord &record) const {
    std::memcpy(slot(line), &record, sizeof record);
}

bool EventSlots::Guard::Occupied(int line) const {
    uint16_t first;
    std::memcpy(&first, slot(line), sizeof first);
    return first != 0;
}

void EventSlots::Guard::Free(int line) const { std::memset(slot(line), 0, sizeof(EventRecord::line)); }

}  // namespace lintra
