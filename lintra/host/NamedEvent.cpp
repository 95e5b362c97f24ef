#include "lintra/host/NamedEvent.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <mutex>
#include <unordered_map>

#include "lintra/host/SharedPthread.h"

namespace lintra::host {

struct EventState {
    pthread_mutex_t mutex;
    pthread_cond_t condition;
    uint32_t signalled;
};

namespace {

// A waiter killed inside the condition variable can leave a wake-up with nobody; waiting in
// slices and looking at the flag between them bounds what such a loss can cost.
constexpr auto kWaitSlice = std::chrono::milliseconds(200);

class LiveEvents {
public:
    void add(const std::shared_ptr<NamedEvent> &event) {
        std::lock_guard lock(mutex_);
        events_[event->handle()] = event;
    }
    void drop(intptr_t handle) {
        std::lock_guard lock(mutex_);
        events_.erase(handle);
    }
    std::shared_ptr<NamedEvent> find(intptr_t handle) {
        std::lock_guard lock(mutex_);
        auto found = events_.find(handle);
        return found == events_.end() ? nullptr : found->second.lock();
    }

private:
    std::mutex mutex_;
    std::unordered_map<intptr_t, std::weak_ptr<NamedEvent>> events_;
};

LiveEvents &liveEvents() {
    static LiveEvents *events = new LiveEvents;  // outlives every event, even at process exit
    return *events;
}

class StateLock {
public:
    explicit StateLock(EventState *state) : state_(state) {
        LockResult result = lockShared(&state_->mutex, std::nullopt);
        held_ = result == LockResult::Acquired || result == LockResult::Recovered;
    }
    ~StateLock() {
        if (held_) pthread_mutex_unlock(&state_->mutex);
    }
    bool held() const { return held_; }

private:
    EventState *state_;
    bool held_;
};

timespec monotonicAfter(std::chrono::steady_clock::duration wait) {
    auto at = std::chrono::steady_clock::now() + wait;
    auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
    return timespec{static_cast<time_t>(nanos / 1000000000), static_cast<long>(nanos % 1000000000)};
}

}  // namespace

std::shared_ptr<NamedEvent> NamedEvent::createOrOpen(std::string_view baseName, bool initiallySignalled, int *error) {
    auto section = SharedSection::createOrOpen(
        baseName, sizeof(EventState),
        [&](void *data, size_t) {
            auto *state = static_cast<EventState *>(data);
            state->signalled = initiallySignalled ? 1 : 0;
            return initSharedMutex(&state->mutex, false) && initSharedCondition(&state->condition);
        },
        error);
    if (!section) return nullptr;
    std::shared_ptr<NamedEvent> event(new NamedEvent(std::move(section)));
    liveEvents().add(event);
    return event;
}

std::shared_ptr<NamedEvent> NamedEvent::fromHandle(intptr_t handle) { return liveEvents().find(handle); }

NamedEvent::~NamedEvent() { liveEvents().drop(handle()); }

bool NamedEvent::set() {
    StateLock lock(state());
    if (!lock.held()) return false;
    state()->signalled = 1;
    return pthread_cond_signal(&state()->condition) == 0;
}

bool NamedEvent::reset() {
    StateLock lock(state());
    if (!lock.held()) return false;
    state()->signalled = 0;
    return true;
}

bool NamedEvent::wait(uint32_t timeoutMs) {
    const bool forever = timeoutMs == kInfinite;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
    StateLock lock(state());
    if (!lock.held()) return false;
    while (state()->signalled == 0) {
        auto left = giveUp - std::chrono::steady_clock::now();
        if (!forever && left <= std::chrono::steady_clock::duration::zero()) return false;
        timespec until = monotonicAfter(forever ? kWaitSlice : std::min<std::chrono::steady_clock::duration>(left, kWaitSlice));
        int status = pthread_cond_clockwait(&state()->condition, &state()->mutex, CLOCK_MONOTONIC, &until);
        if (status == EOWNERDEAD) pthread_mutex_consistent(&state()->mutex);
        else if (status != 0 && status != ETIMEDOUT) return false;
    }
    state()->signalled = 0;
    return true;
}

}  // namespace lintra::host
