// Arbitrary bytes from a TCP client of units-sim, delivered in pieces whose sizes the first
// byte chooses, through the header reader to the units and back.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "sim/serve/WireLog.h"
#include "sim/units/TcpStream.h"
#include "sim/units/UnitLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    if (size == 0) return 0;
    static WireLog log;
    static const bool opened = log.open("/dev/null");
    (void)opened;
    UnitLine line;
    line.add(5);
    line.find(5)->unit.events().push_back(makeFrame(5, 0x1F, std::array<uint8_t, 1>{1}));
    NetState net;
    net.expectedGreeting = "hi";
    TcpStream stream(log, net, [&line](std::span<const uint8_t> frame, uint64_t, int mode) {
        return line.receive(frame, mode);
    });
    size_t piece = data[0] % 16 + 1;
    std::span<const uint8_t> rest(data + 1, size - 1);
    while (!rest.empty()) {
        size_t n = std::min(piece, rest.size());
        auto result = stream.receive(rest.first(n), 0, 0);
        for (const Reply &r : result.replies)
            if (r.tx.bytes.size() < kHeaderBytes) __builtin_trap();
        if (result.close) break;
        rest = rest.subspan(n);
    }
    return 0;
}
