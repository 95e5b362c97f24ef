#include "sim/panel/PanelLine.h"

namespace sim {

namespace {

// The panel's answer; a write the drop-write fault catches is acknowledged as usual but its
// tables stay as they were, the silent loss a read-back has to find.
std::optional<Bytes> answerOf(LinePanel &target, std::span<const uint8_t> frame, uint64_t nowMs,
                              bool &dropped) {
    const FaultSetting &drop = target.faults.get(FaultKind::DropWrite);
    if (!drop.active || frame[2] != drop.arg) return target.panel.answer(frame, nowMs);
    PanelTables kept = target.panel.tables();
    auto out = target.panel.answer(frame, nowMs);
    if (out && (*out)[2] == code::kEmpty) {  // refused writes store nothing anyway
        target.panel.tables() = kept;
        target.faults.take(FaultKind::DropWrite);
        dropped = true;
    }
    return out;
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
            if (entry.second.faults.allowsMode(speedMode)) entry.second.panel.answer(frame, nowMs);
        return std::nullopt;
    }
    LinePanel *target = find(frame[1]);
    if (!target) return std::nullopt;
    ++target->heard;
    if (!target->faults.allowsMode(speedMode)) return std::nullopt;
    bool dropped = false;
    auto out = shapeAnswer(target->faults, target->panel.address(),
                           [&] { return answerOf(*target, frame, nowMs, dropped); });
    if (dropped) noteFault(out->faults, FaultKind::DropWrite);
    if (out) ++target->answered;
    return out;
}

}  // namespace sim
