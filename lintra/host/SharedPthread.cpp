#include "lintra/host/SharedPthread.h"

#include <cerrno>
#include <ctime>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace lintra::host {

namespace {

// The thread sanitizer's timed-lock interceptor records only a plain success, not a lock taken
// over from a dead owner; tell it, or it reports the later unlock as one of an unlocked mutex.
void noteTimedLockRecovered([[maybe_unused]] pthread_mutex_t *mutex) {
#if defined(__SANITIZE_THREAD__)
    __tsan_mutex_pre_lock(mutex, __tsan_mutex_try_lock);
    __tsan_mutex_post_lock(mutex, __tsan_mutex_try_lock, 1);
#endif
}

}  // namespace

bool initSharedMutex(pthread_mutex_t *mutex, bool recursive) {
    pthread_mutexattr_t attributes;
    if (pthread_mutexattr_init(&attributes) != 0) return false;
    bool done = pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST) == 0 &&
                pthread_mutexattr_settype(&attributes, recursive ? PTHREAD_MUTEX_RECURSIVE : PTHREAD_MUTEX_NORMAL) == 0 &&
                pthread_mutex_init(mutex, &attributes) == 0;
    pthread_mutexattr_destroy(&attributes);
    return done;
}

bool initSharedCondition(pthread_cond_t *condition) {
    pthread_condattr_t attributes;
    if (pthread_condattr_init(&attributes) != 0) return false;
    bool done = pthread_condattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED) == 0 &&
                pthread_cond_init(condition, &attributes) == 0;
    pthread_condattr_destroy(&attributes);
    return done;
}

LockResult lockShared(pthread_mutex_t *mutex, std::optional<std::chrono::milliseconds> timeout) {
    int status;
    if (!timeout) {
        status = pthread_mutex_lock(mutex);
    } else {
        // The timed lock takes a CLOCK_REALTIME deadline (the monotonic variant is not seen by
        // the thread sanitizer).
        timespec deadline{};
        clock_gettime(CLOCK_REALTIME, &deadline);
        long long nanos = deadline.tv_nsec + static_cast<long long>(timeout->count() % 1000) * 1000000;
        deadline.tv_sec += static_cast<time_t>(timeout->count() / 1000 + nanos / 1000000000);
        deadline.tv_nsec = static_cast<long>(nanos % 1000000000);
        status = pthread_mutex_timedlock(mutex, &deadline);
        if (status == EOWNERDEAD) noteTimedLockRecovered(mutex);
    }
    switch (status) {
        case 0: return LockResult::Acquired;
        case EOWNERDEAD: return pthread_mutex_consistent(mutex) == 0 ? LockResult::Recovered : LockResult::Failed;
        case ETIMEDOUT:
        case EBUSY: return LockResult::TimedOut;
        default: return LockResult::Failed;
    }
}

}  // namespace lintra::host
