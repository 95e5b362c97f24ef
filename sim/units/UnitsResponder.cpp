#include "sim/units/UnitsResponder.h"

#include "sim/units/TcpStream.h"

namespace sim {

std::unique_ptr<StreamReader> UnitsResponder::openStream(WireLog &log) {
    FramedStream::Handler answer = [this](std::span<const uint8_t> frame, uint64_t, int mode) {
        return line_.receive(frame, mode);
    };
    if (tcp_) return std::make_unique<TcpStream>(log, net_, std::move(answer));
    return std::make_unique<FramedStream>(log, std::move(answer));
}

}  // namespace sim
