#pragma once
// The common life of every simulator program: stop signals held for the loop, the wire log,
// the line and the control socket opened, the ready line printed, the loop run until stopped.
#include <functional>
#include <memory>
#include <string>

#include "sim/panel/ControlCommands.h"
#include "sim/serve/LineResponder.h"
#include "sim/serve/ServeOptions.h"
#include "sim/serve/SimServer.h"

namespace sim {

// Prints "PROGRAM: WHY" on standard error; the exit status 1.
int failStart(const char *program, const std::string &why);

// Control hooks that reach the running server.
ControlHooks hooksOf(SimServer &server);

// Serves the line of `o` until SIGTERM, SIGINT or quit; `what` describes the simulated
// equipment in the log. The exit status.
int runSimulator(const char *program, const ServeOptions &o, const std::string &what,
                 const std::function<std::unique_ptr<LineResponder>(SimServer &)> &makeResponder);

}  // namespace sim
