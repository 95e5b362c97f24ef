#pragma once
// The text forms of values in the configuration file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zaltor {

// A decimal integer with an optional sign, nothing else around it, within min..max.
std::optional<int> parseFileInteger(std::string_view text, int min, int max);

// "Pass": the two packed-BCD digit pairs as four digits, or "FFFF" unless both are valid BCD.
std::string formatPass(uint8_t first, uint8_t second);
// Each pair of the first four characters: "FF" (any case) gives 0xFF, two digits their BCD.
std::optional<std::array<uint8_t, 2>> parsePass(std::string_view text);

// "Code": the four code bytes as eight upper-case hexadecimal digits and "h".
std::string formatCode(const uint8_t *bytes);
// The first eight characters as four hexadecimal pairs; the rest is ignored.
std::optional<std::array<uint8_t, 4>> parseCode(std::string_view text);

// "Cont": the members of one section quarter (mask bytes d2..d9) up to zone 200, ascending,
// comma-separated; empty when there are none.
std::string formatCont(uint8_t quarter, const uint8_t *mask);
struct SectionQuarter {
    uint8_t quarter = 0;
    std::array<uint8_t, 8> mask{};
};
// The numbers in the text (digit runs, anything else separates), up to a 0 or the 64th. Each
// must be 1..255; the quarter is that of the last number.
std::optional<SectionQuarter> parseCont(std::string_view text);

}  // namespace zaltor
