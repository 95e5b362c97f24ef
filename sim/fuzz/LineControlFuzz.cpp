// Arbitrary control lines against the units of units-sim and the controller of lcb-sim; none
// of their commands touches a file.
#include <cstdint>
#include <string>

#include "sim/fuzz/ControlLines.h"
#include "sim/lcb/ControllerControl.h"
#include "sim/units/UnitControl.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace sim;
    const CivilTime at{2026, 3, 5, 9, 4, 0};
    UnitLine line;
    line.add(0);
    line.add(250);
    NetState net;
    UnitControl units(line, net, ControlHooks{}, [&] { return at; });
    LineController controller(ControllerSettings{}, 0);
    controller.addUnit(3);
    ControllerControl lcb(controller, ControlHooks{}, [&] { return at; });

    fuzz::forEachLine(data, size, [&](const std::string &command) {
        units.execute(command);
        lcb.execute(command);
    });
    // What the commands left behind must still drive the models.
    line.receive(makeFrame(0, 2), 0);
    controller.receive(makeFrame(3, 8), 0);
    controller.due(100000);
    return 0;
}
