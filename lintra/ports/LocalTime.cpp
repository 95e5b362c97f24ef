#include "lintra/ports/LocalTime.h"

#include <ctime>

namespace lintra {

LocalTime SystemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {static_cast<uint8_t>(parts.tm_mon + 1), static_cast<uint8_t>(parts.tm_mday),
            static_cast<uint8_t>(parts.tm_hour), static_cast<uint8_t>(parts.tm_min)};
}

}  // namespace lintra
