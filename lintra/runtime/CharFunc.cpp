#include "lintra/runtime/CharFunc.h"

namespace lintra {

bool HexDigitValue(char c, int &value) {
    if (c >= '0' && c <= '9') {
        value = c - '0';
        return true;
    }
    if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
        return true;
    }
    return false;
}

bool HexToInt(const char *text, uint32_t &value, int count) {
    value = 0;
    for (int i = 0; i < count; ++i) {
        int digit = 0;
        if (!HexDigitValue(text[i], digit)) return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

bool HexDigitChar(int value, char &c) {
    if (value < 0 || value > 15) {
        c = 0;
        return false;
    }
    c = "0123456789ABCDEF"[value];
    return true;
}

bool IntToHexFixed(uint32_t value, char *destination, int count) {
    for (int i = count - 1; i >= 0; --i) {
        HexDigitChar(static_cast<int>(value & 0x0F), destination[i]);
        value >>= 4;
    }
    return value == 0;
}

void BytesToHexStr(const uint8_t *data, int length, int flags, std::string &out) {
    out.clear();
    AppendHexBytes(out, data, length, flags);
}

void EscapeControlChars(const uint8_t *data, int length, std::string &out) {
    out.clear();
    for (int i = 0; i < length; ++i) {
        char escaped = 0;
        switch (data[i]) {
        case 0: escaped = '0'; break;
        case 9: escaped = 't'; break;
        case 10: escaped = 'n'; break;
        case 13: escaped = 'r'; break;
        default: out.push_back(static_cast<char>(data[i])); continue;
        }
        out.push_back('\\');
        out.push_back(escaped);
    }
}

void BoolTo01(bool value, std::string &out) { out.assign(1, value ? '1' : '0'); }

void ByteToBinStr(uint32_t value, std::string &s) {
    for (int bit = 7; bit >= 0; --bit) s.push_back((value >> bit) & 1 ? '1' : '0');
}

void BitsToStr(uint32_t value, int topBit, std::string &s) {
    if (topBit > 31) topBit = 31;
    for (int bit = 0; bit <= topBit; ++bit) s.push_back((value >> bit) & 1 ? '1' : '0');
}

uint32_t SwapBytes32(uint32_t value) { return __builtin_bswap32(value); }

}  // namespace lintra
