#include "sim/units/UnitLine.h"

#include "sim/units/UnitEvent.h"

namespace sim {

bool UnitLine::add(uint8_t address) {
    if (address > kMaxUnit) return false;
    return units_.emplace(address, LineUnit{IntUnit(address), {}}).second;
}

LineUnit *UnitLine::find(uint8_t address) {
    auto it = units_.find(address);
    return it == units_.end() ? nullptr : &it->second;
}

std::optional<Transmission> UnitLine::receive(std::span<const uint8_t> frame, int speedMode) {
    if (frame.size() < 4) return std::nullopt;
    if (frame[1] == kBroadcastAddress) {
        for (auto &entry : units_)
            if (entry.second.faults.allowsMode(speedMode)) entry.second.unit.hearBroadcast();
        return std::nullopt;
    }
    LineUnit *target = find(frame[1]);
    if (!target) return std::nullopt;
    ++target->heard;
    if (!target->faults.allowsMode(speedMode)) return std::nullopt;
    auto out = shapeAnswer(target->faults, target->unit.address(), [&] { return target->unit.answer(frame); });
    if (out) ++target->answered;
    return out;
}

}  // namespace sim
