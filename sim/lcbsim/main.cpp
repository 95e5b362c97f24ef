// lcb-sim: a simulated line controller with its units on a pseudo-terminal, a tty device or
// loopback TCP.
#include <algorithm>

#include "sim/lcb/ControllerResponder.h"
#include "sim/lcbsim/LcbOptions.h"
#include "sim/serve/SimMain.h"

int main(int argc, char **argv) {
    using namespace sim;
    constexpr const char *kProgram = "lcb-sim";
    auto parsed = parseLcbOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (auto status = endBeforeServing(kProgram, parsed, lcbUsage().c_str())) return *status;
    const LcbOptions &o = *parsed.options;
    LineController controller(o.controller, SimServer::nowMs());
    std::string units = "controller with units";
    for (uint8_t u : o.units)
        if (controller.addUnit(u)) units += " " + std::to_string(u);
    if (o.polling) {
        for (uint8_t u : o.units) controller.setMaskBit(u);
        controller.setUnitCount(static_cast<uint8_t>(*std::max_element(o.units.begin(), o.units.end()) + 1));
        controller.setPolling(true);
    }
    return runSimulator(kProgram, o, units, [&controller](SimServer &server) {
        return std::make_unique<ControllerResponder>(controller, hooksOf(server));
    });
}
