#pragma once
// The common life of every simulator program: stop signals held for the loop, the wire log,
// the line and the control socket opened, the ready line printed, the loop run until stopped.
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "sim/panel/ControlCommands.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/ServeOptions.h"
#include "sim/serve/SimServer.h"

namespace sim {

// Prints "PROGRAM: WHY" on standard error; the exit status 1.
int failStart(const char *program, const std::string &why);

// The exit status when the program ends before serving: a refused command line (with the
// usage on standard error) or --help (the usage on standard output); nullopt to go on.
template <class T>
std::optional<int> endBeforeServing(const char *program, const Parsed<T> &parsed, const char *usage) {
    if (!parsed.options) return failStart(program, parsed.error + "\n" + usage);
    if (!parsed.options->help) return std::nullopt;
    std::fputs(usage, stdout);
    return 0;
}

// Control hooks that reach the running server.
ControlHooks hooksOf(SimServer &server);

// Serves the line of `o` until SIGTERM, SIGINT or quit; `what` describes the simulated
// equipment in the log. The exit status.
int runSimulator(const char *program, const ServeOptions &o, const std::string &what,
                 const std::function<std::unique_ptr<LineResponder>(SimServer &)> &makeResponder);

}  // namespace sim
