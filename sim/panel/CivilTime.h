#pragma once
// Calendar time of the panel's clock, kept as seconds of a civil (zone-less) calendar.
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

struct CivilTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const CivilTime &) const = default;
};

int64_t toSeconds(const CivilTime &t);
CivilTime fromSeconds(int64_t seconds);
bool isValid(const CivilTime &t);
// "2026-03-05 09:04:00"
std::string formatCivil(const CivilTime &t);
std::optional<CivilTime> parseCivil(const std::string &date, const std::string &time);
// The local time of the host, as the panel's clock starts in the program.
CivilTime localNow();

// The panel's clock: set at a moment of the explicit model time, it runs with that time.
class PanelClock {
public:
    PanelClock(const CivilTime &start, uint64_t nowMs) { set(start, nowMs); }
    void set(const CivilTime &t, uint64_t nowMs);
    CivilTime at(uint64_t nowMs) const;

private:
    int64_t baseSeconds_ = 0;
    uint64_t baseMs_ = 0;
};

}  // namespace sim
