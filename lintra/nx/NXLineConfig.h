#pragma once
// The line configuration the controller is given at connection ("S101"): one character per
// line slot 0 to 15, the type digit of the line at that slot as a hexadecimal digit, or "9"
// for an empty slot.
#include <array>
#include <cstdint>
#include <span>

namespace lintra::nx {

inline constexpr int32_t kConfigSlots = 16;
inline constexpr char kEmptySlot = '9';

// typeDigits[i]: the type digit of the line at slot i, or -1 when none; slots beyond the span
// are empty. A digit outside 0..15 has no character and counts as an empty slot.
std::array<uint8_t, kConfigSlots> LineConfiguration(std::span<const int32_t> typeDigits);

}  // namespace lintra::nx
