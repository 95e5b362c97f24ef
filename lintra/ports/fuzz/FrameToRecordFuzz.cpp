// Any 16 bytes as an event frame and as an answer frame: the conversions read only the frame
// buffer and write only the 22-byte record. Guard bytes around the record catch stray writes
// that the sanitizers would not see inside one object. The same frame with the bytes past its
// length changed must give the same record: nothing reads beyond the received frame.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "lintra/ports/FrameToRecord.h"

namespace {

struct Guarded {
    uint8_t before[8];
    lintra::EventRecord record;
    uint8_t after[8];
};

void checkGuards(const Guarded &g) {
    for (uint8_t b : g.before)
        if (b != 0x5A) std::abort();
    for (uint8_t b : g.after)
        if (b != 0x5A) std::abort();
    if (g.record.data_length > lintra::kEventDataBytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4) return 0;
    const lintra::LocalTime now{static_cast<uint8_t>(data[0] % 12 + 1), static_cast<uint8_t>(data[1] % 31 + 1),
                                static_cast<uint8_t>(data[2] % 24), static_cast<uint8_t>(data[3] % 60)};
    const lintra::PanelFrame frame = lintra::PanelFrame::fromBytes({data + 4, size - 4});

    lintra::PanelFrame stale = frame;
    // Byte 0 carries the length, so it belongs to every frame.
    for (size_t i = std::max<size_t>(frame.length(), 1); i < lintra::PanelFrame::kBufferSize; ++i) stale.bytes[i] ^= 0xA5;

    Guarded g, h;
    std::memset(&g, 0x5A, sizeof g);
    std::memset(&h, 0x5A, sizeof h);
    g.record = lintra::EventFrameToRecord(frame, now);
    h.record = lintra::EventFrameToRecord(stale, now);
    checkGuards(g);
    if (std::memcmp(&g, &h, sizeof g) != 0) std::abort();
    lintra::AnswerFrameToRecord(frame, now, g.record);
    lintra::AnswerFrameToRecord(stale, now, h.record);
    checkGuards(g);
    if (std::memcmp(&g, &h, sizeof g) != 0) std::abort();
    return 0;
}
