#pragma once
// A process-private mutex that its owner may take again, with waits bounded in milliseconds.
// Built on a pthread recursive mutex so that unlocking by a non-owner is an error code, not
// undefined behaviour, and so that the thread sanitizer sees every acquisition.
#include <pthread.h>

#include <cstdint>

namespace lintra {

class RecursiveMutex {
public:
    static constexpr uint32_t kInfinite = 0xFFFFFFFF;

    RecursiveMutex();
    ~RecursiveMutex();
    RecursiveMutex(const RecursiveMutex &) = delete;
    RecursiveMutex &operator=(const RecursiveMutex &) = delete;

    // 0 when taken, else the error code (ETIMEDOUT when the wait expired).
    int lock(uint32_t timeoutMs = kInfinite);
    // 0, or EPERM when the calling thread does not own it.
    int unlock();

private:
    pthread_mutex_t mutex_;
};

// Holds a RecursiveMutex for a scope when the bounded wait succeeded.
class TimedGuard {
public:
    TimedGuard(RecursiveMutex &mutex, uint32_t timeoutMs) : mutex_(mutex), error_(mutex.lock(timeoutMs)) {}
    ~TimedGuard() {
        if (error_ == 0) mutex_.unlock();
    }
    TimedGuard(const TimedGuard &) = delete;
    TimedGuard &operator=(const TimedGuard &) = delete;
    bool owns() const { return error_ == 0; }
    int error() const { return error_; }

private:
    RecursiveMutex &mutex_;
    int error_;
};

}  // namespace lintra
