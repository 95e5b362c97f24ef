#include "zaltor/config/ImageDiff.h"

#include <cstdio>

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
    static std::string Text(const std::string &text) { return "\"" + text + "\""; }
    static std::string Text(const KeyRow &row) {
        std::string text;
        for (uint8_t byte : row) text += (text.empty() ? "" : " ") + Text(byte);
        return text;
    }

    std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> describeDifferences(const ConfigImage &database, const ConfigImage &panel) {
    Differences d;
    d.Compare("blocks", "", static_cast<int32_t>(database.blocks.size()), static_cast<int32_t>(panel.blocks.size()));
    for (size_t i = 0; i < database.blocks.size() && i < panel.blocks.size(); ++i) {
        const std::string block = "block " + std::to_string(i + 1);
        d.Compare(block, "number", database.blocks[i].p03Number, panel.blocks[i].p03Number);
        d.Compare(block, "address", database.blocks[i].address, panel.blocks[i].address);
        d.Compare(block, "type", database.blocks[i].typeName, panel.blocks[i].typeName);
    }
    d.Compare("zone count", "", database.zoneCount, panel.zoneCount);
    for (int s = 0; s < ConfigImage::kZoneSlots; ++s) {
        const ZoneSlot &a = database.zones[static_cast<size_t>(s)];
        const ZoneSlot &b = panel.zones[static_cast<size_t>(s)];
        const std::string slot = "zone slot " + std::to_string(s + 1);
        d.Compare(slot, "kind", a.kind, b.kind);
        d.Compare(slot, "zone", int32_t{a.zoneNumber}, int32_t{b.zoneNumber});
        d.Compare(slot, "number in block", int32_t{a.numberInBlock}, int32_t{b.numberInBlock});
        d.Compare(slot, "grd", a.grd, b.grd);
        d.Compare(slot, "inv", a.inv, b.inv);
        d.Compare(slot, "short control", a.shContr, b.shContr);
        d.Compare(slot, "delay to trigger", int32_t{a.delaySns}, int32_t{b.delaySns});
        d.Compare(slot, "delay to arm", int32_t{a.delaySet}, int32_t{b.delaySet});
        d.Compare(slot, "auto arm", a.autoSet, b.autoSet);
    }
    for (size_t u = 0; u < ConfigImage::kUsers; ++u) {
        const std::string user = "user " + std::to_string(u);
        d.Compare(user, "card", database.cards[u], panel.cards[u]);
        d.Compare(user, "password", database.passwords[u], panel.passwords[u]);
    }
    for (size_t n = 0; n < ConfigImage::kSections; ++n) {
        for (size_t q = 0; q < ConfigImage::kQuarters; ++q) {
            d.Compare("section " + std::to_string(n) + " quarter " + std::to_string(q + 1), "", database.sections[n][q],
                      panel.sections[n][q]);
        }
    }
    return std::move(d).Lines();
}

}  // namespace zaltor
