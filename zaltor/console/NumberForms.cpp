#include "zaltor/console/NumberForms.h"

#include <cstdio>

namespace zaltor::console {

std::string hex2(unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2X", value);
    return buffer;
}

std::string decimal(unsigned value) { return std::to_string(value); }

unsigned fromBcd(uint8_t byte) { return (byte >> 4) * 10u + (byte & 0x0Fu); }

std::string twoDigits(unsigned value) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02u", value % 100);
    return buffer;
}

std::string zoneList(std::span<const uint8_t> bytes) {
    std::string list;
    for (uint8_t zone : bytes)
        if (zone != 0) list += " " + decimal(zone);
    return list;
}

}  // namespace zaltor::console
