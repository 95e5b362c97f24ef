#pragma once
// The serial settings of a line as the simulator sees them, and the panel speed modes they
// stand for: 0 = 10400 baud with mark/space ninth bit and 2 stop bits, 1 = 19200 8N1,
// 2 = 19200 with the ninth bit and 2 stop bits.
#include <cstdint>
#include <string>

namespace sim {

struct LineSettings {
    uint32_t baud = 10400;
    unsigned dataBits = 8;
    bool parityEnabled = false;  // PARENB; a pseudo-terminal always reads back false
    bool stickParity = false;    // CMSPAR: mark or space
    bool oddParity = false;      // PARODD: with CMSPAR, mark
    bool twoStopBits = false;
    bool operator==(const LineSettings &) const = default;
};

constexpr int kNoSpeedMode = -1;

LineSettings settingsOfMode(int mode);
// The speed mode the settings stand for, or kNoSpeedMode.
int speedModeOf(const LineSettings &s);
// Wire time of one byte in microseconds: start bit, data bits, parity bit, stop bits.
uint32_t byteTimeUs(const LineSettings &s);
// "10400 8 mark 2" style description for the wire log.
std::string describe(const LineSettings &s);

}  // namespace sim
