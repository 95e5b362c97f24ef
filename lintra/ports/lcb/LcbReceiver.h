#pragma once
// The receive side of a line-controller line: frames come whenever the controller sends them.
// A byte with the high nibble 0xA begins a frame of the length its low nibble gives; the rest
// is read as it comes; a frame that stalls for more than 50 ms is dropped. After a wrong
// checksum the bytes from the next 0xA_ byte on are kept as the start of the next frame.
// Every read is bounded by the 16-byte buffer whatever the bytes announce.
#include <array>
#include <cstdint>
#include <optional>

#include "lintra/host/Port.h"
#include "lintra/ports/PanelFrame.h"
#include "platform/Clock.h"

namespace lintra {

class TLcbReceiver {
public:
    static constexpr uint32_t kStallMs = 50;

    TLcbReceiver(Port &port, tessel::Clock &clock, int line) : port_(port), clock_(clock), line_(line) {}

    // One read from the port; the frame when one is complete (its checksum not checked yet).
    std::optional<PanelFrame> Receive();
    // After a frame with a wrong checksum: keeps its bytes from the next frame start on. The
    // frame those bytes already complete, if any.
    std::optional<PanelFrame> Realign(const PanelFrame &rejected);

    // Bytes of a begun frame (0: none begun).
    size_t received() const { return received_; }

private:
    std::optional<PanelFrame> beginFrame();
    std::optional<PanelFrame> continueFrame();
    std::optional<PanelFrame> completeIfWhole();

    Port &port_;
    tessel::Clock &clock_;
    const int line_;
    std::array<uint8_t, PanelFrame::kBufferSize> buffer_{};
    size_t received_ = 0;
    size_t expected_ = 0;  // bytes still to come
    uint64_t lastByteAt_ = 0;
};

}  // namespace lintra
