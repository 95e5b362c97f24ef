// Arbitrary bytes on the line, cut into reads by a leading length byte each, with time gaps,
// through the receiver into two panels. Every answer must be a well-formed frame.
#include <cstdint>
#include <cstdlib>

#include "sim/fuzz/TwoPanelLine.h"
#include "sim/panel/FrameReceiver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    PanelLine line = fuzz::twoPanelLine();
    line.find(7)->faults.set(FaultKind::Cut, 3, 2);
    FrameReceiver receiver;
    uint64_t now = 0;
    size_t i = 0;
    while (i < size) {
        uint8_t control = data[i++];
        size_t chunk = std::min<size_t>(control & 0x1F, size - i);
        now += (control >> 5) * 40u;  // up to 280 ms, beyond the receiver's gap
        for (const ReceivedItem &item : receiver.feed({data + i, chunk}, now)) {
            if (item.bytes.size() > kMaxFrame && item.kind != ReceivedItem::Kind::Stray) std::abort();
            if (item.kind != ReceivedItem::Kind::Frame) continue;
            auto tx = line.receive(item.bytes, now, control & 3);
            if (tx && tx->faults.empty() && !frameIsValid(tx->bytes)) std::abort();
        }
        i += chunk;
    }
    return 0;
}
