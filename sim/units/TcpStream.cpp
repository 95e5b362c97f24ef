#include "sim/units/TcpStream.h"

namespace sim {

void TcpStream::greet(const Bytes &text) {
    std::string greeting(text.begin(), text.end());
    ++net_.greetings;
    net_.lastGreeting = greeting;
    bool expected = !net_.expectedGreeting || greeting == *net_.expectedGreeting;
    greeted_ = greeted_ || expected;
    log_.note("greeting '" + greeting + "'" + (expected ? "" : " (not the expected one)"));
}

StreamReader::Result TcpStream::receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) {
    Result result;
    for (TcpMessage &m : reader_.feed(bytes)) {
        if (m.type == kGreetingMessage) {
            greet(m.payload);
            continue;
        }
        if (m.type != kFrameMessage) {
            log_.bytes("skip", m.payload, "message type " + std::to_string(m.type));
            continue;
        }
        if (!greeted_ && net_.expectedGreeting) {
            log_.bytes("rx", m.payload, "before the greeting, not answered");
            continue;
        }
        if (announcedLength(m.payload.empty() ? 0 : m.payload[0]) != m.payload.size()) {
            log_.bytes("drop", m.payload, "length byte does not match the message");
            continue;
        }
        log_.bytes("rx", m.payload, frameIsValid(m.payload) ? "" : "bad checksum");
        if (auto tx = handler_(m.payload, nowMs, speedMode)) {
            tx->bytes = net_.header.wrap(tx->bytes);
            result.replies.push_back({std::move(*tx), kHeaderBytes + m.payload.size()});
        }
    }
    if (reader_.failure()) {
        log_.note("closing the client: " + *reader_.failure());
        result.close = true;
    }
    return result;
}

}  // namespace sim
