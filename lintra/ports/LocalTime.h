#pragma once
// The local calendar time as event records carry it. Conversions take it as an argument; the
// lines take it from their clock, so tests that fix the clock fix the time stamps too.
#include <cstdint>

#include "platform/Clock.h"

namespace lintra {

struct LocalTime {
    uint8_t month;  // 1..12
    uint8_t day;    // 1..31
    uint8_t hour;
    uint8_t minute;
};

LocalTime LocalTimeOf(const tessel::Clock &clock);

}  // namespace lintra
