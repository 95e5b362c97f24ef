#pragma once
// The port lock of a port with panel lines: the polling thread holds it for each polling step,
// a direct exchange on a client thread holds it for its command and reply. A client that is
// waiting goes first: the polling thread does not take the lock again while one waits, so a
// direct exchange never starves behind a port that is polled back to back.
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace lintra {

class TPortLock {
public:
    enum class Who { Polling, Client };

    // True when the lock was taken within timeoutMs.
    bool lock(Who who, uint32_t timeoutMs);
    void unlock();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    int clientsWaiting_ = 0;
};

}  // namespace lintra
