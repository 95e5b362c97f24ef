#pragma once
// The configuration tables a panel keeps, as the loader writes and reads them. Table indexes
// are the panel's own numbers: poll-order slots 1..50, zones 1..200, users, sections and M39
// entries 0..255.
#include <array>
#include <cstdint>

namespace sim {

constexpr unsigned kPollSlots = 50;
constexpr unsigned kZones = 200;
constexpr unsigned kUsers = 256;
constexpr unsigned kSections = 256;
constexpr unsigned kQuarters = 4;
constexpr unsigned kM39Entries = 256;

struct PollSlot {
    uint16_t address = 0xFFFF;  // an empty slot, as the loader writes one
    uint8_t type = 0x42;
    bool operator==(const PollSlot &) const = default;
};

struct Zone {
    uint8_t flags = 0;  // bit 0 armed, 1 inverted loop, 2 loop check, 5 auto-arming
    uint8_t state = 0;  // bits 4..6 loop condition, bit 7 triggering timer running
    uint8_t blockType = 0;
    uint8_t timer = 0;
    uint8_t armDelay = 0;      // seconds, delay kind 0
    uint8_t triggerDelay = 0;  // seconds, delay kind 1
    bool operator==(const Zone &) const = default;
};

using KeyCode = std::array<uint8_t, 4>;
using QuarterMask = std::array<uint8_t, 8>;

constexpr KeyCode kNoCard{0, 0, 0, 0};
constexpr KeyCode kNoPassword{0xFF, 0xFF, 0xFF, 0xFF};
constexpr uint16_t kNoM39Entry = 0xFFFF;

struct PanelTables {
    PanelTables() {
        passwords.fill(kNoPassword);
        m39.fill(kNoM39Entry);
    }
    std::array<PollSlot, kPollSlots> slots{};  // slot s at index s - 1
    uint8_t lastPolledZone = 0;
    std::array<Zone, kZones> zones{};  // zone z at index z - 1
    std::array<KeyCode, kUsers> cards{};
    std::array<KeyCode, kUsers> passwords{};
    std::array<std::array<QuarterMask, kQuarters>, kSections> sections{};
    std::array<uint16_t, kM39Entries> m39{};
    bool operator==(const PanelTables &) const = default;
};

}  // namespace sim
