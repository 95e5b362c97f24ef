#include "sim/panel/Frame.h"

#include <stdexcept>

namespace sim {

uint8_t frameChecksum(std::span<const uint8_t> bytes) {
    uint8_t c = 0;
    for (uint8_t b : bytes) c = static_cast<uint8_t>(((c << 1) | (c >> 7)) + b);
    return c;
}

size_t announcedLength(uint8_t first) {
    if ((first & 0xF0) != kFrameMarker) return 0;
    size_t n = first & 0x0F;
    return n >= kMinFrame ? n : 0;
}

bool frameIsValid(std::span<const uint8_t> frame) {
    if (frame.empty() || announcedLength(frame[0]) != frame.size()) return false;
    return frameChecksum(frame.first(frame.size() - 1)) == frame.back();
}

Bytes makeFrame(uint8_t address, uint8_t code, std::span<const uint8_t> params) {
    if (params.size() + 4 > kMaxFrame) throw std::length_error("frame too long");
    Bytes frame;
    frame.reserve(params.size() + 4);
    frame.push_back(static_cast<uint8_t>(kFrameMarker | (params.size() + 4)));
    frame.push_back(address);
    frame.push_back(code);
    frame.insert(frame.end(), params.begin(), params.end());
    frame.push_back(frameChecksum(frame));
    return frame;
}

}  // namespace sim
