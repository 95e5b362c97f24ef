#pragma once
// The framing of an intelligent line over TCP: every message is a header of two
// little-endian 32-bit values, type and length, then length bytes. Type 0 carries one frame,
// type 1 the greeting the PC sends after each connect.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/panel/Frame.h"

namespace sim {

constexpr uint32_t kFrameMessage = 0, kGreetingMessage = 1;
constexpr size_t kHeaderBytes = 8;

#pragma pack(push, 1)
struct TcpHeader {
    uint8_t type[4];    // little-endian
    uint8_t length[4];  // little-endian
};
#pragma pack(pop)
static_assert(sizeof(TcpHeader) == kHeaderBytes);
static_assert(offsetof(TcpHeader, length) == 4);

Bytes tcpMessage(uint32_t type, std::span<const uint8_t> payload);
// The same with a header of its own choosing (a misbehaving gateway).
Bytes tcpMessage(uint32_t type, uint32_t length, std::span<const uint8_t> payload);

struct TcpMessage {
    uint32_t type;
    Bytes payload;
};

// Reassembles messages from a TCP stream. A length above kMaxPayload cannot be a frame or a
// greeting; nothing after it can be trusted, so the reader stops and says why.
class TcpMessageReader {
public:
    static constexpr uint32_t kMaxPayload = 1024;

    std::vector<TcpMessage> feed(std::span<const uint8_t> bytes);
    const std::optional<std::string> &failure() const { return failure_; }

private:
    Bytes pending_;
    std::optional<std::string> failure_;
};

}  // namespace sim
