#include "sim/units/CommandSets.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {
constexpr std::array<uint8_t, 24> kAcknowledged{5,  6,  8,  11, 12, 15, 16, 17, 20, 22, 23, 29,
                                                31, 32, 33, 34, 41, 44, 46, 49, 51, 52, 54, 57};
constexpr std::array<uint8_t, 10> kUnacknowledged{3, 9, 10, 13, 14, 19, 21, 25, 27, 30};

bool contains(const auto &set, uint8_t code) { return std::find(set.begin(), set.end(), code) != set.end(); }
}  // namespace

bool isAcknowledged(uint8_t code) { return contains(kAcknowledged, code); }

bool isKnownUnitCommand(uint8_t code) { return isAcknowledged(code) || contains(kUnacknowledged, code); }

}  // namespace sim
