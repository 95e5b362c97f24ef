#include "platform/Clock.h"

#include <time.h>

namespace tessel {

uint64_t SteadyClock::nowMs() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
}

void SteadyClock::sleepMs(uint32_t ms) {
    timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

int64_t SteadyClock::wallSeconds() const { return static_cast<int64_t>(::time(nullptr)); }

SteadyClock &SteadyClock::instance() {
    static SteadyClock *clock = new SteadyClock;  // threads still pause on it during exit
    return *clock;
}

}  // namespace tessel
