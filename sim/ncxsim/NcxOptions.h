#pragma once
// The command line of ncx-sim.
#include <string>
#include <vector>

#include "sim/ncx/NcxController.h"
#include "sim/serve/ServeOptions.h"

namespace sim {

struct NcxOptions : ServeOptions {
    NcxSettings controller;
};

Parsed<NcxOptions> parseNcxOptions(const std::vector<std::string> &args);
const char *ncxUsage();

}  // namespace sim
