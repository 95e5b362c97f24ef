#include "lintra/ports/lcb/LcbTransmitter.h"

namespace lintra {

bool TLcbTransmitter::late() const {
    const uint64_t now = clock_.nowMs();
    return (now > stamp_ ? now - stamp_ : stamp_ - now) > kLateMs;
}

void TLcbTransmitter::raiseRts() {
    port_.setRts(true);
    rtsRaised_ = true;
}

void TLcbTransmitter::DropRts() {
    port_.setRts(false);
    rtsRaised_ = false;
}

void TLcbTransmitter::Step() {
    if (!rtsRaised_) {
        if (queue_.Count() > 0) raiseRts();
        return;
    }
    // A port without modem lines (a pseudo-terminal) grants the line at once.
    if (!port_.dsr().value_or(true)) {
        if (!late()) return;
        raiseRts();
        stamp_ = clock_.nowMs();
        return;
    }
    if (queue_.Count() == 0) {
        DropRts();
        return;
    }
    if (!late()) return;
    if (const std::optional<PanelFrame> frame = queue_.Get()) master_.TransmitMsg(*frame);
    stamp_ = clock_.nowMs();
}

}  // namespace lintra
