#pragma once
// A line controller on a serial line to the PC: it polls its own units (simulated: each holds
// the events a test stored) and forwards their events to the PC as frames, acknowledges the
// PC's unit commands of the acknowledged set with code 0x64, and sends an idle frame (code 0)
// when it has had nothing to send for a while, so that the PC's supervision sees it alive.
// The PC configures it with frames of address 0xFB: 0x61 unit mask byte, 0x60 unit count,
// 0x62 a line option, 0x65 stop and 0x66 start polling. Its faults shape everything it sends;
// "silent" stops it sending anything.
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "sim/panel/AnswerFaults.h"

namespace sim {

struct ControllerUnit {
    std::deque<Bytes> events;
    uint32_t commands = 0;   // frames from the PC addressed to the unit
    uint32_t forwarded = 0;  // events sent on to the PC
};

struct ControllerCounts {
    uint32_t received = 0, badChecksum = 0, internal = 0, commands = 0, broadcasts = 0;
    uint32_t acks = 0, events = 0, idle = 0, muted = 0;  // sent, and lost to the silent fault
};

struct ControllerSettings {
    uint8_t idleAddress = 0xFF;  // byte 1 of the idle frame
    uint32_t idleMs = 1000;      // 0: never
    uint32_t eventIntervalMs = 50;
};

class LineController {
public:
    static constexpr size_t kMaskBytes = 32;
    static constexpr uint8_t kInternal = 0xFB, kAck = 0x64;

    LineController(ControllerSettings settings, uint64_t nowMs);

    bool addUnit(uint8_t address);
    ControllerUnit *find(uint8_t address);
    const std::map<uint8_t, ControllerUnit> &units() const { return units_; }

    // The acknowledgement of one frame from the PC, or nothing.
    std::optional<Transmission> receive(std::span<const uint8_t> frame, uint64_t nowMs);
    // Frames due by nowMs: forwarded events, then the idle frame.
    std::vector<Transmission> due(uint64_t nowMs);
    std::optional<uint64_t> nextDueMs() const;

    // A unit is polled while polling runs, its mask bit is set and it is below the unit count.
    bool polls(uint8_t address) const;
    void setPolling(bool on) { polling_ = on; }
    void setUnitCount(uint8_t count) { unitCount_ = count; }
    void setMaskBit(uint8_t address) { mask_[address / 8] |= static_cast<uint8_t>(1u << (address % 8)); }

    bool polling() const { return polling_; }
    uint8_t unitCount() const { return unitCount_; }
    uint8_t lineOption() const { return lineOption_; }
    const std::array<uint8_t, kMaskBytes> &mask() const { return mask_; }
    const ControllerCounts &counts() const { return counts_; }
    FaultSet &faults() { return faults_; }

private:
    void configure(std::span<const uint8_t> frame);
    std::optional<uint8_t> nextEventUnit() const;
    // The frame as it goes out, the faults applied; nothing when the silent fault takes it.
    std::optional<Transmission> send(Bytes frame, uint64_t nowMs);

    ControllerSettings settings_;
    std::map<uint8_t, ControllerUnit> units_;
    std::array<uint8_t, kMaskBytes> mask_{};
    uint8_t unitCount_ = 0, lineOption_ = 0;
    bool polling_ = false;
    uint8_t lastForwarded_ = 0xFF;
    uint64_t nextEventMs_ = 0, nextIdleMs_ = 0;
    ControllerCounts counts_;
    FaultSet faults_;
};

}  // namespace sim
