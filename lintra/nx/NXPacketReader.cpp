#include "lintra/nx/NXPacketReader.h"

#include <cstring>

namespace lintra::nx {

bool TNXPacketReader::Take(std::span<const uint8_t> &input, TNXCommBuff &packet) {
    while (!input.empty()) {
        const uint8_t c = input.front();
        input = input.subspan(1);
        if (EndsLine(c)) {
            const bool complete = size_ > 0 && !dropping_;
            dropping_ = false;
            if (!complete) continue;
            packet.Clear();
            std::memcpy(packet.data, line_.data(), static_cast<size_t>(size_));
            packet.length = size_;
            size_ = 0;
            return true;
        }
        if (dropping_) continue;
        if (size_ == static_cast<int32_t>(line_.size())) {
            dropping_ = true;
            size_ = 0;
            ++overflows_;
            continue;
        }
        line_[static_cast<size_t>(size_++)] = c;
    }
    return false;
}

void TNXPacketReader::Reset() {
    size_ = 0;
    dropping_ = false;
}

}  // namespace lintra::nx
