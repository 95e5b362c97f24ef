// The panel line's frame receiver fed arbitrary bytes at arbitrary times through the fake port:
// polling reads and direct exchanges alternate until the script is used up. Whatever the
// bytes announce, nothing is read or written outside the 16-byte frame buffers and the 22-byte
// records.
#include <cstdint>
#include <cstdlib>

#include "lintra/ports/PultLink.h"
#include "lintra/ports/tests/FakePort.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    tessel::ManualClock clock{0};
    lintra::test::FakePort port{clock};
    port.setTimeouts(lintra::TPultLink::kTimeouts);
    lintra::TPultLink link{port, clock, 1, 5};
    link.SetConnParam(data[0]);

    port.scriptChunks(data + 1, size - 1, 16);  // the rest: what the panel sends

    const lintra::PanelFrame poll = lintra::PanelFrame::command(5, 0x56, {});
    for (int step = 0; step < 64 && port.unread() > 0; ++step) {
        lintra::PanelFrame buffer;
        if (step % 2 == 0) {
            link.GetAnswer(buffer);
        } else {
            const auto reply = link.SendCmdGetRepl(poll);
            if (reply.record.data_length > lintra::kEventDataBytes) std::abort();
        }
    }
    return 0;
}
