#pragma once
// The panel link over a TCP serial gateway: each frame goes out whole as it is, each answer is
// one frame read of the gateway port. Unlike a serial link it logs no frames, keeps no answer
// counter, has no speed modes and does not pause after a missing answer: the gateway port
// logs what crossed the connection and closes it after a failure.
#include "lintra/ports/PultLink.h"
#include "lintra/ports/netrs/GatewayPort.h"

namespace lintra {

class TGatewayLink final : public TPultLink {
public:
    TGatewayLink(GatewayPort &port, tessel::Clock &clock, int line, uint8_t address)
        : TPultLink(port, clock, line, address), port_(port) {}

    void SetConnParam(uint8_t) override {}
    void TransmitMsg(const PanelFrame &frame) override;
    bool GetAnswer(PanelFrame &buffer) override;

private:
    GatewayPort &port_;
};

}  // namespace lintra
