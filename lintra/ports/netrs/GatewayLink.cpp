#include "lintra/ports/netrs/GatewayLink.h"

namespace lintra {

void TGatewayLink::TransmitMsg(const PanelFrame &frame) {
    if (frame.length() < 2) return;  // nothing the gateway could pass on as a frame
    port_.write(frame.bytes.data(), frame.length());
}

bool TGatewayLink::GetAnswer(PanelFrame &buffer) {
    buffer = PanelFrame{};
    return port_.read(buffer.bytes.data(), buffer.bytes.size()) > 0;
}

}  // namespace lintra
