#include "sim/ncx/NcxStream.h"

namespace sim {

std::optional<Transmission> transmissionOf(const std::string &text) {
    if (text.empty()) return std::nullopt;
    Transmission tx;
    tx.bytes.assign(text.begin(), text.end());
    return tx;
}

StreamReader::Result NcxStream::receive(std::span<const uint8_t> bytes, uint64_t, int) {
    controller_.counters.bytes += bytes.size();
    Result result;
    for (const std::string &line : reader_.feed(bytes)) {
        NcxController::Outcome outcome = controller_.receive(line);
        log_.bytes("rx", std::span(reinterpret_cast<const uint8_t *>(line.data()), line.size()), outcome.note);
        // The request's terminator is on the wire too.
        if (auto tx = transmissionOf(outcome.reply)) result.replies.push_back({std::move(*tx), line.size() + 1});
    }
    return result;
}

std::optional<Transmission> NcxStream::greeting() { return transmissionOf(controller_.connect()); }

}  // namespace sim
