#include "lintra/ports/SpeedMode.h"

namespace lintra {

const SpeedMode &SpeedModeOf(uint8_t mode) {
    static constexpr SpeedMode kModes[kSpeedModeCount] = {
        {"10400", {10400, 8, Parity::Mark, 2}, true},
        {"19200_8", {19200, 8, Parity::None, 1}, false},
        {"19200_9", {19200, 8, Parity::Mark, 2}, true},
    };
    return kModes[mode % kSpeedModeCount];
}

}  // namespace lintra
