#include "lintra/runtime/RecursiveMutex.h"

#include <ctime>

namespace lintra {

RecursiveMutex::RecursiveMutex() {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&mutex_, &attr);
    pthread_mutexattr_destroy(&attr);
}

RecursiveMutex::~RecursiveMutex() { pthread_mutex_destroy(&mutex_); }

int RecursiveMutex::lock(uint32_t timeoutMs) {
    if (timeoutMs == kInfinite) return pthread_mutex_lock(&mutex_);
    // The deadline is on the realtime clock because that is the clock timedlock takes.
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    long nanos = deadline.tv_nsec + static_cast<long>(timeoutMs % 1000) * 1000000L;
    deadline.tv_sec += static_cast<time_t>(timeoutMs / 1000) + nanos / 1000000000L;
    deadline.tv_nsec = nanos % 1000000000L;
    return pthread_mutex_timedlock(&mutex_, &deadline);
}

int RecursiveMutex::unlock() { return pthread_mutex_unlock(&mutex_); }

}  // namespace lintra
