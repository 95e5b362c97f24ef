#include "lintra/ports/netrs/GatewayAnswerReader.h"

#include <algorithm>

namespace lintra {

void GatewayAnswerReader::skipPadding() {
    while (begin_ < end_ && held_[begin_] == 0) ++begin_;
}

GatewayAnswerReader::Result GatewayAnswerReader::read(GatewayStream &stream, tessel::Clock &clock, uint32_t waitMs,
                                                      PanelFrame &frame) {
    const uint64_t deadline = clock.nowMs() + waitMs;
    for (;;) {
        skipPadding();
        if (begin_ < end_) {
            const uint8_t first = held_[begin_];
            const size_t n = first & 0x0F;
            if ((first & 0xF0) != PanelFrame::kLengthMarker || n < 2) {
                drop();
                return Result::BadStart;
            }
            if (end_ - begin_ >= n) {
                frame = PanelFrame{};
                std::copy_n(held_.begin() + static_cast<std::ptrdiff_t>(begin_), n, frame.bytes.begin());
                begin_ += n;
                skipPadding();
                return Result::Frame;
            }
        }
        // The unfinished frame moves to the front: at most 14 bytes, so the rest has room.
        std::copy(held_.begin() + static_cast<std::ptrdiff_t>(begin_), held_.begin() + static_cast<std::ptrdiff_t>(end_),
                  held_.begin());
        end_ -= begin_;
        begin_ = 0;
        const uint64_t now = clock.nowMs();
        if (now >= deadline) return Result::TimedOut;
        const int got = stream.receive(held_.data() + end_, held_.size() - end_, static_cast<uint32_t>(deadline - now));
        if (got == 0) return Result::TimedOut;
        if (got < 0) return Result::Closed;
        end_ += static_cast<size_t>(got);
    }
}

}  // namespace lintra
