#pragma once
// Frames written as hex in tests, and the helper that repairs a deliberately malformed frame's
// checksum so that a test reaches the rejection it means to reach.
#include <string_view>

#include "lintra/ports/PanelFrame.h"
#include "testsupport/Hex.h"

namespace lintra::test {

inline PanelFrame frameOf(std::string_view hex) {
    return PanelFrame::fromBytes(testsupport::hexBytes(hex));
}

inline std::string wireHex(const PanelFrame &frame) { return testsupport::toHex(frame.wire()); }

// The checksum of the bytes as they stand (no 0xA nibble forced) stored at the length nibble's
// position; frames too short for a checksum are returned unchanged.
inline PanelFrame withRepairedChecksum(std::string_view hex) {
    PanelFrame frame = frameOf(hex);
    const uint8_t n = frame.length();
    if (n >= 2) frame.bytes[n - 1] = ChecksumOf(std::span(frame.bytes).first(n - 1));
    return frame;
}

}  // namespace lintra::test
