#pragma once
// The three line settings a panel line steps through while looking for its panel.
#include <cstdint>

#include "lintra/host/Port.h"

namespace lintra {

struct SpeedMode {
    const char *name;  // as the line log shows it
    LineSettings line;
    // The parity bit is a ninth data bit: 1 on the first byte of a frame, 0 on the others.
    bool ninthBit;
};

inline constexpr uint8_t kSpeedModeCount = 3;

// Mode 0..2; any other value is taken modulo 3 so that no table is read out of range.
const SpeedMode &SpeedModeOf(uint8_t mode);

}  // namespace lintra
