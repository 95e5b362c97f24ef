#include "lintra/ports/commands/LcbCommand.h"

#include <algorithm>
#include <string>

#include "lintra/ports/commands/ControllerLine.h"
#include "lintra/ports/lines/com_unit.h"
#include "lintra/runtime/CommonProc.h"

namespace lintra {
namespace {

constexpr uint8_t kMaxUnit = 250;
constexpr uint8_t kCodeMaskByte = 0x61;   // 'a': unit mask byte x := y
constexpr uint8_t kCodeCommand62 = 0x62;  // 'b'
constexpr uint32_t kFramePauseMs = 50;
constexpr uint32_t kSlowDownMs = 50;
constexpr size_t kLoggedParams = 16;

PanelFrame internalFrame(uint8_t code, std::initializer_list<uint8_t> data) {
    PanelFrame frame = PanelFrame::internal(static_cast<uint8_t>(4 + data.size()), code);
    std::copy(data.begin(), data.end(), frame.bytes.begin() + 3);
    return frame;
}

LcbPlan noFrames(LcbResult result) { return {result, {}}; }
LcbPlan send(PanelFrame frame) { return {LcbResult::Done, {frame}}; }

// Codes 1 (set) and 2 (clear): one unit of the mask. A unit at or above the line's limit is not
// in the mask; its frame carries the unit past the mask bytes instead.
LcbPlan maskUnit(int line, bool set, std::span<const uint8_t> params) {
    if (params.empty()) return noFrames(LcbResult::TooFew);
    if (params.size() > 2) return noFrames(LcbResult::TooMany);
    const uint8_t unit = params[0];
    if (unit > kMaxUnit) return noFrames(LcbResult::UnitOutOfRange);
    const uint16_t limit = LineState::UnitLimit(line);
    if (unit >= limit) {
        const auto x = static_cast<uint8_t>(unit - limit + limit / 8);
        return send(internalFrame(kCodeMaskByte, {x, static_cast<uint8_t>(set ? 0xFF : 0x00)}));
    }
    const size_t index = unit / 8;
    const auto bit = static_cast<uint8_t>(1u << (unit % 8));
    const uint8_t old = LineState::UnitMaskByte(line, index);
    const auto byte = static_cast<uint8_t>(set ? old | bit : old & ~bit);
    LineState::SetUnitMaskByte(line, index, byte);
    if (params.size() == 2 && params[1] == 0) return noFrames(LcbResult::Done);  // update only
    return send(internalFrame(kCodeMaskByte, {static_cast<uint8_t>(index), byte}));
}

// Code 8: every mask byte up to the one holding the last unit, the last of them twice.
LcbPlan wholeMask(int line) {
    const int count = LineState::UnitCount(line);
    const int limit = LineState::UnitLimit(line);
    const int last = std::min(count > limit ? limit - 1 : count, 255);
    LcbPlan plan;
    for (int i = 0; i <= last / 8; ++i) {
        const auto index = static_cast<uint8_t>(i);
        plan.frames.push_back(internalFrame(kCodeMaskByte, {index, LineState::UnitMaskByte(line, index)}));
    }
    plan.frames.push_back(plan.frames.back());
    return plan;
}

LcbPlan oneByte(uint8_t code, std::span<const uint8_t> params) {
    if (params.empty()) return noFrames(LcbResult::TooFew);
    if (params.size() > 1) return noFrames(LcbResult::TooMany);
    return send(internalFrame(code, {params[0]}));
}

}  // namespace

LcbPlan PlanLcbCommand(int line, uint16_t cmd, std::span<const uint8_t> params, bool closed) {
    switch (cmd) {
        case 1:
        case 2:
            return maskUnit(line, cmd == 1, params);
        case 3:
            if (params.size() == 1 && params[0] > kMaxUnit) return noFrames(LcbResult::UnitOutOfRange);
            if (params.size() == 1) LineState::SetUnitCount(line, params[0]);
            return oneByte(PanelFrame::kCodeUnitCount, params);
        case 4:
            return oneByte(kCodeCommand62, params);
        case 5:
            if (!params.empty()) return noFrames(LcbResult::TooMany);
            return send(PanelFrame::connectionLost());
        case 6:
            if (!params.empty()) return noFrames(LcbResult::TooMany);
            if (closed) return noFrames(LcbResult::LineMissing);
            return send(PanelFrame::connectionRestored(4));
        case 7:
            // Without a parameter there is no new limit; the old one stays.
            if (params.size() > 1) return noFrames(LcbResult::TooMany);
            if (params.size() == 1) LineState::SetUnitLimit(line, params[0]);
            return noFrames(LcbResult::Done);
        case 8:
            if (!params.empty()) return noFrames(LcbResult::TooMany);
            return wholeMask(line);
        default:
            return noFrames(LcbResult::Unknown);
    }
}

int LCBCommand(tessel::Clock &clock, int line, uint16_t cmd, std::span<const uint8_t> params) {
    if (LineLogEnabled(line, 6)) {
        const std::string text = "LCBCommand(" + std::to_string(line) + ", " + std::to_string(cmd) +
                                 ", " + std::to_string(params.size()) + ", ...)";
        LogLineBuffer(line, text, params.data(), 6, static_cast<int>(std::min(params.size(), kLoggedParams)));
    }
    const auto port = LineTable::Get(line);
    if (!port) {
        LogLine(line, "SendLCBCommand:: Линия не создана", 2);
        return static_cast<int>(LcbResult::LineMissing);
    }
    const LcbPlan plan = PlanLcbCommand(line, cmd, params, port->closed());
    for (size_t i = 0; i < plan.frames.size(); ++i) {
        if (i > 0) clock.sleepMs(kFramePauseMs);
        port->SendComMsg(plan.frames[i], 0);
    }
    const TFrameQueue &queue = port->outQueue();
    if (!plan.frames.empty() && port->IsLcbControl() &&
        ControllerQueueNearlyFull(queue.Count(), queue.Capacity()))
        clock.sleepMs(kSlowDownMs);
    return static_cast<int>(plan.result);
}

}  // namespace lintra
