#pragma once
// One frame of the panel and line-controller wire, kept in a fixed 16-byte buffer:
// byte 0 = 0xA0 | n (n = bytes of the whole frame, 2..15), byte 1 = address, byte 2 = code,
// bytes 3..n-2 = parameters, byte n-1 = checksum. Frames the library makes for itself carry
// address 0xFB and a bare length byte; they never reach the wire.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lintra {

struct PanelFrame {
    static constexpr size_t kBufferSize = 16;
    static constexpr uint8_t kMaxLength = 15;  // the largest n the length nibble carries
    static constexpr size_t kMaxParams = kMaxLength - 4;
    static constexpr uint8_t kLengthMarker = 0xA0;
    static constexpr uint8_t kInternalAddress = 0xFB;
    static constexpr uint8_t kBroadcastAddress = 0xFE;

    // Codes of the internal frames.
    static constexpr uint8_t kCodeErrorAnswer = 0x03;
    static constexpr uint8_t kCodeEmptyAnswer = 0x64;
    static constexpr uint8_t kCodeConnectionLost = 0x65;
    static constexpr uint8_t kCodeConnectionRestored = 0x66;
    static constexpr uint8_t kCodeUnitCount = 0x60;  // LCBCommand 3: the line's unit count

    std::array<uint8_t, kBufferSize> bytes{};

    // The length nibble n of byte 0.
    uint8_t length() const { return bytes[0] & 0x0F; }
    uint8_t address() const { return bytes[1]; }
    uint8_t code() const { return bytes[2]; }
    // Parameter i sits at byte 3 + i; i must stay below kBufferSize - 3.
    uint8_t param(size_t i) const { return bytes[3 + i]; }
    // Parameters carried by a frame of length n: n - 4, none when n < 4.
    size_t paramCount() const { return length() >= 4 ? length() - 4u : 0u; }
    bool isInternal() const { return address() == kInternalAddress; }
    // The n bytes of the frame as they go on the wire.
    std::span<const uint8_t> wire() const { return {bytes.data(), length()}; }

    // Copies at most 16 bytes; the rest of the buffer stays zero.
    static PanelFrame fromBytes(std::span<const uint8_t> data);
    // A wire frame without checksum: length 4 + params.size(), address, code, params.
    // params.size() must not exceed kMaxParams.
    static PanelFrame command(uint8_t address, uint8_t code, std::span<const uint8_t> params);

    // Internal frames: bare length byte, address 0xFB, code.
    static PanelFrame internal(uint8_t length, uint8_t code);
    static PanelFrame emptyAnswer() { return internal(4, kCodeEmptyAnswer); }
    // Connection lost; also the stop request of a line. The polling reports it with length 6.
    static PanelFrame connectionLost(uint8_t length = 4) { return internal(length, kCodeConnectionLost); }
    // Connection restored (length 6); with length 4 the start request of message polling.
    static PanelFrame connectionRestored(uint8_t length = 6) { return internal(length, kCodeConnectionRestored); }
    // Error answer carrying the panel's error code in byte 3.
    static PanelFrame errorAnswer(uint8_t errorCode);
};

// The checksum of bytes as they stand: c = 0, then per byte c = rotl8(c) + byte.
uint8_t ChecksumOf(std::span<const uint8_t> bytes);

// Forces the high nibble of byte 0 to 0xA and stores the checksum of bytes 0..n-2 in byte n-1.
// A frame with n < 2 has no room for a checksum: it is left untouched and the result is false.
bool FrameChecksum(PanelFrame &frame);

// True when byte 0 carries the 0xA0 marker, n >= 2 and byte n-1 is the checksum of the rest.
bool IsValidFrame(const PanelFrame &frame);

}  // namespace lintra
