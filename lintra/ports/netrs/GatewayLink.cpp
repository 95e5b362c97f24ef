#include "lintra/ports/netrs/GatewayLink.h"

namespace lintra {

void TGatewayLink::TransmitMsg(const PanelFrame &frame) {
    if (frame.length() < 2) return;  // nothing the gateway could pass on as a frame
    port_.write(frame.bytes.data(), frame.length());
}

bool TGatewayLink::GetAnswer(PanelFrame &buffer) {
    buffer = PanelFrame{};
    return port_.read(buffer.bytes.data(), GatewayPort::kAnswerSize) == static_cast<int>(GatewayPort::kAnswerSize);
}

}  // namespace lintra
