#pragma once
// Cuts a stream of received bytes into frames by their length byte. Bytes that cannot start a
// frame are reported as stray; a frame left incomplete for longer than the gap is dropped, so
// one lost byte does not shift every later frame.
#include <cstdint>
#include <span>
#include <vector>

#include "sim/panel/Frame.h"

namespace sim {

struct ReceivedItem {
    enum class Kind { Frame, Stray, Incomplete };
    Kind kind;
    Bytes bytes;
};

class FrameReceiver {
public:
    static constexpr uint64_t kGapMs = 100;

    std::vector<ReceivedItem> feed(std::span<const uint8_t> bytes, uint64_t nowMs);
    bool midFrame() const { return !partial_.empty(); }

private:
    Bytes partial_;
    size_t expected_ = 0;
    uint64_t lastByteMs_ = 0;
};

}  // namespace sim
