#include "sim/panel/FaultCommand.h"

#include "sim/panel/Panel.h"
#include "sim/panel/TextFields.h"

namespace sim {

namespace {

std::string failure(const std::string &why) { return "error " + why + "\n"; }

// The default argument of a fault kind, or nullopt when the kind needs one.
std::optional<uint32_t> defaultArg(FaultKind kind) {
    switch (kind) {
    case FaultKind::Cut: return 1;
    case FaultKind::Stray: return 0x55;
    case FaultKind::Silent:
    case FaultKind::Checksum: return 0;
    default: return std::nullopt;
    }
}

std::optional<uint32_t> parseFaultArg(FaultKind kind, const std::string &field) {
    switch (kind) {
    case FaultKind::Error:
    case FaultKind::Stray: {
        auto b = parseByte(field);
        return b ? std::optional<uint32_t>(*b) : std::nullopt;
    }
    case FaultKind::DropWrite: {
        auto b = parseByte(field);
        return b && isTableWrite(*b) ? std::optional<uint32_t>(*b) : std::nullopt;
    }
    case FaultKind::Cut: return parseDecimal(field, 15);
    case FaultKind::Delay: return parseDecimal(field, 600000);
    case FaultKind::Mode: return parseDecimal(field, 2);
    default: return std::nullopt;
    }
}

}  // namespace

std::string applyFaultCommand(FaultSet &faults, const std::vector<std::string> &f, size_t at) {
    if (f.size() <= at) return failure("fault needs a KIND or off");
    if (f.size() == at + 1 && f[at] == "off") {
        faults.clearAll();
        return "ok\n";
    }
    auto kind = faultByName(f[at]);
    if (!kind) return failure("unknown fault '" + f[at] + "'");
    if (f.size() == at + 2 && f[at + 1] == "off") {
        faults.clear(*kind);
        return "ok\n";
    }
    size_t next = at + 1;
    std::optional<uint32_t> arg = defaultArg(*kind);
    bool takesArg = *kind != FaultKind::Silent && *kind != FaultKind::Checksum;
    if (takesArg && next < f.size() && f[next] != "times") arg = parseFaultArg(*kind, f[next++]);
    if (!arg) return failure("fault " + f[at] + " needs a valid argument");
    std::optional<uint32_t> times = 0;
    if (next < f.size()) {
        if (f[next] != "times" || next + 2 != f.size()) return failure("bad fault arguments");
        times = parseDecimal(f[next + 1], 1000000);
        if (!times || *times == 0) return failure("times needs a count above 0");
    }
    faults.set(*kind, *arg, *times);
    return "ok\n";
}

}  // namespace sim
