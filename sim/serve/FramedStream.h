#pragma once
// A stream of bare frames (a serial line, or TCP through a transparent gateway): cut by the
// length byte, every frame, stray byte and dropped partial frame logged, each frame handed on.
#include <functional>
#include <optional>

#include "sim/panel/FrameReceiver.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/WireLog.h"

namespace sim {

class FramedStream : public StreamReader {
public:
    using Handler = std::function<std::optional<Transmission>(std::span<const uint8_t> frame, uint64_t nowMs,
                                                              int speedMode)>;
    FramedStream(WireLog &log, Handler handler) : log_(log), handler_(std::move(handler)) {}
    Result receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) override;

private:
    WireLog &log_;
    Handler handler_;
    FrameReceiver receiver_;
};

}  // namespace sim
