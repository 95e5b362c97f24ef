#include "sim/units/NetState.h"

#include "sim/units/TcpFraming.h"

namespace sim {

Bytes HeaderFault::wrap(std::span<const uint8_t> frame) {
    Kind applied = kind;
    uint32_t arg = value;
    if (kind != Kind::None && remaining > 0 && --remaining == 0) *this = {};
    if (applied == Kind::Type) return tcpMessage(arg, frame);
    if (applied == Kind::Length) {
        Bytes payload(frame.begin(), frame.end());
        payload.resize(arg, 0);
        return tcpMessage(kFrameMessage, payload);
    }
    return tcpMessage(kFrameMessage, frame);
}

}  // namespace sim
