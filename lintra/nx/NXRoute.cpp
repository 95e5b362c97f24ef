#include "lintra/nx/NXRoute.h"

#include <cstring>

namespace lintra::nx {

TNXRoute RoutePacket(TNXCommBuff &packet) {
    if (!packet.ParseHeader()) return {};
    if (packet.kind == 0 && std::memcmp(packet.code, "A109", 4) == 0) packet.kind = 1;
    if (packet.line == TNXCommBuff::kControllerLine) return {TNXRoute::Controller, -1};
    return {TNXRoute::Line, packet.line};
}

}  // namespace lintra::nx
