#pragma once
// Time as the protocol engines see it. Engines take a Clock&, threads pass SteadyClock, tests
// pass ManualClock and advance it instead of sleeping. The calendar time (what the time stamps of
// records derive from) comes from the same clock, so tests fix it too.
#include <cstdint>

namespace tessel {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds of a monotonic clock (the tick count).
    virtual uint64_t nowMs() const = 0;
    // Pauses the calling engine for ms milliseconds.
    virtual void sleepMs(uint32_t ms) = 0;
    // Seconds since the epoch of the calendar clock.
    virtual int64_t wallSeconds() const = 0;
};

class SteadyClock final : public Clock {
public:
    uint64_t nowMs() const override;
    void sleepMs(uint32_t ms) override;
    int64_t wallSeconds() const override;
    static SteadyClock &instance();
};

// A clock that moves only when told to; a pause advances it at once. Its calendar time starts at
// wallStartSeconds (by default 2026-06-15 12:00:00 UTC) and moves with it.
class ManualClock final : public Clock {
public:
    static constexpr int64_t kDefaultWallStart = 1781524800;

    explicit ManualClock(uint64_t startMs = 1000, int64_t wallStartSeconds = kDefaultWallStart)
        : start_(startMs), now_(startMs), wallStart_(wallStartSeconds) {}
    uint64_t nowMs() const override { return now_; }
    void sleepMs(uint32_t ms) override { now_ += ms; }
    int64_t wallSeconds() const override { return wallStart_ + static_cast<int64_t>((now_ - start_) / 1000); }
    void advance(uint64_t ms) { now_ += ms; }

private:
    const uint64_t start_;
    uint64_t now_;
    const int64_t wallStart_;
};

}  // namespace tessel
