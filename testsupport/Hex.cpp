#include "testsupport/Hex.h"

#include <stdexcept>

namespace testsupport {
namespace {
int nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::vector<uint8_t> hexBytes(std::string_view text) {
    std::vector<uint8_t> out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == '\n') continue;
        int n = nibble(c);
        if (n < 0) throw std::invalid_argument("bad hex digit in test vector");
        if (high < 0) {
            high = n;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | n));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits in test vector");
    return out;
}

std::string toHex(std::span<const uint8_t> bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}
}  // namespace testsupport
