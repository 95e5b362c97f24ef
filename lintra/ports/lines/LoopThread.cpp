#include "lintra/ports/lines/LoopThread.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <thread>

namespace lintra {
namespace {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) && std::atomic<uint32_t>::is_always_lock_free);

uint32_t *futexWord(std::atomic<uint32_t> &word) { return reinterpret_cast<uint32_t *>(&word); }

timespec monotonicAfter(uint32_t ms) {
    timespec at{};
    ::clock_gettime(CLOCK_MONOTONIC, &at);
    at.tv_sec += ms / 1000;
    at.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
    if (at.tv_nsec >= 1000000000L) {
        at.tv_nsec -= 1000000000L;
        ++at.tv_sec;
    }
    return at;
}

}  // namespace

TLoopThread::TLoopThread(std::string className, Loop loop)
    : TBaseThread(std::move(className)), loop_(std::move(loop)) {}

TLoopThread::~TLoopThread() { StopLoop(); }

void TLoopThread::StopLoop() {
    Terminate();
    stopWord_.store(1);
    ::syscall(SYS_futex, futexWord(stopWord_), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
    Stop();
}

// One system call per pause: a condition variable costs a second one on every step, since the
// mutex it takes back after a timed wait is marked contended and its unlock wakes the kernel.
bool TLoopThread::pause(uint32_t ms) {
    if (ms == 0) {
        std::this_thread::yield();
    } else {
        const timespec deadline = monotonicAfter(ms);
        while (stopWord_.load() == 0) {
            const long result = ::syscall(SYS_futex, futexWord(stopWord_), FUTEX_WAIT_BITSET_PRIVATE, 0, &deadline,
                                          nullptr, FUTEX_BITSET_MATCH_ANY);
            if (result != 0 && errno == ETIMEDOUT) break;
        }
    }
    return !Terminated();
}

void TLoopThread::Execute() {
    if (pause(loop_.firstPauseMs)) {
        while (pause(loop_.step())) {
        }
    }
    if (loop_.atEnd) loop_.atEnd();
}

}  // namespace lintra
