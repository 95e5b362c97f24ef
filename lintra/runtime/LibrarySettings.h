#pragma once
// The library-wide settings of the four keys under "Software\Tessel\Lintra", with their
// built-in defaults. Each reader fills its part from one opened key; missing values and
// values that are not integers keep their defaults and nothing is written back.
#include <array>
#include <cstdint>
#include <string_view>

#include "lintra/runtime/CommonProc.h"

namespace tessel {
class RegKey;
}

namespace lintra {

inline constexpr std::string_view kPortServerKey = "Software\\Tessel\\Lintra\\PortServer";
inline constexpr std::string_view kLineLoggingKey = "Software\\Tessel\\Lintra\\Logging";
inline constexpr std::string_view kSpeedsKey = "Software\\Tessel\\Lintra\\Speeds";
inline constexpr std::string_view kPolicyKey = "Software\\Tessel\\Lintra\\Policy";

constexpr uint8_t kDefaultSpeedMode = 1;

struct LibrarySettings {
    int cycleCount = 1;
    std::array<int, kLineCount> lineLevel{};  // as stored, 4096 not yet taken off
    bool useAutoSpeed = false;
    std::array<uint8_t, kLineCount> speedMode = [] {
        std::array<uint8_t, kLineCount> modes{};
        modes.fill(kDefaultSpeedMode);
        return modes;
    }();
    PolicySettings policy;
};

// A stored level of 4096 or more has 4096 taken off.
constexpr int EffectiveLevel(int stored) { return stored >= 4096 ? stored - 4096 : stored; }

void ReadPortServer(const tessel::RegKey &key, LibrarySettings &settings);
void ReadLineLevels(const tessel::RegKey &key, LibrarySettings &settings);
void ReadSpeeds(const tessel::RegKey &key, LibrarySettings &settings);
void ReadPolicy(const tessel::RegKey &key, LibrarySettings &settings);

}  // namespace lintra
