#pragma once
// The loader's own view of the library's event record. Zaltor never links the library, so the
// layout is restated here and pinned by static_asserts; both sides must keep it byte for byte.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace zaltor::console {

static_assert(std::endian::native == std::endian::little, "records are little-endian on the wire");

#pragma pack(push, 1)
template <std::size_t DataBytes>
struct RecordLayout {
    uint16_t line;
    uint16_t source;  // sending device; kLibrarySource for the library's own events
    uint16_t code;
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint16_t length;  // valid data bytes; may exceed the data area in a damaged record
    uint8_t data[DataBytes];
};
#pragma pack(pop)

// A record as the library delivers it (window message, callback, shared slot).
using EventRecord = RecordLayout<10>;
// The area the loader reserves for a command reply: the same layout with two spare data bytes.
using ReplyArea = RecordLayout<12>;

inline constexpr uint16_t kLibrarySource = 251;

static_assert(sizeof(EventRecord) == 22);
static_assert(sizeof(ReplyArea) == 24);
static_assert(offsetof(EventRecord, line) == 0);
static_assert(offsetof(EventRecord, source) == 2);
static_assert(offsetof(EventRecord, code) == 4);
static_assert(offsetof(EventRecord, month) == 6);
static_assert(offsetof(EventRecord, day) == 7);
static_assert(offsetof(EventRecord, hour) == 8);
static_assert(offsetof(EventRecord, minute) == 9);
static_assert(offsetof(EventRecord, length) == 10);
static_assert(offsetof(EventRecord, data) == 12);
static_assert(offsetof(ReplyArea, length) == 10);
static_assert(offsetof(ReplyArea, data) == 12);

}  // namespace zaltor::console
