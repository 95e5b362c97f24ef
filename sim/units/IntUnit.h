#pragma once
// One unit (controller) of an intelligent line, polled by the PC itself. It answers a poll (2)
// with its oldest stored event, or code 0 when it has none; a repeat request (0x12) with the
// event it sent last; a known command with code 0 (done) and an unknown one with code 3,
// error 3. A unit marked absent is reported silent: every request gets code 0x62.
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "sim/panel/Frame.h"

namespace sim {

namespace unitcode {
constexpr uint8_t kEmpty = 0, kPoll = 2, kError = 3, kRepeat = 0x12, kSilent = 0x62;
}

struct UnitCounts {
    uint32_t polls = 0;    // requests carried out: polls
    uint32_t repeats = 0;  // repeat requests
    uint32_t events = 0;   // events sent (repeats included)
    uint32_t commands = 0; // other requests
    uint32_t broadcasts = 0;
};

class IntUnit {
public:
    explicit IntUnit(uint8_t address) : address_(address) {}
    uint8_t address() const { return address_; }

    // The answer to a frame addressed to this unit (with a valid checksum or not).
    Bytes answer(std::span<const uint8_t> request);
    // A frame to all units: carried out, never answered.
    void hearBroadcast() { ++counts_.broadcasts; }

    void setAbsent(bool absent) { absent_ = absent; }
    bool absent() const { return absent_; }
    std::deque<Bytes> &events() { return events_; }
    const std::deque<Bytes> &events() const { return events_; }
    const std::optional<Bytes> &lastEvent() const { return lastEvent_; }
    const UnitCounts &counts() const { return counts_; }

private:
    Bytes reply(uint8_t code, std::span<const uint8_t> data = {}) const { return makeFrame(address_, code, data); }
    Bytes nextEvent();

    uint8_t address_;
    bool absent_ = false;
    std::deque<Bytes> events_;
    std::optional<Bytes> lastEvent_;
    UnitCounts counts_;
};

}  // namespace sim
