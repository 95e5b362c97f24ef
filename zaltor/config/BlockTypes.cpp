#include "zaltor/config/BlockTypes.h"

#include <array>

namespace zaltor {
namespace {

struct BlockType {
    std::string_view dbName;
    std::string_view fileName;
    uint8_t code;
    int zones;
};

constexpr std::array<BlockType, kBlockTypeCount> kTypes{{
    {"M31", "M31", 0x42, 2},
    {"M32", "M32", 0x34, 4},
    {"M33", "M33", 0x52, 2},
    {"M34", "M34", 0x72, 2},
    {"M39", "M39", 0x34, 4},
    {"M35", "M38", 0xA0, 0},
    {"M36", "M31/8", 0x48, 8},
    {"M37", "M32/8", 0x38, 8},
}};

const BlockType *typeAt(int index) {
    return index >= 1 && index <= kBlockTypeCount ? &kTypes[index - 1] : nullptr;
}

template <typename Pred>
int firstIndex(Pred pred) {
    for (int i = 1; i <= kBlockTypeCount; ++i)
        if (pred(kTypes[i - 1])) return i;
    return 0;
}

}  // namespace

int blockTypeByDbName(std::string_view name) {
    return firstIndex([&](const BlockType &t) { return t.dbName == name; });
}

int blockTypeByFileName(std::string_view name) {
    return firstIndex([&](const BlockType &t) { return t.fileName == name; });
}

int blockTypeByCode(uint8_t code) {
    return firstIndex([&](const BlockType &t) { return t.code == code; });
}

std::string blockTypeDbName(int index) {
    const BlockType *t = typeAt(index);
    return t ? std::string(t->dbName) : std::string();
}

std::string blockTypeFileName(int index) {
    const BlockType *t = typeAt(index);
    return t ? std::string(t->fileName) : std::string();
}

std::optional<uint8_t> blockTypeCode(int index) {
    const BlockType *t = typeAt(index);
    return t ? std::optional<uint8_t>(t->code) : std::nullopt;
}

int blockTypeZones(int index) {
    const BlockType *t = typeAt(index);
    return t ? t->zones : 0;
}

}  // namespace zaltor
