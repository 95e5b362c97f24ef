#include "sim/serve/FramedStream.h"

namespace sim {

StreamReader::Result FramedStream::receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) {
    Result result;
    for (ReceivedItem &item : receiver_.feed(bytes, nowMs)) {
        if (item.kind == ReceivedItem::Kind::Stray) {
            log_.bytes("skip", item.bytes);
            continue;
        }
        if (item.kind == ReceivedItem::Kind::Incomplete) {
            log_.bytes("drop", item.bytes, "incomplete");
            continue;
        }
        log_.bytes("rx", item.bytes, frameIsValid(item.bytes) ? "" : "bad checksum");
        if (auto tx = handler_(item.bytes, nowMs, speedMode)) result.replies.push_back({std::move(*tx), item.bytes.size()});
    }
    return result;
}

}  // namespace sim
