#pragma once
// Text of an internal event of the panel (code 87).
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

// d0 type, d1 first parameter, d2 second parameter, d7 d8 event number (high byte first).
inline constexpr std::size_t kInternalEventBytes = 9;

std::string describeInternalEvent(std::span<const uint8_t, kInternalEventBytes> event);

}  // namespace zaltor::console
