#pragma once
// The command-line options every simulator shares: where its line lives, its control socket,
// its wire log, pacing and padding of what it sends. Each program parses its own options and
// hands the rest to takeServeOption.
#include <optional>
#include <string>
#include <vector>

#include "sim/serve/LineTransport.h"

namespace sim {

struct ServeOptions : LineOptions {
    std::string controlPath, logPath;
    bool pace = false;
    unsigned pad = 0;
    bool help = false;
    int transportsGiven = 0;
};

// Takes args[i] (and its value, advancing i) when it is a shared option. nullopt when args[i] is
// not one; otherwise "" when taken or the reason it was refused.
std::optional<std::string> takeServeOption(const std::vector<std::string> &args, size_t &i, ServeOptions &o);
// The reason the shared options do not go together, or "".
std::string checkServeOptions(const ServeOptions &o);

}  // namespace sim
