#include "sim/ncx/NcxLineReader.h"

namespace sim {

std::vector<std::string> NcxLineReader::feed(std::span<const uint8_t> bytes) {
    std::vector<std::string> lines;
    for (uint8_t b : bytes) {
        if (b == '\r' || b == '\n') {
            if (!skipping_ && !pending_.empty()) lines.push_back(std::move(pending_));
            pending_.clear();
            skipping_ = false;
        } else if (!skipping_) {
            pending_ += static_cast<char>(b);
            if (pending_.size() == kMaxLine) {
                lines.push_back(std::move(pending_));
                pending_.clear();
                skipping_ = true;
            }
        }
    }
    return lines;
}

}  // namespace sim
