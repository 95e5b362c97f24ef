// The byte 0x98 has no character in code page 1251; it reads as U+FFFD, which goes back as '?'.
// U+0098, which Windows makes of that byte, goes back as 0x98.
#include "platform/Cp1251.h"

#include <cstdint>

#include "platform/Utf16.h"

namespace tessel {
namespace {

constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

uint32_t decodeByte(unsigned char c) {
    if (c < 0x80) return c;
    if (c >= 0xC0) return 0x0410 + (c - 0xC0u);  // А..я in alphabet order
    return kHigh[c - 0x80];
}

char encodeCodePoint(uint32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    if (cp == 0x0098) return static_cast<char>(0x98);
    if (cp != 0xFFFD)
        for (unsigned i = 0; i < 64; ++i)
            if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one UTF-8 sequence at text[i]; answers its length, or 0 when it is not valid UTF-8.
size_t decodeUtf8(std::string_view text, size_t i, uint32_t &cp) {
    auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char c = b(i);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > text.size()) return 0;
    cp = len == 1 ? c : c & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (b(i + k) & 0x3F);
    }
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) appendUtf8(out, decodeByte(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        size_t len = decodeUtf8(text, i, cp);
        out += len ? encodeCodePoint(cp) : '?';
        i += len ? len : 1;
    }
    return out;
}

}  // namespace tessel
