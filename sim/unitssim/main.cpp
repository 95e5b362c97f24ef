// units-sim: simulated units of an intelligent line-controller line on a pseudo-terminal, a
// tty device or loopback TCP.

#include "sim/serve/SimMain.h"
#include "sim/units/UnitsResponder.h"
#include "sim/unitssim/UnitsOptions.h"

int main(int argc, char **argv) {
    using namespace sim;
    constexpr const char *kProgram = "units-sim";
    auto parsed = parseUnitsOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (auto status = endBeforeServing(kProgram, parsed, unitsUsage().c_str())) return *status;
    const UnitsOptions &o = *parsed.options;
    UnitLine line;
    std::string units = "units";
    for (uint8_t u : o.units)
        if (line.add(u)) units += " " + std::to_string(u);
    NetState net;
    net.expectedGreeting = o.expectedGreeting;
    bool tcp = o.transport == LineOptions::Transport::Tcp;
    return runSimulator(kProgram, o, units, [&](SimServer &server) {
        return std::make_unique<UnitsResponder>(line, net, tcp, hooksOf(server));
    });
}
