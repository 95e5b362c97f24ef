#pragma once
// The command line of lcb-sim.
#include <optional>
#include <string>
#include <vector>

#include "sim/lcb/LineController.h"
#include "sim/serve/ServeOptions.h"

namespace sim {

struct LcbOptions : ServeOptions {
    std::vector<uint8_t> units;
    ControllerSettings controller;
    bool polling = false;
};

Parsed<LcbOptions> parseLcbOptions(const std::vector<std::string> &args);
const std::string &lcbUsage();

}  // namespace sim
