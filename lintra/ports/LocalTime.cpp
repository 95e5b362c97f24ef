#include "lintra/ports/LocalTime.h"

#include <ctime>

namespace lintra {

LocalTime LocalTimeOf(const tessel::Clock &clock) {
    const std::time_t now = static_cast<std::time_t>(clock.wallSeconds());
    std::tm parts{};
    localtime_r(&now, &parts);
    return {static_cast<uint8_t>(parts.tm_mon + 1), static_cast<uint8_t>(parts.tm_mday),
            static_cast<uint8_t>(parts.tm_hour), static_cast<uint8_t>(parts.tm_min)};
}

}  // namespace lintra
