#include "sim/lcb/ControllerControl.h"

#include "sim/panel/FaultCommand.h"
#include "sim/panel/TextFields.h"
#include "sim/units/UnitEvent.h"

namespace sim {

namespace {
const std::string kOk = "ok\n";
std::string failure(const std::string &why) { return "error " + why + "\n"; }
}  // namespace

ControllerUnit *ControllerControl::unitOf(const std::string &field) {
    auto address = parseByte(field);
    return address ? controller_.find(*address) : nullptr;
}

std::string ControllerControl::state() const {
    std::string mask;
    for (uint8_t b : controller_.mask()) mask += hex(b, 2);
    return "polling " + std::string(controller_.polling() ? "on" : "off") + " count " +
           std::to_string(controller_.unitCount()) + " option " + std::to_string(controller_.lineOption()) +
           " mask " + mask;
}

std::string ControllerControl::execute(std::string_view command) {
    Fields f = splitFields(command);
    if (f.empty()) return failure("empty command");
    const std::string &verb = f[0];
    if (verb == "units" && f.size() == 1) {
        std::string text = "ok";
        for (const auto &entry : controller_.units()) text += " " + std::to_string(entry.first);
        return text + "\n";
    }
    auto queueOf = [this](uint8_t address) -> std::deque<Bytes> * {
        ControllerUnit *unit = controller_.find(address);
        return unit ? &unit->events : nullptr;
    };
    if (auto answer = executeEventCommand(f, clock_(), queueOf)) return *answer;
    if (verb == "state" && f.size() == 1) return "ok " + state() + "\n";
    if (verb == "counts") return counts(f);
    if (verb == "fault") return applyFaultCommand(controller_.faults(), f, 1);
    if (verb == "dump" && f.size() == 1) {
        std::string text = state() + "\n";
        for (const auto &[address, unit] : controller_.units())
            text += "unit " + std::to_string(address) + " polled " + (controller_.polls(address) ? "1" : "0") +
                    " queued " + std::to_string(unit.events.size()) + "\n";
        return text + kOk;
    }
    if (auto answer = executeServerCommand(f, hooks_)) return *answer;
    return failure("unknown command '" + verb + "'");
}

std::string ControllerControl::counts(const Fields &f) {
    if (f.size() == 1) {
        const ControllerCounts &c = controller_.counts();
        return "ok received " + std::to_string(c.received) + " bad " + std::to_string(c.badChecksum) + " internal " +
               std::to_string(c.internal) + " commands " + std::to_string(c.commands) + " broadcasts " +
               std::to_string(c.broadcasts) + " acks " + std::to_string(c.acks) + " events " +
               std::to_string(c.events) + " idle " + std::to_string(c.idle) + " muted " + std::to_string(c.muted) +
               "\n";
    }
    if (f.size() != 2) return failure("usage: counts [ADDR]");
    ControllerUnit *unit = unitOf(f[1]);
    if (!unit) return failure("no unit " + f[1]);
    return "ok commands " + std::to_string(unit->commands) + " forwarded " + std::to_string(unit->forwarded) +
           " queued " + std::to_string(unit->events.size()) + "\n";
}

}  // namespace sim
