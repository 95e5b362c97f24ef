#include "lintra/ports/delivery/LineEvents.h"

#include "lintra/host/IpcSet.h"

namespace lintra {

namespace {
bool inRange(int line) { return line >= 0 && line <= 0xFF; }
}  // namespace

LineEvents &LineEvents::instance() {
    static LineEvents *events = new LineEvents;  // polling threads may still deliver at exit
    return *events;
}

std::shared_ptr<host::NamedEvent> LineEvents::data(int line) const {
    if (!inRange(line)) return nullptr;
    std::lock_guard lock(mutex_);
    return data_[line];
}

std::shared_ptr<host::NamedEvent> LineEvents::ready(int line) const {
    if (!inRange(line)) return nullptr;
    std::lock_guard lock(mutex_);
    return ready_[line];
}

bool LineEvents::ensure(Event &slot, int line, bool dataEvent) {
    if (slot) return true;
    int error = 0;
    const auto number = static_cast<uint8_t>(line);
    slot = dataEvent ? host::IpcSet::dataEvent(number, &error) : host::IpcSet::readyEvent(number, &error);
    return slot != nullptr;
}

std::shared_ptr<host::NamedEvent> LineEvents::dataForDelivery(int line) {
    if (!inRange(line)) return nullptr;
    std::lock_guard lock(mutex_);
    if (!ready_[line] || !ensure(data_[line], line, true)) return nullptr;
    return data_[line];
}

bool LineEvents::createReady(int line) {
    if (!inRange(line)) return false;
    std::lock_guard lock(mutex_);
    return ensure(ready_[line], line, false);
}

bool LineEvents::createBoth(int line) {
    if (!inRange(line)) return false;
    std::lock_guard lock(mutex_);
    const bool data = ensure(data_[line], line, true);
    return ensure(ready_[line], line, false) && data;
}

void LineEvents::free(int line) {
    if (!inRange(line)) return;
    Event data, ready;  // closed outside the lock
    std::lock_guard lock(mutex_);
    data.swap(data_[line]);
    ready.swap(ready_[line]);
}

void LineEvents::freeAll() {
    for (int line = 0; line <= 0xFF; ++line) free(line);
}

}  // namespace lintra
