#pragma once
// Answers as a transparent TCP serial gateway passes them on: the frame its first byte
// announces (0xA0 | n, n = 2..15), in as many TCP segments as it takes, after any zero bytes a
// padding gateway put behind the answer before. Each receive takes what the socket holds, so
// an answer that came in one segment costs one call.
#include <array>
#include <cstddef>
#include <cstdint>

#include "lintra/ports/PanelFrame.h"
#include "lintra/ports/netrs/GatewayStream.h"
#include "platform/Clock.h"

namespace lintra {

class GatewayAnswerReader {
public:
    enum class Result {
        Frame,     // frame holds the answer's n bytes, the rest of its buffer zero
        BadStart,  // the first byte other than zero announces no frame of 2..15 bytes
        TimedOut,  // no whole frame within the wait
        Closed,    // the peer closed the connection, or the socket failed
    };

    // One answer within waitMs in all. Bytes that came behind the frame, its zero padding
    // excepted, are held for a next read until drop().
    Result read(GatewayStream &stream, tessel::Clock &clock, uint32_t waitMs, PanelFrame &frame);
    // Forgets what is held: a new command makes it stale.
    void drop() { begin_ = end_ = 0; }

private:
    void skipPadding();

    // A padded answer fits behind the unfinished start of a frame.
    std::array<uint8_t, 2 * PanelFrame::kBufferSize> held_{};
    size_t begin_ = 0;
    size_t end_ = 0;
};

}  // namespace lintra
