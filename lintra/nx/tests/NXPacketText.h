#pragma once
// Packet bytes in tests: ASCII text as the hex of its bytes, so that expectations on a wire
// image read as text and still show CR and zero bytes exactly.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lintra/nx/NXCommBuff.h"
#include "testsupport/Hex.h"

namespace lintra::nx {

inline std::string AsciiHex(std::string_view text) {
    return testsupport::toHex({reinterpret_cast<const uint8_t *>(text.data()), text.size()});
}

inline std::string PacketHex(const TNXCommBuff &buffer) {
    return testsupport::toHex(std::span<const uint8_t>(buffer.data, static_cast<size_t>(buffer.length)));
}

// A buffer holding text as a received packet line.
inline void Receive(TNXCommBuff &buffer, std::string_view text) {
    buffer.Clear();
    const std::vector<uint8_t> bytes = testsupport::hexBytes(AsciiHex(text));
    std::copy(bytes.begin(), bytes.end(), buffer.data);
    buffer.length = static_cast<int32_t>(bytes.size());
}

}  // namespace lintra::nx
