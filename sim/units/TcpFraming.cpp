#include "sim/units/TcpFraming.h"

#include <cstring>

namespace sim {

namespace {
void putLittleEndian(uint8_t *out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t getLittleEndian(const uint8_t *in) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | in[i];
    return value;
}
}  // namespace

Bytes tcpMessage(uint32_t type, std::span<const uint8_t> payload) {
    return tcpMessage(type, static_cast<uint32_t>(payload.size()), payload);
}

Bytes tcpMessage(uint32_t type, uint32_t length, std::span<const uint8_t> payload) {
    TcpHeader header{};
    putLittleEndian(header.type, type);
    putLittleEndian(header.length, length);
    Bytes message(kHeaderBytes);
    std::memcpy(message.data(), &header, kHeaderBytes);
    message.insert(message.end(), payload.begin(), payload.end());
    return message;
}

std::vector<TcpMessage> TcpMessageReader::feed(std::span<const uint8_t> bytes) {
    std::vector<TcpMessage> messages;
    if (failure_) return messages;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    size_t at = 0;
    while (pending_.size() - at >= kHeaderBytes) {
        TcpHeader header;
        std::memcpy(&header, pending_.data() + at, kHeaderBytes);
        uint32_t length = getLittleEndian(header.length);
        if (length > kMaxPayload) {
            failure_ = "message length " + std::to_string(length) + " above " + std::to_string(kMaxPayload);
            pending_.clear();
            return messages;
        }
        if (pending_.size() - at - kHeaderBytes < length) break;
        auto begin = pending_.begin() + static_cast<std::ptrdiff_t>(at + kHeaderBytes);
        messages.push_back({getLittleEndian(header.type), Bytes(begin, begin + length)});
        at += kHeaderBytes + length;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    return messages;
}

}  // namespace sim
