#pragma once
// The PC's local calendar time as event records carry it. Conversions take it as an argument so
// that tests pass a fixed time; the line code passes SystemLocalTime().
#include <cstdint>

namespace lintra {

struct LocalTime {
    uint8_t month;  // 1..12
    uint8_t day;    // 1..31
    uint8_t hour;
    uint8_t minute;
};

LocalTime SystemLocalTime();

}  // namespace lintra
