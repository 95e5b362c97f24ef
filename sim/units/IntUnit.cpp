#include "sim/units/IntUnit.h"

#include <array>

#include "sim/units/CommandSets.h"

namespace sim {

namespace {
constexpr uint8_t kChecksumError = 1, kUnknownCommand = 3;
}  // namespace

Bytes IntUnit::nextEvent() {
    if (events_.empty()) return reply(unitcode::kEmpty);
    lastEvent_ = std::move(events_.front());
    events_.pop_front();
    ++counts_.events;
    return *lastEvent_;
}

Bytes IntUnit::answer(std::span<const uint8_t> request) {
    uint8_t code = request.size() > 2 ? request[2] : 0;
    if (code == unitcode::kPoll) ++counts_.polls;
    else if (code == unitcode::kRepeat) ++counts_.repeats;
    else ++counts_.commands;

    if (absent_) return reply(unitcode::kSilent);
    if (!frameIsValid(request)) return reply(unitcode::kError, std::array<uint8_t, 1>{kChecksumError});
    if (code == unitcode::kPoll) return nextEvent();
    if (code == unitcode::kRepeat) {
        if (!lastEvent_) return nextEvent();
        ++counts_.events;
        return *lastEvent_;
    }
    if (!isKnownUnitCommand(code)) return reply(unitcode::kError, std::array<uint8_t, 1>{kUnknownCommand});
    return reply(unitcode::kEmpty);
}

}  // namespace sim
