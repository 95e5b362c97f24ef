#include "lintra/ports/lines/PortLock.h"

#include <chrono>

namespace lintra {

bool TPortLock::lock(Who who, uint32_t timeoutMs) {
    std::unique_lock guard(mutex_);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    if (who == Who::Client) {
        ++clientsWaiting_;
        const bool got = changed_.wait_until(guard, deadline, [this] { return !held_; });
        --clientsWaiting_;
        if (got) held_ = true;
        else changed_.notify_all();  // the polling thread may be waiting for the clients to go
        return got;
    }
    if (!changed_.wait_until(guard, deadline, [this] { return !held_ && clientsWaiting_ == 0; })) return false;
    held_ = true;
    return true;
}

void TPortLock::unlock() {
    {
        std::lock_guard guard(mutex_);
        held_ = false;
    }
    changed_.notify_all();
}

}  // namespace lintra
