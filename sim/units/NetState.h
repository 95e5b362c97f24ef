#pragma once
// What the TCP side of an intelligent line remembers across its clients: the greetings it
// was sent, the greeting it insists on, and a header fault for its answers.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "sim/panel/Frame.h"

namespace sim {

// A misbehaving gateway: the answers' header carries a wrong type, or announces a length other
// than the frame's (the frame then goes out cut short or padded with zero bytes to it).
struct HeaderFault {
    enum class Kind { None, Type, Length };
    Kind kind = Kind::None;
    uint32_t value = 0;
    uint32_t remaining = 0;  // answers still to alter; 0: until switched off

    // The TCP message carrying `frame`, this fault applied (and one use of it counted).
    Bytes wrap(std::span<const uint8_t> frame);
};

struct NetState {
    uint32_t greetings = 0;
    std::string lastGreeting;
    std::optional<std::string> expectedGreeting;  // frames go unanswered until it came
    HeaderFault header;
};

}  // namespace sim
