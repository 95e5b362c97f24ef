#pragma once
// One frame of the panel wire: 0xA0 | length, address, code, parameters, checksum.
// The simulator keeps its own codec so that it does not share a mistake with the library.
#include <cstdint>
#include <span>
#include <vector>

namespace sim {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kFrameMarker = 0xA0;
constexpr size_t kMinFrame = 2;   // length byte and checksum
constexpr size_t kMaxFrame = 15;  // the length nibble's largest value
constexpr uint8_t kBroadcastAddress = 0xFE;

// Checksum over all bytes of `bytes`: per byte rotate left by one bit, then add.
uint8_t frameChecksum(std::span<const uint8_t> bytes);

// Length announced by a first byte, or 0 when the byte cannot start a frame.
size_t announcedLength(uint8_t first);

// True when the frame's length byte matches its size and the last byte is its checksum.
bool frameIsValid(std::span<const uint8_t> frame);

// Builds a complete frame; at most kMaxFrame - 4 parameters.
Bytes makeFrame(uint8_t address, uint8_t code, std::span<const uint8_t> params = {});

}  // namespace sim
