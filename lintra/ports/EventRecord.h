#pragma once
// EventRecord: the 22-byte record every line hands to its client (window message, callback or
// shared-memory slot) and the reply area of a direct exchange. Little-endian, packed, no gaps.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace lintra {

#pragma pack(push, 1)
struct EventRecord {
    static constexpr size_t kMaxData = 10;

    uint16_t line;     // 1..255; non-zero marks an occupied shared-memory slot
    uint16_t address;  // panel or controller address, 0xFB for the library's own events
    uint16_t code;
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint16_t dataLength;  // 0..10
    uint8_t data[kMaxData];
};
#pragma pack(pop)

static_assert(std::endian::native == std::endian::little, "EventRecord is little-endian in memory");
static_assert(sizeof(EventRecord) == 22);
static_assert(offsetof(EventRecord, line) == 0);
static_assert(offsetof(EventRecord, address) == 2);
static_assert(offsetof(EventRecord, code) == 4);
static_assert(offsetof(EventRecord, month) == 6);
static_assert(offsetof(EventRecord, day) == 7);
static_assert(offsetof(EventRecord, hour) == 8);
static_assert(offsetof(EventRecord, minute) == 9);
static_assert(offsetof(EventRecord, dataLength) == 10);
static_assert(offsetof(EventRecord, data) == 12);

}  // namespace lintra
