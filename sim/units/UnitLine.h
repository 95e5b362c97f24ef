#pragma once
// The units of one intelligent line: a request is answered only by the unit of its address,
// with that unit's faults applied; a frame to 0xFE is carried out by all and answered by none.
#include <cstdint>
#include <map>
#include <optional>
#include <span>

#include "sim/panel/AnswerFaults.h"
#include "sim/units/IntUnit.h"

namespace sim {

struct LineUnit {
    IntUnit unit;
    FaultSet faults;
    uint32_t heard = 0;     // frames addressed to the unit
    uint32_t answered = 0;  // answers sent, faulty ones included
};

class UnitLine {
public:
    // False when the address is above kMaxUnit or already on the line.
    bool add(uint8_t address);
    LineUnit *find(uint8_t address);
    const std::map<uint8_t, LineUnit> &units() const { return units_; }

    std::optional<Transmission> receive(std::span<const uint8_t> frame, int speedMode);

private:
    std::map<uint8_t, LineUnit> units_;
};

}  // namespace sim
