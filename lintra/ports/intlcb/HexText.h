#pragma once
// Two capital hex digits, the form unit addresses take in the line log.
#include <cstdint>
#include <cstdio>
#include <string>

namespace lintra {

inline std::string Hex2(uint8_t value) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", value);
    return digits;
}

}  // namespace lintra
