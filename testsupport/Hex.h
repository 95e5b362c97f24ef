#pragma once
// Byte strings written as hex in tests: hexBytes("A4 05 56 F2"), toHex(bytes) == "A4 05 56 F2".
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {
std::vector<uint8_t> hexBytes(std::string_view text);
std::string toHex(std::span<const uint8_t> bytes);
}  // namespace testsupport
