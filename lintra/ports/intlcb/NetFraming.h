#pragma once
// The type/length framing of line controllers behind a TCP gateway: every message is two
// little-endian 32-bit values, type and length, then length bytes. Type 0 carries one frame,
// type 1 the greeting the PC sends after each connect.
#include <cstdint>
#include <string>
#include <vector>

#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/intlcb/NetStream.h"

namespace lintra {

inline constexpr uint32_t kNetTypeFrame = 0;
inline constexpr uint32_t kNetTypeGreeting = 1;

std::vector<uint8_t> NetMessage(uint32_t type, const uint8_t *data, size_t length);

enum class NetReadResult {
    Frame,       // a type-0 message of 1..16 bytes is in the frame
    NoData,      // nothing came within the wait
    WrongType,   // a header of another type
    Malformed,   // a length of 0 or above 16, or the message cut short
};

// Reads one message; a length the 16-byte frame buffer cannot hold is refused unread.
NetReadResult ReadNetFrame(TNetStream &stream, PanelFrame &frame, uint32_t firstWaitMs, uint32_t restWaitMs);

}  // namespace lintra
