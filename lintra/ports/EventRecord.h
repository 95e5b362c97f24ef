#pragma once
// EventRecord: the 22-byte record every line hands to its client (window message, callback or
// shared-memory slot) and the reply area of a direct exchange. It is the public header's type,
// so the library and its clients share one definition; the asserts pin its wire layout.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "lintra/include/lintra.h"

namespace lintra {

using EventRecord = LintraEventRecord;
inline constexpr size_t kEventDataBytes = sizeof(EventRecord::data);

static_assert(std::endian::native == std::endian::little, "EventRecord is little-endian in memory");
static_assert(sizeof(EventRecord) == 22);
static_assert(offsetof(EventRecord, line) == 0);
static_assert(offsetof(EventRecord, address) == 2);
static_assert(offsetof(EventRecord, code) == 4);
static_assert(offsetof(EventRecord, month) == 6);
static_assert(offsetof(EventRecord, day) == 7);
static_assert(offsetof(EventRecord, hour) == 8);
static_assert(offsetof(EventRecord, minute) == 9);
static_assert(offsetof(EventRecord, data_length) == 10);
static_assert(offsetof(EventRecord, data) == 12);
static_assert(kEventDataBytes == 10);

}  // namespace lintra
