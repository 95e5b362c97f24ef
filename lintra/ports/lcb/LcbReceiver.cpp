#include "lintra/ports/lcb/LcbReceiver.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

bool beginsFrame(uint8_t byte) { return (byte & 0xF0) == PanelFrame::kLengthMarker; }
// A length below 2 has no room for a checksum: such a byte begins no frame.
size_t frameLength(uint8_t byte) { return byte & 0x0F; }

}  // namespace

std::optional<PanelFrame> TLcbReceiver::Receive() {
    return received_ == 0 ? beginFrame() : continueFrame();
}

std::optional<PanelFrame> TLcbReceiver::beginFrame() {
    uint8_t byte = 0;
    if (port_.read(&byte, 1) != 1) return std::nullopt;
    if (beginsFrame(byte) && frameLength(byte) >= 2) {
        buffer_ = {};
        buffer_[0] = byte;
        received_ = 1;
        expected_ = frameLength(byte) - 1;
        lastByteAt_ = clock_.nowMs();
        return std::nullopt;
    }
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    LogLine(line_, std::string("Пришёл левый байт: ") + hex, 4);
    return std::nullopt;
}

std::optional<PanelFrame> TLcbReceiver::continueFrame() {
    const int got = port_.read(buffer_.data() + received_, expected_);
    if (got > 0) {
        lastByteAt_ = clock_.nowMs();
        received_ += static_cast<size_t>(got);
        expected_ -= static_cast<size_t>(got);
        return completeIfWhole();
    }
    if (clock_.nowMs() - lastByteAt_ > kStallMs) {
        LogLineBytes16(line_, "Не удалось считать посылку: ", buffer_, 4);
        received_ = 0;
        expected_ = 0;
    }
    return std::nullopt;
}

std::optional<PanelFrame> TLcbReceiver::completeIfWhole() {
    if (expected_ > 0) return std::nullopt;
    PanelFrame frame;
    std::copy_n(buffer_.begin(), received_, frame.bytes.begin());
    received_ = 0;
    return frame;
}

std::optional<PanelFrame> TLcbReceiver::Realign(const PanelFrame &rejected) {
    received_ = 0;
    expected_ = 0;
    const size_t n = rejected.length();
    for (size_t i = 1; i < n; ++i) {
        const uint8_t byte = rejected.bytes[i];
        if (!beginsFrame(byte) || frameLength(byte) < 2) continue;
        // The kept bytes may hold more than the new frame: only its own length is kept.
        const size_t kept = std::min(n - i, frameLength(byte));
        buffer_ = {};
        std::copy_n(rejected.bytes.begin() + static_cast<long>(i), kept, buffer_.begin());
        received_ = kept;
        expected_ = frameLength(byte) - kept;
        lastByteAt_ = clock_.nowMs();
        return completeIfWhole();
    }
    return std::nullopt;
}

}  // namespace lintra
