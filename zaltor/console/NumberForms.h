#pragma once
// The number forms of the message texts.
#include <cstdint>
#include <span>
#include <string>

namespace zaltor::console {

// Upper-case hex, at least two digits: a byte is always exactly two, a wider value is not cut.
std::string hex2(unsigned value);
std::string decimal(unsigned value);
// A byte whose nibbles are decimal digits; invalid nibbles are taken as they are (0xFF -> 165).
unsigned fromBcd(uint8_t byte);
// The last two decimal digits, zero-padded.
std::string twoDigits(unsigned value);
// A space and the decimal value of every non-zero byte, in order.
std::string zoneList(std::span<const uint8_t> bytes);

}  // namespace zaltor::console
