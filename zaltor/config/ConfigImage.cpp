#include "zaltor/config/ConfigImage.h"

#include "zaltor/config/BlockTypes.h"

#include <algorithm>

namespace zaltor {

SectionBit sectionBitOf(int zoneNumber) {
    const int n = zoneNumber - 1;
    return {n / 64, (n % 64) / 8, static_cast<uint8_t>(0x80 >> (n % 8))};
}

void ConfigImage::reset() {
    blocks.clear();
    zoneCount = 0;
    zones.fill(ZoneSlot{});
    KeyRow card{};
    card[0] = 1;
    cards.fill(card);
    KeyRow password;
    password.fill(0xFF);
    password[0] = 0;
    passwords.fill(password);
    for (auto &row : sections) row.fill(KeyRow{});
}

bool ConfigImage::loadRecords(const RecordBuffer &buffer) {
    reset();
    for (const ConfigRecord &record : buffer.records()) loadRecord(record);
    return !buffer.records().empty();
}

void ConfigImage::loadRecord(const ConfigRecord &record) {
    const uint8_t *d = record.data;
    switch (record.code) {
    case kBlockRecord: {
        const int n = d[0];
        if (n == 0) break;
        if (blocks.size() < static_cast<size_t>(n)) blocks.resize(n);
        BlcRecord &block = blocks[n - 1];
        block.p03Number = n;
        block.address = d[1] * 256 + d[2];
        block.typeName = blockTypeDbName(blockTypeByCode(d[3]));
        break;
    }
    case kZoneCountRecord:
        zoneCount = d[0];
        break;
    case kZoneRecord: {
        const int z = d[0];
        if (z < 1 || z > kZoneSlots) break;
        ZoneSlot &slot = zones[z - 1];
        slot = ZoneSlot{};
        slot.grd = d[1] & 1;
        slot.inv = (d[1] >> 1) & 1;
        slot.shContr = (d[1] >> 2) & 1;
        slot.autoSet = (d[1] >> 5) & 1;
        slot.zoneNumber = static_cast<uint8_t>(z);
        break;
    }
    case kZoneDelayRecord: {
        const int z = d[1];
        if (z < 1 || z > kZoneSlots) break;
        if (d[0] == 0) zones[z - 1].delaySet = d[2];
        if (d[0] == 1) zones[z - 1].delaySns = d[2];
        break;
    }
    case kKeyRecord: {
        const uint8_t u = d[5];
        if (d[0] == 0) {
            KeyRow &row = passwords[u];
            row[0] = 0;
            row[1] = u;
            row[2] = d[1];
            row[3] = d[2];
        } else if (d[0] == 1) {
            KeyRow &row = cards[u];
            row[0] = 1;
            row[1] = u;
            std::copy(d + 1, d + 5, row.begin() + 2);
        }
        break;
    }
    case kSectionRecord: {
        const uint8_t q = d[1];
        if (q >= kQuarters) break;
        std::copy(d + 2, d + 10, sections[d[0]][q].begin() + 2);
        break;
    }
    default:
        break;
    }
}

}  // namespace zaltor
