#pragma once
// A controller of ncx-sim behind its packet stream, driven with text as a client sends it and
// answering with the text the client would read.
#include <string>
#include <string_view>

#include "sim/ncx/NcxStream.h"
#include "sim/serve/WireLog.h"

namespace sim::test {

inline WireLog &quietLog() {
    static WireLog log;
    static const bool opened = log.open("/dev/null");
    (void)opened;
    return log;
}

struct NcxWire {
    explicit NcxWire(NcxSettings settings = {}, NcxLineFactory factory = makeLineModel)
        : controller(std::move(settings), std::move(factory)), stream(controller, quietLog()) {}

    // What the controller sends as the connection opens.
    std::string open() {
        auto tx = stream.greeting();
        return tx ? std::string(tx->bytes.begin(), tx->bytes.end()) : std::string();
    }
    // Everything the controller answers to the bytes of `in`.
    std::string send(std::string_view in) {
        std::string out;
        auto bytes = std::span(reinterpret_cast<const uint8_t *>(in.data()), in.size());
        for (const Reply &r : stream.receive(bytes, 0, 0).replies) out.append(r.tx.bytes.begin(), r.tx.bytes.end());
        return out;
    }

    NcxController controller;
    NcxStream stream;
};

}  // namespace sim::test
