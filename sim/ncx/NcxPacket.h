#pragma once
// A packet of the NCX controller's wire: one ASCII line "T" kind "L" line code "D" length data.
// Kind and line are one hex digit each, the code a letter and three hex digits, the length two
// hex digits counting the data characters that follow. Hex digits are capitals only.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

struct NcxPacket {
    static constexpr size_t kHeaderChars = 11;
    static constexpr size_t kMaxChars = kHeaderChars + 255;
    static constexpr uint8_t kControllerLine = 0xF;

    uint8_t kind = 0;
    uint8_t line = 0;
    std::string code;  // "G109"
    std::string data;  // raw characters
};

// The packet a received line (terminator removed) holds; nullopt unless the line is exactly one.
std::optional<NcxPacket> parsePacket(std::string_view text);
// The packet's characters without a terminator. Kind and line 0..15, a four-character code and
// at most 255 data characters.
std::string formatPacket(const NcxPacket &packet);
// The value of a capital hex digit, or -1.
int hexDigit(char c);

}  // namespace sim
