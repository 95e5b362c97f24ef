#pragma once
// The command line of units-sim.
#include <optional>
#include <string>
#include <vector>

#include "sim/serve/ServeOptions.h"

namespace sim {

struct UnitsOptions : ServeOptions {
    std::vector<uint8_t> units;
    std::optional<std::string> expectedGreeting;
};

Parsed<UnitsOptions> parseUnitsOptions(const std::vector<std::string> &args);
const std::string &unitsUsage();

}  // namespace sim
