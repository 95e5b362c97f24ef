#include "lintra/ports/intlcb/NetFraming.h"

namespace lintra {
namespace {

void putLe32(std::vector<uint8_t> &out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t le32(const uint8_t *bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool readExact(TNetStream &stream, uint8_t *buffer, size_t count, uint32_t waitMs) {
    size_t got = 0;
    while (got < count) {
        const int n = stream.receive(buffer + got, count - got, waitMs);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::vector<uint8_t> NetMessage(uint32_t type, const uint8_t *data, size_t length) {
    std::vector<uint8_t> message;
    message.reserve(8 + length);
    putLe32(message, type);
    putLe32(message, static_cast<uint32_t>(length));
    message.insert(message.end(), data, data + length);
    return message;
}

NetReadResult ReadNetFrame(TNetStream &stream, PanelFrame &frame, uint32_t firstWaitMs, uint32_t restWaitMs) {
    uint8_t header[8];
    const int first = stream.receive(header, 4, firstWaitMs);
    if (first <= 0) return first == 0 ? NetReadResult::NoData : NetReadResult::Malformed;
    if (!readExact(stream, header + first, 4 - static_cast<size_t>(first), restWaitMs))
        return NetReadResult::Malformed;
    if (le32(header) != kNetTypeFrame) return NetReadResult::WrongType;
    if (!readExact(stream, header + 4, 4, restWaitMs)) return NetReadResult::Malformed;
    const uint32_t length = le32(header + 4);
    if (length == 0 || length > PanelFrame::kBufferSize) return NetReadResult::Malformed;
    frame = PanelFrame{};
    return readExact(stream, frame.bytes.data(), length, restWaitMs) ? NetReadResult::Frame : NetReadResult::Malformed;
}

}  // namespace lintra
