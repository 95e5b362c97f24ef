#pragma once
// What a simulated device sends in reply to one request, shaped by its faults. The panel and
// the line-controller units share these faults, so they share the shaping too.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sim/panel/Faults.h"
#include "sim/panel/Frame.h"

namespace sim {

// Bytes to send, how long to hold them back, and which faults shaped them (for the log).
struct Transmission {
    Bytes bytes;
    uint32_t delayMs = 0;
    std::string faults;
};

// The device's answer with its active faults applied, one use of each counted: silent loses
// the request (`answer` is not called), error answers code 3 from `address` instead of
// carrying the request out, then checksum, cut, stray and delay alter what goes out.
std::optional<Transmission> shapeAnswer(FaultSet &faults, uint8_t address,
                                        const std::function<std::optional<Bytes>()> &answer);

// Adds a fault's name to the log's list of the faults that shaped a transmission.
void noteFault(std::string &faults, FaultKind kind);

// Applies the faults that alter bytes already made (checksum, cut, stray, delay).
void alterTransmission(FaultSet &faults, Transmission &out);

}  // namespace sim
