#pragma once
// TNXCommBuff: one packet of the controller link, a line of ASCII text:
//   "T" kind "L" line code(letter + 3 hex digits) "D" data-length(2 hex digits) data...
// Hexadecimal digits are 0-9 and capital A-F only. The packet area holds the longest packet
// (11 header characters + 255 data characters) and the CR that ends a sent one.
#include <cstdint>

#include "lintra/nx/CommBuff.h"

namespace lintra::nx {

class TNXCommBuff : public TCommBuff {
public:
    static constexpr int32_t kHeaderSize = 11;
    static constexpr int32_t kMaxDataLength = 255;
    static constexpr int32_t kMaxPacket = kHeaderSize + kMaxDataLength;
    static constexpr int32_t kControllerLine = 15;  // line F: the controller itself

    // The reason of the last failed build, parse or decode.
    enum Error : int32_t {
        erNone = 0,
        erShort = 1,       // fewer than 11 characters
        erLength = 2,      // the characters in use disagree with the data length field
        erFrame = 3,       // "T", "L" or "D" missing
        erKind = 4,
        erLine = 5,
        erCode = 6,
        erDataLength = 7,  // not hexadecimal, or (building) out of 0..255 / data without a form
        erData = 8,        // data characters that do not decode
    };

    TNXCommBuff() : TCommBuff(packet, sizeof packet) {}
    TNXCommBuff(int32_t kindValue, int32_t lineValue) : TNXCommBuff() {
        kind = kindValue;
        line = lineValue;
    }

    // Writes the header from kind, line, code and dataLength in front of the data already at
    // position 11; the length becomes dataLength + 11. A code that is not a capital letter and
    // three hexadecimal digits is refused too: it would reach the controller as a broken line.
    bool BuildHeader();
    // Reads kind, line, code, code number and data length from the characters in use. A packet
    // whose length is not dataLength + 11 is refused: its data would be cut short or carry
    // characters the header does not account for.
    bool ParseHeader();
    // Appends the CR that ends a sent packet; the area always has room after a built one.
    void AppendCR();
    // The data characters of a parsed or built packet.
    const uint8_t *Data() const { return packet + kHeaderSize; }
    uint8_t *Data() { return packet + kHeaderSize; }

    int32_t dataLength = 0;
    uint8_t packet[kMaxPacket + 1] = {};
    int32_t kind = 0;
    int32_t line = 0;
    char code[4] = {};
    int32_t codeNumber = 0;
    int32_t error = erNone;

private:
    bool Fail(Error reason) {
        error = reason;
        return false;
    }
};

// The value of one hexadecimal digit, or -1.
int32_t HexDigitValue(uint8_t c);
char HexDigit(int32_t value);

}  // namespace lintra::nx
