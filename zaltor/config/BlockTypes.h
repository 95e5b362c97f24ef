#pragma once
// The eight addressable block types of the panel. The type index (1..8) is a position in this
// table; 0 means "not recognised" and has no type code. The site database and the
// configuration file name two of the types differently.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zaltor {

constexpr int kBlockTypeCount = 8;
constexpr int kControlBlockType = 3;  // M33: its zones are control channels
constexpr int kP03BlockType = 5;      // M39: gets a "P03" entry of its own

// Names are compared exactly (case and letters as stored).
int blockTypeByDbName(std::string_view name);
int blockTypeByFileName(std::string_view name);

// Empty for an index outside 1..8.
std::string blockTypeDbName(int index);
std::string blockTypeFileName(int index);
std::optional<uint8_t> blockTypeCode(int index);
int blockTypeZones(int index);  // 0 outside 1..8

// Reverse mapping of a panel's type code; 0 for a code of no type. The code of M39 is shared
// with M32 and answers M32.
int blockTypeByCode(uint8_t code);

}  // namespace zaltor
