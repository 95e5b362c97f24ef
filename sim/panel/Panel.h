#pragma once
// One simulated M50 panel: its tables, clock and stored messages, and the answer it gives to
// a request frame. Time is passed in explicitly, so the model runs without I/O or sleeping.
#include <cstdint>
#include <optional>
#include <span>

#include "sim/panel/CivilTime.h"
#include "sim/panel/Frame.h"
#include "sim/panel/MessageStore.h"
#include "sim/panel/PanelTables.h"

namespace sim {

namespace code {
constexpr uint8_t kEmpty = 0;
constexpr uint8_t kError = 3;
constexpr uint8_t kSetClock = 3, kWriteKey = 8, kReadKey = 12;
constexpr uint8_t kArm = 80, kReadZone = 81, kWriteZone = 82, kWriteQuarter = 84,
                  kReadQuarter = 85, kPollNewest = 0x56, kPollNumber = 0x57;
constexpr uint8_t kReadSlot = 91, kWriteSlot = 92, kReadZoneCount = 93, kWriteZoneCount = 94,
                  kWriteM39 = 102, kWriteDelay = 103, kReadDelay = 104, kStopAlarm = 105;
// Answer codes.
constexpr uint8_t kKeyAnswer = 5, kZoneAnswer = 85, kQuarterAnswer = 86, kSlotAnswer = 89,
                  kZoneCountAnswer = 90, kDelayAnswer = 95;
}  // namespace code

// The commands that store into the panel's tables: the configuration a loader writes.
bool isTableWrite(uint8_t command);

namespace error {
constexpr uint8_t kChecksum = 1, kBadParameter = 2, kUnknownCommand = 3;
}

namespace event {
constexpr uint8_t kArmed = 4, kDisarmed = 5, kClockSet = 7, kAlarmOff = 12;
}

class Panel {
public:
    Panel(uint8_t address, AnswerFormat format, const CivilTime &clockStart, uint64_t nowMs,
          size_t ringCapacity = MessageStore::kDefaultCapacity);

    uint8_t address() const { return address_; }
    AnswerFormat format() const { return messages_.format(); }

    // The answer to a frame addressed to this panel. A broadcast frame is carried out without
    // an answer (nullopt).
    std::optional<Bytes> answer(std::span<const uint8_t> request, uint64_t nowMs);

    // Stores an event message stamped with the panel clock; nullptr when the type does not fit
    // the answer format.
    const StoredMessage *addEvent(uint8_t type, uint8_t p1, uint8_t p2, uint64_t nowMs);

    PanelTables &tables() { return tables_; }
    const PanelTables &tables() const { return tables_; }
    MessageStore &messages() { return messages_; }
    const MessageStore &messages() const { return messages_; }
    PanelClock &clock() { return clock_; }
    const PanelClock &clock() const { return clock_; }

private:
    Bytes carryOut(uint8_t command, std::span<const uint8_t> p, uint64_t nowMs);
    Bytes reply(uint8_t answerCode, std::span<const uint8_t> data = {}) const;
    Bytes refuse(uint8_t errorCode) const;

    uint8_t address_;
    PanelTables tables_;
    PanelClock clock_;
    MessageStore messages_;
};

}  // namespace sim
