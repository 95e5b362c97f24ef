#include "lintra/nx/NXCommBuff.h"

#include <cstring>

namespace lintra::nx {

int32_t HexDigitValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char HexDigit(int32_t value) { return "0123456789ABCDEF"[value & 15]; }

namespace {

// The value of count hexadecimal digits, or -1 when one is not a digit.
int32_t HexValue(const uint8_t *digits, int count) {
    int32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t digit = HexDigitValue(digits[i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

bool TNXCommBuff::BuildHeader() {
    std::memcpy(packet, "T0L0C000D00", kHeaderSize);
    std::memcpy(packet + 4, code, sizeof code);
    if (kind < 0 || kind > 15) return Fail(erKind);
    if (line < 0 || line > 15) return Fail(erLine);
    if (code[0] < 'A' || code[0] > 'Z') return Fail(erCode);
    codeNumber = HexValue(packet + 5, 3);
    if (codeNumber < 0) return Fail(erCode);
    if (dataLength < 0 || dataLength > kMaxDataLength) return Fail(erDataLength);
    packet[1] = static_cast<uint8_t>(HexDigit(kind));
    packet[3] = static_cast<uint8_t>(HexDigit(line));
    packet[9] = static_cast<uint8_t>(HexDigit(dataLength >> 4));
    packet[10] = static_cast<uint8_t>(HexDigit(dataLength));
    length = dataLength + kHeaderSize;
    error = erNone;
    return true;
}

bool TNXCommBuff::ParseHeader() {
    if (length < kHeaderSize) return Fail(erShort);
    if (packet[0] != 'T' || packet[2] != 'L' || packet[8] != 'D') return Fail(erFrame);
    const int32_t kindValue = HexDigitValue(packet[1]);
    if (kindValue < 0) return Fail(erKind);
    const int32_t lineValue = HexDigitValue(packet[3]);
    if (lineValue < 0) return Fail(erLine);
    const int32_t number = HexValue(packet + 5, 3);
    if (number < 0) return Fail(erCode);
    const int32_t dataLengthValue = HexValue(packet + 9, 2);
    if (dataLengthValue < 0) return Fail(erDataLength);
    kind = kindValue;
    line = lineValue;
    std::memcpy(code, packet + 4, sizeof code);
    codeNumber = number;
    dataLength = dataLengthValue;
    if (length != dataLength + kHeaderSize) return Fail(erLength);
    error = erNone;
    return true;
}

void TNXCommBuff::AppendCR() {
    if (length >= 0 && length < capacity) packet[length++] = '\r';
}

}  // namespace lintra::nx
