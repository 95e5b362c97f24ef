#pragma once
// The command line of m50-sim.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/panel/MessageStore.h"
#include "sim/serve/ServeOptions.h"

namespace sim {

struct PanelSpec {
    uint8_t address;
    AnswerFormat format;
};

struct Options : ServeOptions {
    std::vector<PanelSpec> panels;
    std::string statePath;
    size_t ring = MessageStore::kDefaultCapacity;
};

using ParsedOptions = Parsed<Options>;
ParsedOptions parseOptions(const std::vector<std::string> &args);
const char *usageText();

}  // namespace sim
