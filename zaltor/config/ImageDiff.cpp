#include "zaltor/config/ImageDiff.h"

#include <cstdio>

#include "zaltor/config/BlockTypes.h"

namespace zaltor {
namespace {

class Differences {
public:
    // "place: field DB in the database, PANEL in the panel"; a place alone when field is empty.
    template <typename Value>
    void Compare(const std::string &place, const std::string &field, const Value &database, const Value &panel) {
        if (database == panel) return;
        lines_.push_back(place + ": " + (field.empty() ? "" : field + " ") + Text(database) + " in the database, " +
                         Text(panel) + " in the panel");
    }
    std::vector<std::string> Lines() && { return std::move(lines_); }

private:
    static std::string Text(uint8_t byte) {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", byte);
        return text;
    }
    static std::string Text(int32_t number) { return std::to_string(number); }
    static std::string Text(const std::vector<uint8_t> &bytes) {
        std::string text;
        for (uint8_t byte : bytes) text += (text.empty() ? "" : " ") + Text(byte);
        return text;
    }

    std::vector<std::string> lines_;
};

// The type code the panel keeps for a block; names that share a code (M39 and M32) are the same
// block to the panel.
int32_t TypeCode(const std::string &name) {
    int index = blockTypeByDbName(name);
    if (index == 0) index = blockTypeByFileName(name);
    return blockTypeCode(index).value_or(0);
}

// What a key or section command takes to the panel of a row: its bytes 0 and 1 are replaced by
// the command's own (kind, user or section, quarter) and only `sent` bytes go.
std::vector<uint8_t> Sent(const KeyRow &row, size_t sent) { return {row.begin() + 2, row.begin() + sent}; }

// The write fills the poll slots after the last block with an empty marker at address FFFF,
// where no block answers; they read back as blocks but are none.
size_t BlocksKept(const std::vector<BlcRecord> &slots) {
    constexpr int32_t kEmptySlotAddress = 0xFFFF;
    size_t n = slots.size();
    while (n > 0 && slots[n - 1].address == kEmptySlotAddress) --n;
    return n;
}

constexpr size_t kKeyBytesSent = 6;
constexpr size_t kSectionBytesSent = 10;

}  // namespace

std::vector<std::string> describeDifferences(const ConfigImage &database, const ConfigImage &panel) {
    Differences d;
    const size_t panelBlocks = BlocksKept(panel.blocks);
    d.Compare("blocks", "", static_cast<int32_t>(database.blocks.size()), static_cast<int32_t>(panelBlocks));
    for (size_t i = 0; i < database.blocks.size() && i < panelBlocks; ++i) {
        const std::string block = "block " + std::to_string(i + 1);
        d.Compare(block, "address", database.blocks[i].address, panel.blocks[i].address);
        d.Compare(block, "type code", TypeCode(database.blocks[i].typeName), TypeCode(panel.blocks[i].typeName));
    }
    d.Compare("zone count", "", database.zoneCount, panel.zoneCount);
    for (int s = 0; s < ConfigImage::kZoneSlots; ++s) {
        const ZoneSlot &a = database.zones[static_cast<size_t>(s)];
        const ZoneSlot &b = panel.zones[static_cast<size_t>(s)];
        const std::string slot = "zone slot " + std::to_string(s + 1);
        // The slot's kind and number in its block are the build's bookkeeping: the panel keeps
        // neither.
        d.Compare(slot, "zone", int32_t{a.zoneNumber}, int32_t{b.zoneNumber});
        d.Compare(slot, "grd", a.grd, b.grd);
        d.Compare(slot, "inv", a.inv, b.inv);
        d.Compare(slot, "short control", a.shContr, b.shContr);
        d.Compare(slot, "delay to trigger", int32_t{a.delaySns}, int32_t{b.delaySns});
        d.Compare(slot, "delay to arm", int32_t{a.delaySet}, int32_t{b.delaySet});
        d.Compare(slot, "auto arm", a.autoSet, b.autoSet);
    }
    for (size_t u = 0; u < ConfigImage::kUsers; ++u) {
        const std::string user = "user " + std::to_string(u);
        d.Compare(user, "card", Sent(database.cards[u], kKeyBytesSent), Sent(panel.cards[u], kKeyBytesSent));
        d.Compare(user, "password", Sent(database.passwords[u], kKeyBytesSent), Sent(panel.passwords[u], kKeyBytesSent));
    }
    for (size_t n = 0; n < ConfigImage::kSections; ++n) {
        for (size_t q = 0; q < ConfigImage::kQuarters; ++q) {
            d.Compare("section " + std::to_string(n) + " quarter " + std::to_string(q + 1), "",
                      Sent(database.sections[n][q], kSectionBytesSent), Sent(panel.sections[n][q], kSectionBytesSent));
        }
    }
    return std::move(d).Lines();
}

}  // namespace zaltor
