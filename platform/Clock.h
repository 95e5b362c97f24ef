#pragma once
// Time as the protocol engines see it. Engines take a Clock&, threads pass SteadyClock, tests
// pass ManualClock and advance it instead of sleeping.
#include <cstdint>

namespace tessel {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds of a monotonic clock (the tick count).
    virtual uint64_t nowMs() const = 0;
    // Pauses the calling engine for ms milliseconds.
    virtual void sleepMs(uint32_t ms) = 0;
};

class SteadyClock final : public Clock {
public:
    uint64_t nowMs() const override;
    void sleepMs(uint32_t ms) override;
    static SteadyClock &instance();
};

// A clock that moves only when told to; a pause advances it at once.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint64_t startMs = 1000) : now_(startMs) {}
    uint64_t nowMs() const override { return now_; }
    void sleepMs(uint32_t ms) override { now_ += ms; }
    void advance(uint64_t ms) { now_ += ms; }

private:
    uint64_t now_;
};

}  // namespace tessel
