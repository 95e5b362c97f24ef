#pragma once
// The loader's copy of a panel's configuration tables, filled from the site database or from
// configuration records and then written into a panel.
#include "zaltor/config/RecordBuffer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zaltor {

struct BlcRecord {
    int32_t p03Number = 0;
    int32_t address = 0;   // 0..65535, sent as high byte, low byte
    std::string typeName;  // database type name; empty when not recognised
    bool operator==(const BlcRecord &) const = default;
};

enum ZoneSlotKind : int32_t { kNoData = 0, kSensorZone = 1, kControlChannel = 2 };

struct ZoneSlot {
    int32_t kind = kNoData;
    uint8_t numberInBlock = 0;
    uint8_t grd = 0;
    uint8_t inv = 0;
    uint8_t shContr = 0;
    uint8_t delaySns = 0;  // delayed triggering, seconds
    uint8_t delaySet = 0;  // delayed arming, seconds
    uint8_t autoSet = 0;
    uint8_t zoneNumber = 0;  // 0: slot not used, nothing is written for it
    bool operator==(const ZoneSlot &) const = default;
};

// The 12-byte parameter block of a card, password or section command.
using KeyRow = std::array<uint8_t, 12>;

class ConfigImage {
public:
    static constexpr int kZoneSlots = 200;
    static constexpr int kUsers = 256;
    static constexpr int kSections = 256;
    static constexpr int kQuarters = 4;

    ConfigImage() { reset(); }

    void reset();

    // Resets the image and fills it from the records; true when there was at least one.
    bool loadRecords(const RecordBuffer &buffer);

    // Block list entry 1 is the first block in the poll order.
    std::vector<BlcRecord> blocks;
    int32_t zoneCount = 0;
    // Slot s (1..200) is zones[s - 1].
    std::array<ZoneSlot, kZoneSlots> zones;
    // Row = user number.
    std::array<KeyRow, kUsers> cards;
    std::array<KeyRow, kUsers> passwords;
    // Row = section number; quarter q covers zone numbers 64q+1 .. 64q+64 in bytes 2..9.
    std::array<std::array<KeyRow, kQuarters>, kSections> sections;

    bool operator==(const ConfigImage &) const = default;

private:
    void loadRecord(const ConfigRecord &record);
};

// Where zone number n (1..256) lies in a section row: quarter, mask byte (2..9 of the row) and bit.
struct SectionBit {
    int quarter;
    int maskByte;  // 0..7 within the eight mask bytes
    uint8_t bit;
};
SectionBit sectionBitOf(int zoneNumber);

}  // namespace zaltor
