#pragma once
// TNXMsg: the NX message record that the line commands exchange with clients and every NX queue
// holds. It is the public header's type, so the library and its clients share one definition;
// the asserts pin its layout.
#include <bit>
#include <cstddef>
#include <cstdint>

#include "lintra/include/lintra.h"

namespace lintra::nx {

using TNXMsg = LintraNXMsg;
inline constexpr int kNXMsgDataBytes = static_cast<int>(sizeof(TNXMsg::data));

static_assert(std::endian::native == std::endian::little, "TNXMsg is little-endian in memory");
static_assert(sizeof(TNXMsg) == 268);
static_assert(offsetof(TNXMsg, code) == 0);
static_assert(offsetof(TNXMsg, unit) == 4);
static_assert(offsetof(TNXMsg, count) == 8);
static_assert(offsetof(TNXMsg, data) == 12);
static_assert(kNXMsgDataBytes == 256);

}  // namespace lintra::nx
