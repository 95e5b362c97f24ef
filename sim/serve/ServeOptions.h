#pragma once
// The command-line options every simulator shares: where its line lives, its control socket,
// its wire log, pacing and padding of what it sends. Each program parses its own options and
// hands the rest to takeServeOption.
#include <functional>
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

// A program's options, or the reason its command line was refused.
template <class T>
struct Parsed {
    std::optional<T> options;
    std::string error;
};

// The value of the option being parsed: the next argument, taken, or nullptr when there is none.
using NextValue = std::function<const std::string *()>;
// A program's own option: "" when taken, the reason when refused, nullopt when it is none of its.
using OwnOption = std::function<std::optional<std::string>(const std::string &option, const NextValue &value)>;

// Parses every argument, the shared options into `o` and the others through `own`; the reason
// the command line was refused, or "".
std::string parseServeArgs(const std::vector<std::string> &args, ServeOptions &o, const OwnOption &own);

}  // namespace sim
