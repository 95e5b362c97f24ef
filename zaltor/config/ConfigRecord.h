#pragma once
// The two fixed layouts a configuration travels in: the 24-byte command record (a panel reply
// as the library hands it over, or an element of the configuration file turned into one) and
// the 18-byte configuration record stored in a record buffer.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace zaltor {

static_assert(std::endian::native == std::endian::little, "records are little-endian on the wire");

#pragma pack(push, 1)
struct CommandRecord {
    uint16_t line = 0;
    uint16_t address = 0;
    uint16_t code = 0;
    uint8_t month = 0, day = 0, hour = 0, minute = 0;
    uint16_t dataCount = 0;
    uint8_t data[10] = {};
    uint8_t spare[2] = {};
};

struct ConfigRecord {
    uint16_t code = 0;
    uint8_t data[16] = {};
};
#pragma pack(pop)

static_assert(sizeof(CommandRecord) == 24);
static_assert(offsetof(CommandRecord, code) == 4);
static_assert(offsetof(CommandRecord, dataCount) == 10);
static_assert(offsetof(CommandRecord, data) == 12);
static_assert(sizeof(ConfigRecord) == 18);
static_assert(offsetof(ConfigRecord, data) == 2);

// Record codes (the panel's reply codes).
enum RecordCode : uint16_t {
    kKeyRecord = 5,
    kZoneRecord = 85,
    kSectionRecord = 86,
    kBlockRecord = 89,
    kZoneCountRecord = 90,
    kZoneDelayRecord = 95,
};

// The code and the first dataCount data bytes; a count beyond the command record's ten data
// bytes takes only those ten, so a bad count never reads past the record.
ConfigRecord toConfigRecord(const CommandRecord &command);

}  // namespace zaltor
