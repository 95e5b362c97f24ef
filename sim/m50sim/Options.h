#pragma once
// The command line of m50-sim.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/panel/MessageStore.h"

namespace sim {

struct PanelSpec {
    uint8_t address;
    AnswerFormat format;
};

struct Options {
    enum class Transport { Pty, Device, Tcp };
    Transport transport = Transport::Pty;
    std::string link;    // --link: symlink to the pty slave
    std::string device;  // --device
    uint16_t tcpPort = 0;
    std::vector<PanelSpec> panels;
    std::string statePath, controlPath, logPath;
    bool pace = false;
    int mode = 0;  // speed mode of a device or TCP line
    unsigned pad = 0;
    size_t ring = MessageStore::kDefaultCapacity;
    bool help = false;
};

// The options, or the reason the command line was refused.
struct ParsedOptions {
    std::optional<Options> options;
    std::string error;
};
ParsedOptions parseOptions(const std::vector<std::string> &args);
const char *usageText();

}  // namespace sim
