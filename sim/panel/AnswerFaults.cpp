#include "sim/panel/AnswerFaults.h"

#include <array>

namespace sim {

namespace {
constexpr uint8_t kErrorCode = 3;
}  // namespace

void noteFault(std::string &faults, FaultKind kind) {
    if (!faults.empty()) faults += ",";
    faults += faultName(kind);
}

std::optional<Transmission> shapeAnswer(FaultSet &faults, uint8_t address,
                                        const std::function<std::optional<Bytes>()> &answer) {
    if (faults.take(FaultKind::Silent)) return std::nullopt;
    Transmission out;
    if (auto code = faults.take(FaultKind::Error)) {
        out.bytes = makeFrame(address, kErrorCode, std::array<uint8_t, 1>{static_cast<uint8_t>(*code)});
        noteFault(out.faults, FaultKind::Error);
    } else {
        auto bytes = answer();
        if (!bytes) return std::nullopt;
        out.bytes = std::move(*bytes);
    }
    alterTransmission(faults, out);
    return out;
}

void alterTransmission(FaultSet &faults, Transmission &out) {
    if (faults.take(FaultKind::Checksum)) {
        out.bytes.back() = static_cast<uint8_t>(out.bytes.back() + 1);
        noteFault(out.faults, FaultKind::Checksum);
    }
    if (auto cut = faults.take(FaultKind::Cut)) {
        out.bytes.resize(out.bytes.size() > *cut ? out.bytes.size() - *cut : 1);
        noteFault(out.faults, FaultKind::Cut);
    }
    if (auto stray = faults.take(FaultKind::Stray)) {
        out.bytes.insert(out.bytes.begin(), static_cast<uint8_t>(*stray));
        noteFault(out.faults, FaultKind::Stray);
    }
    if (auto delay = faults.take(FaultKind::Delay)) {
        out.delayMs = *delay;
        noteFault(out.faults, FaultKind::Delay);
    }
}

}  // namespace sim
