#include "lintra/nx/NXLinkReader.h"

#include <span>

namespace lintra::nx {

bool TNXLinkReader::TakeHeld(TNXCommBuff &packet) {
    std::span<const uint8_t> held(chunk_.data() + begin_, end_ - begin_);
    const bool complete = lines_.Take(held, packet);
    begin_ = end_ - held.size();
    return complete;
}

TNXLinkReader::Result TNXLinkReader::Read(TNXLink &link, TNXCommBuff &packet, uint32_t waitMs) {
    if (TakeHeld(packet)) return rdPacket;
    const uint64_t deadline = clock_.nowMs() + waitMs;
    for (;;) {
        const uint64_t now = clock_.nowMs();
        const uint32_t left = now < deadline ? static_cast<uint32_t>(deadline - now) : 0;
        const int got = link.Receive(chunk_.data(), chunk_.size(), left);
        if (got < 0) {
            Reset();
            return rdError;
        }
        if (got == 0) return rdNone;
        begin_ = 0;
        end_ = static_cast<size_t>(got);
        if (TakeHeld(packet)) return rdPacket;
        if (left == 0) return rdNone;
    }
}

void TNXLinkReader::Reset() {
    begin_ = end_ = 0;
    lines_.Reset();
}

}  // namespace lintra::nx
