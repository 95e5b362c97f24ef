#include "platform/Utf16.h"

namespace tessel {

void appendUtf8(std::string &out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string utf16leToUtf8(std::string_view bytes) {
    constexpr uint32_t replacement = 0xFFFD;
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) |
               static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    };
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    for (size_t u = 0; u < units; ++u) {
        uint32_t c = unit(2 * u);
        if (c >= 0xD800 && c <= 0xDBFF && u + 1 < units) {
            uint32_t low = unit(2 * (u + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++u;
                continue;
            }
        }
        appendUtf8(out, (c >= 0xD800 && c <= 0xDFFF) ? replacement : c);
    }
    return out;
}

}  // namespace tessel
