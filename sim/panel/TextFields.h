#pragma once
// Strict parsing of the whitespace-separated fields of the simulator's text formats (the state
// file and the control commands): a field either is the number it claims or is refused.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

std::vector<std::string> splitFields(std::string_view line);
// Decimal 0..max.
std::optional<uint32_t> parseDecimal(const std::string &field, uint32_t max);
// Exactly `digits` hex digits.
std::optional<uint32_t> parseHex(const std::string &field, size_t digits);
// A byte as decimal, or hex with a 0x prefix.
std::optional<uint8_t> parseByte(const std::string &field);
std::string hex(uint32_t value, int digits);

}  // namespace sim
