#pragma once
// Where a received packet goes: to the driver (line F, the controller's own packets) or to the
// line at the packet's line number.
#include <cstdint>

#include "lintra/nx/NXCommBuff.h"

namespace lintra::nx {

struct TNXRoute {
    enum Target : uint8_t { Refused, Controller, Line };
    Target target = Refused;
    int32_t line = -1;  // the line slot for Line
};

// Parses the packet (a refusal leaves the reason in packet.error). The firmware version answer
// "A109" of kind 0 is taken as kind 1, the controller's own kind.
TNXRoute RoutePacket(TNXCommBuff &packet);

}  // namespace lintra::nx
