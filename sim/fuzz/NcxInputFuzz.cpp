// Arbitrary bytes from a client of ncx-sim, delivered in pieces whose sizes the first byte
// chooses, through the line reader to a controller with a password; whatever it answers must be
// packets of the controller ended by CR.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "sim/ncx/NcxStream.h"
#include "sim/serve/WireLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    if (size == 0) return 0;
    static WireLog log;
    static const bool opened = log.open("/dev/null");
    (void)opened;
    NcxController controller(NcxSettings{"secret", "V1"});
    NcxStream stream(controller, log);
    size_t piece = data[0] % 16 + 1;
    std::span<const uint8_t> rest(data + 1, size - 1);
    while (!rest.empty()) {
        size_t n = std::min(piece, rest.size());
        for (const Reply &r : stream.receive(rest.first(n), 0, 0).replies) {
            std::string text(r.tx.bytes.begin(), r.tx.bytes.end());
            if (text.empty() || text.back() != '\r') __builtin_trap();
            text.pop_back();
            auto packet = parsePacket(text);
            if (!packet || packet->kind != 1 || packet->line != NcxPacket::kControllerLine) __builtin_trap();
        }
        rest = rest.subspan(n);
    }
    return 0;
}
