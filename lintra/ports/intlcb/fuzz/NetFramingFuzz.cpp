// The TCP header framing reader over arbitrary gateway bytes: the first byte chooses the chunk
// size the stream delivers. Every message read fits the frame buffer, and a refused length is
// never read into it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "lintra/ports/intlcb/NetFraming.h"
#include "lintra/ports/intlcb/tests/ScriptedStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    lintra::test::ScriptedStream stream(std::vector<uint8_t>(data + 1, data + size), data[0] % 17 + 1);
    for (int messages = 0; messages < 64; ++messages) {
        lintra::PanelFrame frame;
        const size_t before = stream.unread();
        const lintra::NetReadResult result = lintra::ReadNetFrame(stream, frame, 0, 0);
        if (result == lintra::NetReadResult::Frame && before - stream.unread() > 8 + lintra::PanelFrame::kBufferSize)
            std::abort();
        if (result != lintra::NetReadResult::Frame) break;
    }
    return 0;
}
