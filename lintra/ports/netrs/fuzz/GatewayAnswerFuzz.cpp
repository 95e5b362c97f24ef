// The gateway answer reader over arbitrary gateway bytes. The first byte sets the segment size
// (low nibble + 1), whether a command goes between answers and drops what is held (0x80), and
// whether the peer closes once everything is read (0x40). Every answer read is a frame of 2..15
// bytes behind its marker, and the frame buffer past it stays zero.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "lintra/ports/netrs/GatewayAnswerReader.h"
#include "lintra/ports/netrs/GatewayPort.h"
#include "lintra/ports/netrs/tests/ScriptedGatewayStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const size_t segment = (data[0] & 0x0F) + 1u;
    const bool commands = data[0] & 0x80;
    tessel::ManualClock clock;
    lintra::test::ScriptedGatewayStream::Script script;
    script.closesWhenDrained = data[0] & 0x40;
    for (size_t i = 1; i < size; i += segment) script.answers.emplace_back(data + i, data + std::min(size, i + segment));
    lintra::test::ScriptedGatewayStream stream(script, clock);
    lintra::GatewayAnswerReader reader;
    // Every read takes a byte or more, or finds the script drained.
    for (size_t reads = 0; reads < size; ++reads) {
        lintra::PanelFrame frame;
        const auto result = reader.read(stream, clock, lintra::GatewayPort::kAnswerWaitMs, frame);
        if (result == lintra::GatewayAnswerReader::Result::Frame) {
            const size_t n = frame.length();
            if ((frame.bytes[0] & 0xF0) != lintra::PanelFrame::kLengthMarker || n < 2) std::abort();
            for (size_t i = n; i < frame.bytes.size(); ++i)
                if (frame.bytes[i] != 0) std::abort();
            if (commands) reader.drop();
        } else if (script.answers.empty()) {
            break;
        }
    }
    return 0;
}
