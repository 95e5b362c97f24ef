#include "sim/lcb/LineController.h"

#include <algorithm>

#include "sim/units/CommandSets.h"

namespace sim {

namespace {
constexpr uint8_t kMaskByte = 0x61, kUnitCount = 0x60, kLineOption = 0x62, kStop = 0x65, kStart = 0x66;
constexpr uint8_t kIdle = 0;
}  // namespace

LineController::LineController(ControllerSettings settings, uint64_t nowMs)
    : settings_(settings), nextEventMs_(nowMs), nextIdleMs_(nowMs + settings.idleMs) {}

bool LineController::addUnit(uint8_t address) { return units_.emplace(address, ControllerUnit{}).second; }

ControllerUnit *LineController::find(uint8_t address) {
    auto it = units_.find(address);
    return it == units_.end() ? nullptr : &it->second;
}

bool LineController::polls(uint8_t address) const {
    return polling_ && address < unitCount_ && (mask_[address / 8] >> (address % 8) & 1);
}

void LineController::configure(std::span<const uint8_t> frame) {
    ++counts_.internal;
    uint8_t code = frame[2];
    if (code == kStop) polling_ = false;
    if (code == kStart) polling_ = true;
    if (frame.size() < 5) return;
    if (code == kUnitCount) unitCount_ = frame[3];
    if (code == kLineOption) lineOption_ = frame[3];
    // Bytes beyond the mask stand for units above the PC's unit limit, which this line has not.
    if (code == kMaskByte && frame.size() >= 6 && frame[3] < kMaskBytes) mask_[frame[3]] = frame[4];
}

std::optional<Transmission> LineController::receive(std::span<const uint8_t> frame, uint64_t nowMs) {
    ++counts_.received;
    if (!frameIsValid(frame)) {
        ++counts_.badChecksum;
        return std::nullopt;
    }
    if (frame.size() < 4) return std::nullopt;
    uint8_t address = frame[1], code = frame[2];
    if (address == kInternal) {
        configure(frame);
        return std::nullopt;
    }
    if (address == kBroadcastAddress) {
        ++counts_.broadcasts;
        return std::nullopt;
    }
    ++counts_.commands;
    if (ControllerUnit *unit = find(address)) ++unit->commands;
    if (!isAcknowledged(code)) return std::nullopt;
    auto ack = shapeAnswer(faults_, address, [address] { return std::optional<Bytes>(makeFrame(address, kAck)); });
    if (!ack) {
        ++counts_.muted;
        return std::nullopt;
    }
    ++counts_.acks;
    nextIdleMs_ = nowMs + settings_.idleMs;
    return ack;
}

std::optional<uint8_t> LineController::nextEventUnit() const {
    // Round robin from the unit after the last one forwarded.
    for (int step = 1; step <= 256; ++step) {
        uint8_t address = static_cast<uint8_t>(lastForwarded_ + step);
        auto it = units_.find(address);
        if (it != units_.end() && !it->second.events.empty() && polls(address)) return address;
    }
    return std::nullopt;
}

std::optional<Transmission> LineController::send(Bytes frame, uint64_t nowMs) {
    nextIdleMs_ = nowMs + settings_.idleMs;
    if (faults_.take(FaultKind::Silent)) {
        ++counts_.muted;
        return std::nullopt;
    }
    Transmission out{std::move(frame), 0, {}};
    alterTransmission(faults_, out);
    return out;
}

std::vector<Transmission> LineController::due(uint64_t nowMs) {
    std::vector<Transmission> out;
    if (nowMs >= nextEventMs_) {
        if (auto address = nextEventUnit()) {
            ControllerUnit &unit = units_.at(*address);
            Bytes event = std::move(unit.events.front());
            unit.events.pop_front();
            ++unit.forwarded;
            lastForwarded_ = *address;
            nextEventMs_ = nowMs + settings_.eventIntervalMs;
            if (auto tx = send(std::move(event), nowMs)) {
                ++counts_.events;
                out.push_back(std::move(*tx));
            }
        }
    }
    if (settings_.idleMs > 0 && nowMs >= nextIdleMs_) {
        if (auto tx = send(makeFrame(settings_.idleAddress, kIdle), nowMs)) {
            ++counts_.idle;
            out.push_back(std::move(*tx));
        }
    }
    return out;
}

std::optional<uint64_t> LineController::nextDueMs() const {
    std::optional<uint64_t> next;
    if (settings_.idleMs > 0) next = nextIdleMs_;
    if (nextEventUnit()) next = std::min(next.value_or(nextEventMs_), nextEventMs_);
    return next;
}

}  // namespace sim
