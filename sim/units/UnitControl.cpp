#include "sim/units/UnitControl.h"

#include "sim/panel/FaultCommand.h"
#include "sim/panel/TextFields.h"
#include "sim/units/TcpFraming.h"
#include "sim/units/UnitEvent.h"

namespace sim {

namespace {
const std::string kOk = "ok\n";
std::string failure(const std::string &why) { return "error " + why + "\n"; }

std::string hexText(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t b : bytes) text += (text.empty() ? "" : " ") + hex(b, 2);
    return text;
}
}  // namespace

std::string describeUnit(const LineUnit &u) {
    const IntUnit &unit = u.unit;
    return "unit " + std::to_string(unit.address()) + " absent " + (unit.absent() ? "1" : "0") + " queued " +
           std::to_string(unit.events().size()) + " last " +
           (unit.lastEvent() ? hexText(*unit.lastEvent()) : std::string("-")) + "\n";
}

LineUnit *UnitControl::unitOf(const std::string &field) {
    auto address = parseByte(field);
    return address ? line_.find(*address) : nullptr;
}

std::string UnitControl::execute(std::string_view command) {
    Fields f = splitFields(command);
    if (f.empty()) return failure("empty command");
    const std::string &verb = f[0];
    if (verb == "units" && f.size() == 1) {
        std::string text = "ok";
        for (const auto &entry : line_.units()) text += " " + std::to_string(entry.first);
        return text + "\n";
    }
    auto queueOf = [this](uint8_t address) -> std::deque<Bytes> * {
        LineUnit *target = line_.find(address);
        return target ? &target->unit.events() : nullptr;
    };
    if (auto answer = executeEventCommand(f, clock_(), queueOf)) return *answer;
    if (verb == "absent") return absent(f);
    if (verb == "fault") {
        LineUnit *target = f.size() > 1 ? unitOf(f[1]) : nullptr;
        if (!target) return failure("usage: fault ADDR KIND [ARG] [times N] | fault ADDR [KIND] off");
        return applyFaultCommand(target->faults, f, 2);
    }
    if (verb == "counts") return counts(f);
    if (verb == "greeting" && f.size() == 1)
        return "ok " + std::to_string(net_.greetings) + (net_.greetings ? " " + net_.lastGreeting : "") + "\n";
    if (verb == "header") return header(f);
    if (verb == "dump") return dump(f);
    if (auto answer = executeServerCommand(f, hooks_)) return *answer;
    return failure("unknown command '" + verb + "'");
}

std::string UnitControl::absent(const Fields &f) {
    if (f.size() != 3 || (f[2] != "on" && f[2] != "off")) return failure("usage: absent ADDR on|off");
    LineUnit *target = unitOf(f[1]);
    if (!target) return failure("no unit " + f[1]);
    target->unit.setAbsent(f[2] == "on");
    return kOk;
}

std::string UnitControl::counts(const Fields &f) {
    if (f.size() != 2) return failure("usage: counts ADDR");
    LineUnit *target = unitOf(f[1]);
    if (!target) return failure("no unit " + f[1]);
    const UnitCounts &c = target->unit.counts();
    return "ok heard " + std::to_string(target->heard) + " answered " + std::to_string(target->answered) +
           " polls " + std::to_string(c.polls) + " repeats " + std::to_string(c.repeats) + " events " +
           std::to_string(c.events) + " commands " + std::to_string(c.commands) + " broadcasts " +
           std::to_string(c.broadcasts) + " queued " + std::to_string(target->unit.events().size()) + "\n";
}

std::string UnitControl::header(const Fields &f) {
    if (f.size() == 2 && f[1] == "off") {
        net_.header = {};
        return kOk;
    }
    const char *usage = "usage: header type T|length L [times N] | header off";
    if ((f.size() != 3 && f.size() != 5) || (f[1] != "type" && f[1] != "length")) return failure(usage);
    auto value = parseDecimal(f[2], f[1] == "type" ? 0xFFFFFFFFu : TcpMessageReader::kMaxPayload);
    std::optional<uint32_t> times = 0;
    if (f.size() == 5) times = f[3] == "times" ? parseDecimal(f[4], 1000000) : std::nullopt;
    if (!value || !times || (f.size() == 5 && *times == 0)) return failure(usage);
    net_.header = {f[1] == "type" ? HeaderFault::Kind::Type : HeaderFault::Kind::Length, *value, *times};
    return kOk;
}

std::string UnitControl::dump(const Fields &f) {
    if (f.size() == 1) {
        std::string text;
        for (const auto &entry : line_.units()) text += describeUnit(entry.second);
        return text + kOk;
    }
    if (f.size() != 2) return failure("usage: dump [ADDR]");
    LineUnit *target = unitOf(f[1]);
    if (!target) return failure("no unit " + f[1]);
    return describeUnit(*target) + kOk;
}

}  // namespace sim
