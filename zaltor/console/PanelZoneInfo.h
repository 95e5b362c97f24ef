#pragma once
// Text of the panel's zone information answer (code 85).
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

inline constexpr std::size_t kZoneInfoBytes = 5;  // zone, flags, state, block type, timer

std::string describeZoneInfo(std::span<const uint8_t, kZoneInfoBytes> info);

}  // namespace zaltor::console
