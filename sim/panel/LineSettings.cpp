#include "sim/panel/LineSettings.h"

namespace sim {

LineSettings settingsOfMode(int mode) {
    if (mode == 1) return {19200, 8, false, false, false, false};
    return {mode == 0 ? 10400u : 19200u, 8, true, true, false, true};
}

int speedModeOf(const LineSettings &s) {
    if (s.dataBits != 8) return kNoSpeedMode;
    // PARENB does not survive a pseudo-terminal, so the stop bits tell mode 1 from mode 2.
    if (s.baud == 10400 && s.twoStopBits) return 0;
    if (s.baud == 19200) return s.twoStopBits ? 2 : 1;
    return kNoSpeedMode;
}

uint32_t byteTimeUs(const LineSettings &s) {
    if (s.baud == 0) return 0;
    unsigned bits = 1 + s.dataBits + (s.parityEnabled || s.stickParity ? 1 : 0) + (s.twoStopBits ? 2 : 1);
    return static_cast<uint32_t>(bits * 1000000ull / s.baud);
}

std::string describe(const LineSettings &s) {
    const char *parity = !s.parityEnabled && !s.stickParity ? "none"
                         : s.stickParity                    ? (s.oddParity ? "mark" : "space")
                         : s.oddParity                      ? "odd"
                                                            : "even";
    std::string text = std::to_string(s.baud) + " " + std::to_string(s.dataBits) + " " + parity +
                       " " + (s.twoStopBits ? "2" : "1");
    int mode = speedModeOf(s);
    text += mode == kNoSpeedMode ? " (no speed mode)" : " (mode " + std::to_string(mode) + ")";
    return text;
}

}  // namespace sim
