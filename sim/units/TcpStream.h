#pragma once
// One TCP client of an intelligent line: messages with the type/length header, greetings
// recorded, each frame handed on and its answer sent back in a type-0 message.
#include "sim/serve/FramedStream.h"
#include "sim/units/NetState.h"
#include "sim/units/TcpFraming.h"

namespace sim {

class TcpStream : public StreamReader {
public:
    TcpStream(WireLog &log, NetState &net, FramedStream::Handler handler)
        : log_(log), net_(net), handler_(std::move(handler)) {}
    Result receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) override;

private:
    void greet(const Bytes &text);

    WireLog &log_;
    NetState &net_;
    FramedStream::Handler handler_;
    TcpMessageReader reader_;
    bool greeted_ = false;
};

}  // namespace sim
