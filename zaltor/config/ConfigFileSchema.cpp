#include "zaltor/config/ConfigFileSchema.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace zaltor {
namespace {

constexpr std::array<std::string_view, 14> kTags{
    "<Block_Req>", "</Block_Req>", "<LastZone>", "</LastZone>", "<ZoneInfo>",
    "</ZoneInfo>", "<CardInfo>", "</CardInfo>", "<Part_Consist>", "</Part_Consist>",
    "<Main>", "</Main>", "<ZoneDelays>", "</ZoneDelays>",
};

constexpr std::array<std::string_view, 16> kAttrs{
    "Num", "Addr", "cType", "LastZoneNum", "ZoneNumber", "Grd", "Inv", "ShContr",
    "DelaySns", "DelaySet", "AutoSet", "Pass", "CardNum", "Code", "Part", "Cont",
};

template <size_t N>
int positionOf(const std::array<std::string_view, N> &table, std::string_view text) {
    const auto it = std::find(table.begin(), table.end(), text);
    return it == table.end() ? 0 : static_cast<int>(it - table.begin()) + 1;
}

template <size_t N>
std::string_view entryAt(const std::array<std::string_view, N> &table, int position) {
    return position >= 1 && position <= static_cast<int>(N) ? table[position - 1] : std::string_view();
}

bool oneOf(FileAttr attr, std::initializer_list<FileAttr> set) {
    return std::find(set.begin(), set.end(), attr) != set.end();
}

}  // namespace

FileTag fileTagOf(std::string_view tagText) { return static_cast<FileTag>(positionOf(kTags, tagText)); }
std::string_view fileTagText(FileTag tag) { return entryAt(kTags, tag); }
FileAttr fileAttrOf(std::string_view name) { return static_cast<FileAttr>(positionOf(kAttrs, name)); }
std::string_view fileAttrName(FileAttr attr) { return entryAt(kAttrs, attr); }

bool acceptsAttribute(FileTag tag, FileAttr attr) {
    switch (tag) {
    case kBlockReqTag: return oneOf(attr, {kNum, kAddr, kCType});
    case kLastZoneTag: return attr == kLastZoneNum;
    case kZoneInfoTag:
        return oneOf(attr, {kZoneNumber, kGrd, kInv, kShContr, kDelaySns, kDelaySet, kAutoSet});
    case kCardInfoTag: return oneOf(attr, {kPass, kCardNum, kCode});
    case kPartConsistTag: return oneOf(attr, {kPart, kCont});
    case kZoneDelaysTag: return oneOf(attr, {kZoneNumber, kDelaySns, kDelaySet});
    default: return false;
    }
}

}  // namespace zaltor
