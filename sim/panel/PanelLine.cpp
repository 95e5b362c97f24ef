#include "sim/panel/PanelLine.h"

#include <array>

namespace sim {

namespace {
void note(std::string &faults, FaultKind kind) {
    if (!faults.empty()) faults += ",";
    faults += faultName(kind);
}
}  // namespace

bool PanelLine::add(Panel panel) {
    if (panels_.count(panel.address())) return false;
    put(std::move(panel));
    return true;
}

void PanelLine::put(Panel panel) {
    uint8_t address = panel.address();
    panels_.insert_or_assign(address, LinePanel{std::move(panel), {}});
}

LinePanel *PanelLine::find(uint8_t address) {
    auto it = panels_.find(address);
    return it == panels_.end() ? nullptr : &it->second;
}

std::optional<Transmission> PanelLine::receive(std::span<const uint8_t> frame, uint64_t nowMs,
                                               int speedMode) {
    if (frame.size() < 4) return std::nullopt;
    if (frame[1] == kBroadcastAddress) {
        for (auto &entry : panels_)
            if (understands(entry.second, speedMode)) entry.second.panel.answer(frame, nowMs);
        return std::nullopt;
    }
    LinePanel *target = find(frame[1]);
    if (!target) return std::nullopt;
    ++target->heard;
    if (!understands(*target, speedMode)) return std::nullopt;
    auto out = answerOne(*target, frame, nowMs);
    if (out) ++target->answered;
    return out;
}

bool PanelLine::understands(const LinePanel &target, int speedMode) {
    const FaultSetting &mode = target.faults.get(FaultKind::Mode);
    return !mode.active || static_cast<int>(mode.arg) == speedMode;
}

std::optional<Transmission> PanelLine::answerOne(LinePanel &target, std::span<const uint8_t> frame,
                                                 uint64_t nowMs) {
    FaultSet &faults = target.faults;
    if (faults.take(FaultKind::Silent)) return std::nullopt;

    Transmission out;
    if (auto code = faults.take(FaultKind::Error)) {
        out.bytes = makeFrame(target.panel.address(), code::kError,
                              std::array<uint8_t, 1>{static_cast<uint8_t>(*code)});
        note(out.faults, FaultKind::Error);
    } else {
        auto answer = target.panel.answer(frame, nowMs);
        if (!answer) return std::nullopt;
        out.bytes = std::move(*answer);
    }
    if (faults.take(FaultKind::Checksum)) {
        out.bytes.back() = static_cast<uint8_t>(out.bytes.back() + 1);
        note(out.faults, FaultKind::Checksum);
    }
    if (auto cut = faults.take(FaultKind::Cut)) {
        out.bytes.resize(out.bytes.size() > *cut ? out.bytes.size() - *cut : 1);
        note(out.faults, FaultKind::Cut);
    }
    if (auto stray = faults.take(FaultKind::Stray)) {
        out.bytes.insert(out.bytes.begin(), static_cast<uint8_t>(*stray));
        note(out.faults, FaultKind::Stray);
    }
    if (auto delay = faults.take(FaultKind::Delay)) {
        out.delayMs = *delay;
        note(out.faults, FaultKind::Delay);
    }
    return out;
}

}  // namespace sim
