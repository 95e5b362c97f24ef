#pragma once
// What a simulator puts behind its line for the serving loop: a reader per stream (the pty,
// or each TCP client) that turns received bytes into replies, frames the line sends unasked,
// and the control language.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/panel/AnswerFaults.h"

namespace sim {

class WireLog;

struct Reply {
    Transmission tx;
    size_t requestBytes = 0;  // the request's own wire time passes before the reply
};

class StreamReader {
public:
    virtual ~StreamReader() = default;
    struct Result {
        std::vector<Reply> replies;
        bool close = false;  // the stream cannot be read on; drop the client
    };
    // `speedMode` is the line's present mode (kNoSpeedMode when its settings match none).
    virtual Result receive(std::span<const uint8_t> bytes, uint64_t nowMs, int speedMode) = 0;
    // What the line sends as soon as the stream opens, as a device that announces itself.
    virtual std::optional<Transmission> greeting() { return std::nullopt; }
};

class LineResponder {
public:
    virtual ~LineResponder() = default;
    virtual std::unique_ptr<StreamReader> openStream(WireLog &log) = 0;
    // Frames due by nowMs that the line sends of its own accord, on every stream.
    virtual std::vector<Transmission> unasked(uint64_t) { return {}; }
    virtual std::optional<uint64_t> nextUnaskedMs() const { return std::nullopt; }
    // The full answer to one control line, each line ending in "\n".
    virtual std::string control(const std::string &command, uint64_t nowMs) = 0;
};

}  // namespace sim
