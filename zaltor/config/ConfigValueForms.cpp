#include "zaltor/config/ConfigValueForms.h"

#include "zaltor/config/ConfigImage.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace zaltor {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBcd(uint8_t v) { return (v >> 4) <= 9 && (v & 0x0F) <= 9; }

std::optional<uint8_t> parseHexPair(std::string_view pair) {
    uint8_t value = 0;
    const auto [end, ec] = std::from_chars(pair.data(), pair.data() + 2, value, 16);
    if (ec != std::errc() || end != pair.data() + 2) return std::nullopt;
    return value;
}

std::optional<uint8_t> parsePassPair(std::string_view pair) {
    if ((pair[0] == 'F' || pair[0] == 'f') && (pair[1] == 'F' || pair[1] == 'f')) return 0xFF;
    if (!isDigit(pair[0]) || !isDigit(pair[1])) return std::nullopt;
    return static_cast<uint8_t>((pair[0] - '0') << 4 | (pair[1] - '0'));
}

constexpr int kLastMember = 200;      // members above the panel's last zone are not written
constexpr size_t kMaxContNumbers = 64;

}  // namespace

std::optional<int> parseFileInteger(std::string_view text, int min, int max) {
    if (text.size() > 1 && text[0] == '+' && isDigit(text[1])) text.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return static_cast<int>(value);
}

std::string formatPass(uint8_t first, uint8_t second) {
    if (!isBcd(first) || !isBcd(second)) return "FFFF";
    char text[5];
    std::snprintf(text, sizeof text, "%02X%02X", first, second);
    return text;
}

std::optional<std::array<uint8_t, 2>> parsePass(std::string_view text) {
    if (text.size() < 4) return std::nullopt;
    const auto first = parsePassPair(text.substr(0, 2));
    const auto second = parsePassPair(text.substr(2, 2));
    if (!first || !second) return std::nullopt;
    return std::array<uint8_t, 2>{*first, *second};
}

std::string formatCode(const uint8_t *bytes) {
    char text[10];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02Xh", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

std::optional<std::array<uint8_t, 4>> parseCode(std::string_view text) {
    if (text.size() < 8) return std::nullopt;
    std::array<uint8_t, 4> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = parseHexPair(text.substr(2 * i, 2));
        if (!byte) return std::nullopt;
        bytes[i] = *byte;
    }
    return bytes;
}

std::string formatCont(uint8_t quarter, const uint8_t *mask) {
    std::string list;
    for (int k = 0; k < 8; ++k)
        for (int i = 1; i <= 8; ++i) {
            const int number = 64 * quarter + 8 * k + i;
            if (!(mask[k] & (1 << (8 - i))) || number > kLastMember) continue;
            if (!list.empty()) list += ',';
            list += std::to_string(number);
        }
    return list;
}

std::optional<SectionQuarter> parseCont(std::string_view text) {
    SectionQuarter result;
    size_t taken = 0;
    size_t i = 0;
    while (taken < kMaxContNumbers) {
        while (i < text.size() && !isDigit(text[i])) ++i;
        if (i == text.size()) break;
        int number = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) number = std::min(number * 10 + (text[i] - '0'), 1000);
        ++taken;
        if (number == 0) break;
        if (number > 255) return std::nullopt;
        const SectionBit bit = sectionBitOf(number);
        result.quarter = static_cast<uint8_t>(bit.quarter);
        result.mask[bit.maskByte] |= bit.bit;
    }
    return result;
}

}  // namespace zaltor
