#include "sim/ncx/NcxControl.h"

#include "sim/panel/TextFields.h"

namespace sim {

namespace {

const std::string kOk = "ok\n";
std::string failure(const std::string &why) { return "error " + why + "\n"; }
const char *onOff(bool on) { return on ? "on" : "off"; }

// Sets `flag` from "on" or "off"; false for anything else.
bool takeSwitch(const std::vector<std::string> &f, bool &flag) {
    if (f.size() != 2 || (f[1] != "on" && f[1] != "off")) return false;
    flag = f[1] == "on";
    return true;
}

}  // namespace

std::string NcxControl::execute(std::string_view command) {
    Fields f = splitFields(command);
    if (f.empty()) return failure("empty command");
    const std::string &verb = f[0];
    if (verb == "status" && f.size() == 1) return status();
    if (verb == "drop" && f.size() == 1) {
        drop_();
        return kOk;
    }
    if (verb == "silent") return takeSwitch(f, controller_.faults.silent) ? kOk : failure("usage: silent on|off");
    if (verb == "refuse-password")
        return takeSwitch(f, controller_.faults.refusePassword) ? kOk : failure("usage: refuse-password on|off");
    if (verb == "malformed" && f.size() == 1) {
        output_ += "T1LFXZZZD00\r";
        return kOk;
    }
    if (verb == "endless") return endless(f);
    if (verb == "burst") return burst(f);
    if (verb == "restart" && f.size() == 1) {
        output_ += controller_.restart();
        return kOk;
    }
    if (auto answer = executeServerCommand(f, hooks_)) return *answer;
    return failure("unknown command '" + verb + "'");
}

std::string NcxControl::status() const {
    const NcxCounters &c = controller_.counters;
    return "ok connections=" + std::to_string(c.connections) + " bytes=" + std::to_string(c.bytes) +
           " packets=" + std::to_string(c.packets) + " malformed=" + std::to_string(c.malformed) +
           " unrouted=" + std::to_string(c.unrouted) + " authorised=" + (controller_.authorised() ? "yes" : "no") +
           " config=" + controller_.configuration() + " pace=" + std::to_string(controller_.pace()) +
           " silent=" + onOff(controller_.faults.silent) +
           " refuse-password=" + onOff(controller_.faults.refusePassword) + "\n";
}

std::string NcxControl::endless(const Fields &f) {
    auto count = f.size() == 2 ? parseDecimal(f[1], kMaxEndless) : std::nullopt;
    if (!count || *count == 0) return failure("usage: endless N (1.." + std::to_string(kMaxEndless) + ")");
    // Letters only: never a terminator, and the peer's reader sees one line that never ends.
    for (uint32_t i = 0; i < *count; ++i) output_ += static_cast<char>('A' + i % 26);
    controller_.faults.silent = true;
    return kOk;
}

std::string NcxControl::burst(const Fields &f) {
    auto count = f.size() == 2 ? parseDecimal(f[1], kMaxBurst) : std::nullopt;
    if (!count || *count == 0) return failure("usage: burst N (1.." + std::to_string(kMaxBurst) + ")");
    // A pure receive load: well-formed packets of the controller's own line that ask nothing
    // back. The default text keeps every packet the same whatever --version-text says.
    static const std::string kPacket =
        formatPacket({1, NcxPacket::kControllerLine, "A109", NcxSettings{}.versionText}) + "\r";
    output_.reserve(output_.size() + kPacket.size() * *count);
    for (uint32_t i = 0; i < *count; ++i) output_ += kPacket;
    return "ok " + std::to_string(*count) + "\n";
}

}  // namespace sim
