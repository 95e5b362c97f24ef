#include "lintra/ports/PanelFrame.h"

#include <algorithm>

namespace lintra {

PanelFrame PanelFrame::fromBytes(std::span<const uint8_t> data) {
    PanelFrame frame;
    std::copy_n(data.begin(), std::min(data.size(), kBufferSize), frame.bytes.begin());
    return frame;
}

PanelFrame PanelFrame::command(uint8_t address, uint8_t code, std::span<const uint8_t> params) {
    const size_t count = std::min(params.size(), kMaxParams);
    PanelFrame frame;
    frame.bytes[0] = static_cast<uint8_t>(kLengthMarker | (count + 4));
    frame.bytes[1] = address;
    frame.bytes[2] = code;
    std::copy_n(params.begin(), count, frame.bytes.begin() + 3);
    return frame;
}

PanelFrame PanelFrame::internal(uint8_t length, uint8_t code) {
    PanelFrame frame;
    frame.bytes[0] = length;
    frame.bytes[1] = kInternalAddress;
    frame.bytes[2] = code;
    return frame;
}

PanelFrame PanelFrame::errorAnswer(uint8_t errorCode) {
    PanelFrame frame = internal(4, kCodeErrorAnswer);
    frame.bytes[3] = errorCode;
    return frame;
}

uint8_t ChecksumOf(std::span<const uint8_t> bytes) {
    uint8_t c = 0;
    for (uint8_t b : bytes) c = static_cast<uint8_t>(((c << 1) | (c >> 7)) + b);
    return c;
}

bool FrameChecksum(PanelFrame &frame) {
    const uint8_t n = frame.length();
    if (n < 2) return false;
    frame.bytes[0] = static_cast<uint8_t>(PanelFrame::kLengthMarker | n);
    frame.bytes[n - 1] = ChecksumOf(std::span(frame.bytes).first(n - 1));
    return true;
}

bool IsValidFrame(const PanelFrame &frame) {
    const uint8_t n = frame.length();
    if (n < 2 || (frame.bytes[0] & 0xF0) != PanelFrame::kLengthMarker) return false;
    return frame.bytes[n - 1] == ChecksumOf(std::span(frame.bytes).first(n - 1));
}

}  // namespace lintra
