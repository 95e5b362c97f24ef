#include "sim/panel/FrameReceiver.h"

namespace sim {

std::vector<ReceivedItem> FrameReceiver::feed(std::span<const uint8_t> bytes, uint64_t nowMs) {
    std::vector<ReceivedItem> items;
    auto addStray = [&items](uint8_t b) {
        if (items.empty() || items.back().kind != ReceivedItem::Kind::Stray)
            items.push_back({ReceivedItem::Kind::Stray, {}});
        items.back().bytes.push_back(b);
    };
    if (!partial_.empty() && nowMs - lastByteMs_ > kGapMs && !bytes.empty()) {
        items.push_back({ReceivedItem::Kind::Incomplete, std::move(partial_)});
        partial_.clear();
    }
    for (uint8_t b : bytes) {
        if (partial_.empty()) {
            expected_ = announcedLength(b);
            if (expected_ == 0) {
                addStray(b);
                continue;
            }
        }
        partial_.push_back(b);
        if (partial_.size() == expected_) {
            items.push_back({ReceivedItem::Kind::Frame, std::move(partial_)});
            partial_.clear();
        }
    }
    if (!bytes.empty()) lastByteMs_ = nowMs;
    return items;
}

}  // namespace sim
