// The line-controller receiver fed arbitrary bytes at arbitrary times: whatever lengths the
// bytes announce and however often a checksum is wrong, every frame it hands out fits its
// 16-byte buffer and carries the length its first byte gives.
#include <cstdint>
#include <cstdlib>

#include "lintra/ports/lcb/LcbReceiver.h"
#include "lintra/ports/lines/ControllerPort.h"
#include "lintra/ports/tests/FakePort.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    tessel::ManualClock clock{0};
    lintra::test::FakePort port{clock};
    port.setTimeouts(lintra::TControllerPort::kTimeouts);
    port.scriptChunks(data, size, 8);  // what the controller sends
    lintra::TLcbReceiver receiver{port, clock, 1};
    for (int step = 0; step < 4096 && (port.unread() > 0 || receiver.received() > 0); ++step) {
        std::optional<lintra::PanelFrame> frame = receiver.Receive();
        while (frame) {
            if (frame->length() < 2 || (frame->bytes[0] & 0xF0) != 0xA0) std::abort();
            if (lintra::IsValidFrame(*frame)) break;
            frame = receiver.Realign(*frame);
        }
        clock.advance(1);
    }
    return 0;
}
