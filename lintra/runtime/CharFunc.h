#pragma once
// Small text utilities shared by log records and protocol parsers. Hex digits are upper-case
// only, both ways: the equipment and the settings files never use lower-case.
#include <cstdint>
#include <string>

namespace lintra {

// Column selection of a hex dump.
enum DumpFlags : int { dfOffset = 1, dfHex = 2, dfChars = 4 };

// '0'..'9' -> 0..9, 'A'..'F' -> 10..15; anything else (lower case included) -> false.
bool HexDigitValue(char c, int &value);
// Reads count upper-case hex digits, most significant first. At the first non-digit answers
// false with the digits read so far in value. Count 0 (or less) gives 0 and true.
bool HexToInt(const char *text, uint32_t &value, int count);
// 0..15 -> '0'..'9', 'A'..'F'; anything else -> character 0 and false.
bool HexDigitChar(int value, char &c);
// Writes exactly count upper-case hex digits (no terminator), least significant last; false
// when the value did not fit (the low digits are still written).
bool IntToHexFixed(uint32_t value, char *destination, int count);

// Appends the dump columns of BytesToHexStr to any character sink with push_back.
template <class Sink>
void AppendHexBytes(Sink &out, const uint8_t *data, int length, int flags) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (flags & dfHex) {
        for (int i = 0; i < length; ++i) {
            out.push_back(' ');
            out.push_back(kDigits[data[i] >> 4]);
            out.push_back(kDigits[data[i] & 0x0F]);
        }
        out.push_back(' ');
        out.push_back(' ');
    }
    if (flags & dfChars) {
        for (int i = 0; i < length; ++i) out.push_back(data[i] < 32 ? '.' : static_cast<char>(data[i]));
    }
}

// dfHex: " XX" per byte, then two spaces; dfChars: each byte, '.' below 32. Replaces out.
void BytesToHexStr(const uint8_t *data, int length, int flags, std::string &out);
// Copies bytes, writing 0, tab, line feed and carriage return as \0, \t, \n and \r. Replaces out.
void EscapeControlChars(const uint8_t *data, int length, std::string &out);
// "1" or "0". Replaces out.
void BoolTo01(bool value, std::string &out);
// Appends the 8 bits of the low byte, most significant first.
void ByteToBinStr(uint32_t value, std::string &s);
// Appends bits 0..topBit, least significant first; nothing for a negative topBit; at most 32 bits.
void BitsToStr(uint32_t value, int topBit, std::string &s);
uint32_t SwapBytes32(uint32_t value);

}  // namespace lintra
