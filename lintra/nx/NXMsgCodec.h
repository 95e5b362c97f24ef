#pragma once
// Between a TNXMsg and the data characters of a packet. Normally every data byte is two
// hexadecimal digits, so a message carries at most 127 bytes; a few codes have forms of their
// own (see the .cpp).
#include <cstdint>
#include <span>
#include <string_view>

#include "lintra/nx/NXCommBuff.h"
#include "lintra/nx/NXMsg.h"

namespace lintra::nx {

// Fills the data and code of buffer from msg and builds the header with the buffer's own kind
// and line. False, with buffer.error set, when msg has no packet form.
bool EncodeMsg(const TNXMsg &msg, TNXCommBuff &buffer);
// Decodes the data of a parsed packet into msg (unit = the packet's line). False, with
// buffer.error set, when the data does not decode.
bool DecodeMsg(TNXCommBuff &buffer, TNXMsg &msg);
// A message with the four-character code, the unit and at most 256 data bytes (more are cut).
TNXMsg MakeNXMsg(std::string_view code, int32_t unit, std::span<const uint8_t> data = {});

}  // namespace lintra::nx
