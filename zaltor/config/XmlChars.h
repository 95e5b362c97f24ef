#pragma once
// Character classes of the configuration file's XML subset. Bytes are single-byte Windows
// Cyrillic, so the Cyrillic letters 0xC0..0xFF count as letters.
#include <cstdint>

namespace zaltor::xmlchars {

inline bool isNameStart(uint8_t c) {
    return c == ':' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}

inline bool isNameChar(uint8_t c) {
    return isNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

inline bool isSpace(uint8_t c) { return c <= 0x20; }

// What ends a tag name besides '>'.
inline bool isNameEnd(uint8_t c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

}  // namespace zaltor::xmlchars
