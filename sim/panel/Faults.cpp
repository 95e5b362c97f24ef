#include "sim/panel/Faults.h"

namespace sim {

namespace {
constexpr std::array<const char *, kFaultKinds> kNames{"silent", "error", "checksum", "cut",
                                                        "stray",  "delay", "mode",  "drop-write"};
}

const char *faultName(FaultKind kind) { return kNames[static_cast<size_t>(kind)]; }

std::optional<FaultKind> faultByName(const std::string &name) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i]) return static_cast<FaultKind>(i);
    return std::nullopt;
}

void FaultSet::set(FaultKind kind, uint32_t arg, uint32_t times) {
    settings_[index(kind)] = {true, arg, kind == FaultKind::Mode ? 0 : times};
}

bool FaultSet::allowsMode(int speedMode) const {
    const FaultSetting &mode = get(FaultKind::Mode);
    return !mode.active || static_cast<int>(mode.arg) == speedMode;
}

std::optional<uint32_t> FaultSet::take(FaultKind kind) {
    FaultSetting &s = settings_[index(kind)];
    if (!s.active) return std::nullopt;
    uint32_t arg = s.arg;
    if (s.remaining > 0 && --s.remaining == 0) s = {};
    return arg;
}

}  // namespace sim
