#pragma once
// Robust process-shared pthread mutexes, as the named mutex and the named events keep them in
// shared sections: when a holder dies, the next locker recovers the mutex instead of hanging.
#include <pthread.h>

#include <chrono>
#include <optional>

namespace lintra::host {

bool initSharedMutex(pthread_mutex_t *mutex, bool recursive);
bool initSharedCondition(pthread_cond_t *condition);

enum class LockResult { Acquired, Recovered, TimedOut, Failed };

// Locks within the time-out (nullopt: no limit). Recovered: the previous holder died while
// holding it; the caller now holds it and the mutex is consistent again.
LockResult lockShared(pthread_mutex_t *mutex, std::optional<std::chrono::milliseconds> timeout);

}  // namespace lintra::host
